// A bank changed on disk by another program while it is open: Save asks
// before overwriting it (No keeps the document modified and the file as it
// is), and coming back to the editor offers to reload an unmodified one.
#include <QTest>
#include <filesystem>

#include "audio/wave_out_device.h"
#include "bank_test_support.h"
#include "editor/core/commands.h"
#include "editor/core/message_box.h"
#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/calyx_view.h"
#include "editor/widgets/child_frame.h"
#include "editor/widgets/command_registry.h"
#include "editor/widgets/document_manager.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/resource_list_model.h"
#include "editor_window_test.h"
#include "widget_test_support.h"

namespace calyx::editor {

class ChangedOnDiskTest : public test::EditorWindowTest {
    Q_OBJECT
    QStringList questions_;
    MessageResult answer_ = MessageResult::No;
    std::string path_;

    static fixtures::BankSpec bankOf(std::uint32_t samples) {
        fixtures::BankSpec spec;
        for (std::uint32_t id = 1; id <= samples; ++id)
            spec.resources.push_back(test::sample(id, fixtures::patternBytes(16 * id, 1), "S.WAV"));
        return spec;
    }
    // Another program writes the bank anew (with `samples` samples).
    void rewriteBehindTheEditor(std::uint32_t samples) {
        const auto before = std::filesystem::last_write_time(path_);
        test::writeBank(dir_, "watched.bnm", bankOf(samples));
        std::filesystem::last_write_time(path_, before + std::chrono::seconds(2));
    }
    CChildFrame& only() { return *manager_->documents().at(0); }

private slots:
    void init() {
        questions_.clear();
        setMessageBoxHook([this](const QString& text, unsigned, unsigned) {
            questions_ << text;
            return answer_;
        });
        createWindow();
        path_ = test::writeBank(dir_, "watched.bnm", bankOf(2));
        QVERIFY(manager_->openDocumentFile(QString::fromStdString(path_)));
        questions_.clear();
    }
    void cleanup() { destroyWindow(); }

    void saveAsksBeforeOverwritingAChangeOnDisk() {
        only().document().setModified(true);
        rewriteBehindTheEditor(3);
        const auto theirs = fixtures::readBytes(path_);

        answer_ = MessageResult::No;
        QVERIFY(!manager_->save(only()));
        QCOMPARE(questions_.size(), 1);
        QVERIFY2(questions_[0].startsWith("watched.bnm a été modifié sur le disque depuis son ouverture"),
                 qPrintable(questions_[0]));
        QVERIFY(only().document().isModified());
        QCOMPARE(fixtures::readBytes(path_), theirs);

        answer_ = MessageResult::Yes;
        QVERIFY(manager_->save(only()));
        QVERIFY(!only().document().isModified());
        QCOMPARE(test::openBankFile(path_)->resourceCount(), std::size_t{2});
        // Saved by the editor itself: the next save asks nothing.
        questions_.clear();
        only().document().setModified(true);
        QVERIFY(manager_->save(only()));
        QVERIFY(questions_.isEmpty());
    }

    void comingBackOffersToReloadAnUnmodifiedBank() {
        rewriteBehindTheEditor(3);
        answer_ = MessageResult::No;
        manager_->checkDisk();
        QCOMPARE(questions_, QStringList{"watched.bnm a été modifié sur le disque par un autre programme.\n\n"
                                         "Le recharger ?"});
        QCOMPARE(only().view().model().rowCount(), 2);
        manager_->checkDisk();  // asked once per change
        QCOMPARE(questions_.size(), 1);

        rewriteBehindTheEditor(4);
        answer_ = MessageResult::Yes;
        manager_->checkDisk();
        QCOMPARE(questions_.size(), 2);
        QCOMPARE(manager_->documents().size(), 1);
        QCOMPARE(only().view().model().rowCount(), 4);

        // A modified document is left alone: the user's changes come first.
        only().document().setModified(true);
        rewriteBehindTheEditor(1);
        manager_->checkDisk();
        QCOMPARE(questions_.size(), 2);
    }
};

}  // namespace calyx::editor

QTEST_MAIN(calyx::editor::ChangedOnDiskTest)
#include "changed_on_disk_tests.moc"
