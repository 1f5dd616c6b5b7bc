// The resource list by keyboard and context menu: Enter and F2 ask for the
// edit dialog of the resources that have one, Home and End, the row menu
// (Menu key, right button) with its commands and keys, Space playing and
// stopping the row's sound, and a double-click anywhere on a name cell.
#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "bank_test_support.h"
#include "editor/core/export_all.h"
#include "editor/widgets/calyx_doc.h"
#include "editor/widgets/calyx_view.h"
#include "editor/widgets/child_frame.h"
#include "editor/widgets/document_manager.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/preview_feed.h"
#include "editor/widgets/preview_pane.h"
#include "editor/widgets/resource_edit_dlg.h"
#include "editor/widgets/resource_list_ctrl.h"
#include "editor/widgets/resource_list_model.h"
#include "fixtures/list_bank.h"
#include "list_window.h"
#include "widget_test_support.h"

namespace calyx::editor {

class ListKeyboardTest : public QObject {
    Q_OBJECT
    fixtures::TempDir dir_;
    test::ListWindow window_;
    QList<std::size_t> edited_;

    CResourceListCtrl& list() { return window_.view->list(); }
    std::size_t currentResource() { return list().currentResource().value_or(99); }
    void goToResource(std::size_t resource) {
        list().setCurrentIndex(window_.view->model().index(window_.view->model().rowOfResource(resource), 0));
    }
    void pressMenuKey() {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        QApplication::sendEvent(&list(), &event);
    }
    QStringList menuTexts() {
        QStringList texts;
        for (QAction* action : list().rowMenu()->actions())
            texts << action->text() + "|" + action->shortcut().toString() + "|" + (action->isEnabled() ? "on" : "off");
        return texts;
    }

private slots:
    void init() {
        QVERIFY(window_.open(dir_));
        edited_.clear();
        connect(window_.view.get(), &CCalyxView::editRequested, this, [this](std::size_t r) { edited_ << r; });
        list().setFocus();
    }
    void cleanup() { window_.close(); }

