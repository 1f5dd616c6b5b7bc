// The resource list's test bank opened as the editor opens it, in a view
// shown on screen and active: what the list's widget tests work on.
#pragma once

#include <QList>
#include <QTest>
#include <memory>

#include "editor/core/game_strings.h"
#include "editor/core/link_table.h"
#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/calyx_view.h"
#include "editor/widgets/resource_list_model.h"
#include "fixtures/list_bank.h"
#include "fixtures/temp_dir.h"

namespace calyx::editor::test {

struct ListWindow {
    // Declared first: the document gives its links back when it goes.
    LinkTable links;
    GameStrings strings;
    std::unique_ptr<CCalyxDoc> doc;
    std::unique_ptr<CCalyxView> view;

    // Writes the list's bank in `dir` and opens it; false when it did not
    // open or show.
    bool open(const fixtures::TempDir& dir, InterfaceLanguage language = InterfaceLanguage::French) {
        close();
        doc = std::make_unique<CCalyxDoc>(links, strings);
        doc->setInterfaceLanguage(language);
        if (!doc->openDocument(QString::fromStdString(fixtures::writeListBank(dir)), {})) return false;
        view = std::make_unique<CCalyxView>(*doc, strings, audio::WaveDeviceLink{});
        view->resize(700, 300);
        view->show();
        QApplication::setActiveWindow(view.get());
        return QTest::qWaitForWindowExposed(view.get()) && QTest::qWaitForWindowActive(view.get());
    }
    void close() {
        view.reset();
        doc.reset();
    }
    // The resource of each row, top to bottom.
    QList<qulonglong> rows() const {
        QList<qulonglong> resources;
        for (int row = 0; row < view->model().rowCount(); ++row)
            resources << view->model().index(row, 0).data(ResourceListModel::resourceIndexRole).toULongLong();
        return resources;
    }
};

}  // namespace calyx::editor::test