    void enterAndF2OpenTheDialogOfResourcesThatHaveOne() {
        goToResource(4);
        QTest::keyClick(&list(), Qt::Key_Return);
        QTest::keyClick(&list(), Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(&list(), Qt::Key_F2);
        // A sample that names no file, and a CD track: no dialog.
        goToResource(1);
        QTest::keyClick(&list(), Qt::Key_Return);
        goToResource(3);
        QTest::keyClick(&list(), Qt::Key_F2);
        QCOMPARE(edited_, (QList<std::size_t>{4, 4, 4}));
    }

    void homeAndEndGoToTheFirstAndLastRowAsSorted() {
        window_.view->model().sortByColumn(0);  // Alpha, ALPHA, beta, zeta, then the nameless slot
        goToResource(3);
        QTest::keyClick(&list(), Qt::Key_End);
        QCOMPARE(list().currentIndex().row(), 4);
        QTest::keyClick(&list(), Qt::Key_Home);
        QCOMPARE(list().currentIndex().row(), 0);
        QCOMPARE(currentResource(), window_.view->model().resourceAtRow(0));
        QVERIFY(list().selectionModel()->isRowSelected(0, {}));
    }

    void theRowMenuOffersTheCommandsWithTheirKeys() {
        goToResource(0);
        pressMenuKey();
        QTRY_VERIFY(list().rowMenu()->isVisible());
        // French without the game's texts; nothing to reset yet.
        QCOMPARE(menuTexts(), (QStringList{"&Modifier...|Return|on", "É&couter|Space|on",
                                           "E&xporter en WAV...|Ctrl+E|on", "&Revenir au son de la banque|Ctrl+R|off"}));
        list().rowMenu()->close();

        // A changed volume can be reset, by the menu or by its key.
        window_.doc->bank().resourceAt(0)->setVolume(5);
        QVERIFY(list().rowAction(RowCommand::ResetToBank)->isEnabled());
        QTest::keyClick(&list(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(window_.doc->bank().resourceAt(0)->volume(), 90);
        QCOMPARE(window_.view->model().index(window_.view->model().rowOfResource(0), 1).data().toString(), QString("90"));
        QVERIFY(!list().rowAction(RowCommand::ResetToBank)->isEnabled());
        // One step of the document's history, as the dialog's Reset and OK are.
        QVERIFY(window_.doc->document().undo());
        QCOMPARE(window_.doc->bank().resourceAt(0)->volume(), 5);
        QVERIFY(list().rowAction(RowCommand::ResetToBank)->isEnabled());

        // A CD track has none of them.
        goToResource(3);
        pressMenuKey();
        QTRY_VERIFY(list().rowMenu()->isVisible());
        for (const QString& text : menuTexts()) QVERIFY2(text.endsWith("|off"), qPrintable(text));
        list().rowMenu()->close();
    }

    void theRightButtonMakesTheRowCurrentAndShowsItsMenu() {
        goToResource(0);
        const QRect cell = list().visualRect(window_.view->model().index(window_.view->model().rowOfResource(4), 3));
        QContextMenuEvent event(QContextMenuEvent::Mouse, cell.center(), list().viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(list().viewport(), &event);
        QCOMPARE(currentResource(), std::size_t{4});
        QTRY_VERIFY(list().rowMenu()->isVisible());
        list().rowMenu()->actions().front()->trigger();
        QCOMPARE(edited_, QList<std::size_t>{4});
    }

    void exportWritesTheFileExportAllWrites() {
        const std::string out = dir_ / "chosen.wav";
        const auto previous = CResourceEditDlg::setFileAsker([&out](QWidget*, WavFileQuestion question) {
            return question == WavFileQuestion::Export ? std::optional<QString>(QString::fromStdString(out))
                                                       : std::nullopt;
        });
        goToResource(4);
        QTest::keyClick(&list(), Qt::Key_E, Qt::ControlModifier);
        CResourceEditDlg::setFileAsker(previous);
        const std::string folder = dir_ / "all";
        std::filesystem::create_directory(folder);
        exportAllSamples(window_.doc->bank(), folder);
        QVERIFY(!fixtures::readBytes(out).empty());
        QCOMPARE(fixtures::readBytes(out),
                 fixtures::readBytes(folder + "/" + exportFileName(4, *window_.doc->bank().resourceAt(4))));
    }

    void aDoubleClickAnywhereOnTheNameCellOpensIt() {
        const QRect name = list().visualRect(window_.view->model().index(window_.view->model().rowOfResource(4), 0));
        QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, QPoint(name.right() - 3, name.center().y()));
        QCOMPARE(edited_, QList<std::size_t>{4});
    }

    void spacePlaysTheRowAndAgainStopsIt() {
        window_.close();
        auto log = std::make_shared<audio::DeviceLog>();
        CMainFrame frame(window_.strings, [log] { return std::make_unique<audio::RecordingWaveOut>(log); });
        QVERIFY(frame.Create());
        DocumentManager documents(frame, window_.strings, nullptr);
        auto* pane = new CPreviewPane(documents.links(), window_.strings, InterfaceLanguage::English, &frame);
        frame.setPreviewPane(pane);
        new PreviewFeed(frame, *pane, &frame);
        frame.show();
        QVERIFY(documents.openDocumentFile(QString::fromStdString(dir_ / "list.bnm")));
        QApplication::setActiveWindow(&frame);
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        CResourceListCtrl& list = documents.activeDocument()->view().list();
        list.setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), &list);
        list.setCurrentIndex(list.model()->index(4, 0));
        const auto count = [&log](audio::DeviceCall::Op op) {
            return std::count_if(log->calls.begin(), log->calls.end(), [op](const auto& c) { return c.op == op; });
        };
        QTest::keyClick(&list, Qt::Key_Space);
        QCOMPARE(count(audio::DeviceCall::Op::Write), 1);
        QVERIFY(pane->isPlaying());
        QTest::keyClick(&list, Qt::Key_Space);
        QVERIFY(!pane->isPlaying());
        QTest::keyClick(&list, Qt::Key_Space);
        QCOMPARE(count(audio::DeviceCall::Op::Write), 2);
        // The pane hidden, Space still plays.
        pane->hide();
        QTest::keyClick(&list, Qt::Key_Space);
        QTest::keyClick(&list, Qt::Key_Space);
        QCOMPARE(count(audio::DeviceCall::Op::Write), 3);
    }
};

}  // namespace calyx::editor

QTEST_MAIN(calyx::editor::ListKeyboardTest)
#include "list_keyboard_tests.moc"
