// The main frame: menus by command id, the game's texts on them, prompts
// and tooltips, greyed commands, and the sound device at creation.
#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QKeySequence>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QFileInfo>

#include "audio/wave_out_device.h"
#include "editor/core/commands.h"
#include "editor/core/message_box.h"
#include "editor/core/newer_menu_items.h"
#include "editor/widgets/command_registry.h"
#include "editor/widgets/help.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/message_box.h"
#include "widget_test_support.h"

namespace calyx::editor {

namespace {

// Command ids of a pop-up's items, 0 for a separator.
QList<int> commandsOf(const QMenu* menu) {
    QList<int> ids;
    for (const QAction* action : menu->actions()) ids << (action->isSeparator() ? 0 : CommandRegistry::commandOf(action));
    return ids;
}

QStringList titlesOf(const CMainFrame& frame) {
    QStringList titles;
    for (const QMenu* menu : frame.menuPopups()) titles << menu->title();
    return titles;
}

// A frame whose sound device fails to open, messages caught.
struct Frame {
    QStringList messages;
    std::unique_ptr<CMainFrame> frame;

    explicit Frame(const GameStrings& strings) {
        setMessageBoxHook([this](const QString& text, unsigned style, unsigned) {
            if (style != message_style::exclamation) qWarning("unexpected style %u", style);
            messages << text;
            return MessageResult::Ok;
        });
        frame = std::make_unique<CMainFrame>(strings, [] { return std::unique_ptr<audio::WaveOutDevice>(); });
        if (!frame->Create()) qFatal("frame not created");
        setMessageBoxHook({});
    }
    CMainFrame* operator->() const { return frame.get(); }
    QAction* action(int id) const { return frame->commands().find(id); }
    void openDocumentWindow() const {
        QMdiSubWindow* window = frame->mdiArea()->addSubWindow(new QWidget);
        window->setWindowTitle(QStringLiteral("bank.bnm"));
        window->show();
        frame->mdiArea()->setActiveSubWindow(window);
    }
};

}  // namespace

class MainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void menusHoldEveryItemInFrench() {
        using namespace command;
        const GameStrings french;
        Frame f(french);
        QCOMPARE(f->shownMenu(), 128);
        QCOMPARE(titlesOf(*f.frame), (QStringList{"&Fichier", "&Affichage", "&?"}));
        const QList<QMenu*> popups = f->menuPopups();
        QCOMPARE(commandsOf(popups[0]),
                 (QList<int>{fileNew, fileOpen, 0, filePrintSetup, 0, recentFileFirst, 0, appExit}));
        // Items the game's texts do not know follow the ones they belong with.
        QCOMPARE(commandsOf(popups[1]), (QList<int>{viewToolbar, viewStatusBar, viewPreviewPane}));
        QCOMPARE(commandsOf(popups[2]), (QList<int>{helpTopics, 0, appAbout}));
        // The item's name, with the shortcut the menu draws at its right.
        QCOMPARE(f.action(fileOpen)->text(), QStringLiteral("&Ouvrir..."));
        QCOMPARE(f.action(fileOpen)->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
        QCOMPARE(f.action(fileOpen)->iconText(), QStringLiteral("Ouvrir"));
        // Toolbar buttons are named even when the menu shown lacks them.
        QCOMPARE(f.action(fileSave)->iconText(), QStringLiteral("Enregistrer"));
        QCOMPARE(f.action(contextHelp)->iconText(), QStringLiteral("Aide contextuelle"));
        // No recent file yet: the item stands greyed.
        QCOMPARE(f.action(recentFileFirst)->text(), QStringLiteral("Fichier récent"));
        QVERIFY(!f.action(recentFileFirst)->isEnabled());

        f.openDocumentWindow();
        QCOMPARE(f->shownMenu(), 129);
        QCOMPARE(titlesOf(*f.frame), (QStringList{"&Fichier", "&Edition", "&Affichage", "Fe&nêtre", "&?"}));
        const QList<QMenu*> documentPopups = f->menuPopups();
        QCOMPARE(commandsOf(documentPopups[0]),
                 (QList<int>{fileNew, fileOpen, fileClose, fileSave, fileSaveAs, fileExportAllSamples, fileImportFolder, 0,
                             filePrint,
                             filePrintPreview,
                             filePrintSetup, 0, recentFileFirst, 0, appExit}));
        QCOMPARE(commandsOf(documentPopups[1]), (QList<int>{editUndo, editRedo, 0, editCut, editCopy, editPaste}));
        QCOMPARE(commandsOf(documentPopups[3]), (QList<int>{windowCascade, windowTileHorizontally, windowArrange}));
        QCOMPARE(f.action(windowTileHorizontally)->text(), QStringLiteral("&Mosaïque"));
        // The open windows follow the Window menu's commands.
        emit documentPopups[3]->aboutToShow();
        const QList<QAction*> windowItems = documentPopups[3]->actions();
        QCOMPARE(windowItems.size(), 5);
        QVERIFY(windowItems[3]->isSeparator());
        QCOMPARE(windowItems[4]->text(), QStringLiteral("&1 bank.bnm"));
        QVERIFY(windowItems[4]->isChecked());
        QCOMPARE(f->windowTitle(), QStringLiteral("Calyx - bank.bnm"));

        // A modified bank's mark shows once in the title and the menu, a
        // new name at once; the placeholder never leaks.
        QMdiSubWindow* window = f->mdiArea()->subWindowList().front();
        window->setWindowTitle(QStringLiteral("bank.bnm[*]"));
        window->setWindowModified(true);
        QCOMPARE(f->windowTitle(), QStringLiteral("Calyx - bank.bnm*"));
        emit documentPopups[3]->aboutToShow();
        QCOMPARE(documentPopups[3]->actions().back()->text(), QStringLiteral("&1 bank.bnm*"));
        window->setWindowTitle(QStringLiteral("renamed.bnm[*]"));
        window->setWindowModified(false);
        QCOMPARE(f->windowTitle(), QStringLiteral("Calyx - renamed.bnm"));

        f->mdiArea()->closeAllSubWindows();
        QCOMPARE(f->shownMenu(), 128);
    }

    void cascadedWindowsStayLargeAndInsideTheArea() {
        const GameStrings french;
        Frame f(french);
        f->resize(1000, 700);
        f->show();
        for (int i = 0; i < 12; ++i) f.openDocumentWindow();
        f.action(command::windowCascade)->trigger();
        const QRect area = f->mdiArea()->viewport()->rect();
        const QSize smallest(std::min(640, area.width()), std::min(400, area.height()));
        for (QMdiSubWindow* window : f->mdiArea()->subWindowList()) {
            QVERIFY(area.contains(window->geometry()));
            QVERIFY(window->width() >= smallest.width() && window->height() >= smallest.height());
        }
        f->mdiArea()->closeAllSubWindows();
    }

    void gameTextsRelabelByCommandAndRemoveNew() {
        using namespace command;
        const GameStrings english = test::englishStrings();
        Frame f(english);
        QVERIFY(!f->relabelMenus(english));
        QCOMPARE(titlesOf(*f.frame), (QStringList{"&File", "&View", "&Help"}));
        QMenu* file = f->menuPopups().front();
        QCOMPARE(commandsOf(file), (QList<int>{fileOpen, 0, filePrintSetup, 0, recentFileFirst, 0, appExit}));
        QCOMPARE(f.action(fileOpen)->text(), QStringLiteral("&Open..."));
        QCOMPARE(f.action(appExit)->text(), QStringLiteral("E&xit"));
        QCOMPARE(f.action(appAbout)->text(), QStringLiteral("&About Calyx..."));

        f.openDocumentWindow();
        QVERIFY(f->relabelMenus(english));
        QCOMPARE(titlesOf(*f.frame), (QStringList{"&File", "&Edit", "&View", "&Window", "&Help"}));
        QVERIFY(!commandsOf(f->menuPopups().front()).contains(fileNew));
        QCOMPARE(f.action(fileSave)->text(), QStringLiteral("&Save"));
        QCOMPARE(f.action(windowArrange)->text(), QStringLiteral("&Arrange Icons"));
        QCOMPARE(f.action(editCut)->text(), QStringLiteral("Cu&t"));
        // The editor's own items take access keys the game's items leave free.
        QStringList keys;
        for (QAction* action : f->menuPopups().front()->actions()) {
            const QString key = QKeySequence::mnemonic(action->text()).toString();
            if (action->isSeparator() || key.isEmpty()) continue;
            QVERIFY2(!keys.contains(key), qPrintable(action->text() + " takes a key already taken"));
            keys << key;
        }

        // A text the game's file lacks keeps its French label.
        const GameStrings partial = test::gameStrings({{70, "&File"}});
        Frame g(partial);
        g->relabelMenus(partial);
        QCOMPARE(titlesOf(*g.frame), (QStringList{"&File", "&Affichage", "&?"}));
        QCOMPARE(g.action(fileOpen)->text(), QStringLiteral("&Ouvrir..."));
    }

    void promptsAndTooltips() {
        using namespace command;
        const GameStrings english = test::englishStrings();
        Frame f(english);
        QCOMPARE(f->promptForCommand(fileSave), QStringLiteral("Save the bank"));
        QCOMPARE(f->tooltipForCommand(fileSave), QStringLiteral("Save"));
        QCOMPARE(f.action(fileSave)->statusTip(), QStringLiteral("Save the bank"));
        for (int id = recentFileFirst; id <= recentFileLast; ++id) {
            QCOMPARE(f->promptForCommand(id), QStringLiteral("Open this bank"));
            QCOMPARE(f->tooltipForCommand(id), QString());
        }
        QCOMPARE(f->idlePane()->text(), QStringLiteral("Ready"));

        // Hovering the save button shows the part after the newline.
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.frame.get()));
        auto* save = qobject_cast<QToolButton*>(f->toolBar()->widgetForAction(f.action(fileSave)));
        QVERIFY(save);
        QHelpEvent tip(QEvent::ToolTip, QPoint(4, 4), save->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(save, &tip);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("Save"));
        QToolTip::hideText();

        // Without the game's texts there is no prompt and no tip at all.
        const GameStrings french;
        Frame g(french);
        QCOMPARE(g->promptForCommand(fileSave), QString());
        QCOMPARE(g->tooltipForCommand(fileSave), QString());
        QCOMPARE(g->idlePane()->text(), QString());
    }

    void toolbarHasItsTenPlaces() {
        const GameStrings french;
        Frame f(french);
        QList<int> places;
        for (const QAction* action : f->toolBar()->actions()) {
            places << (action->isSeparator() ? 0 : CommandRegistry::commandOf(action));
        }
        using namespace command;
        QCOMPARE(places, (QList<int>{fileOpen, fileSave, 0, editCut, editCopy, editPaste, 0, filePrint, appAbout,
                                     contextHelp}));
        QCOMPARE(f->toolBar()->allowedAreas(), Qt::AllToolBarAreas);
        for (const QAction* action : f->toolBar()->actions()) {
            if (!action->isSeparator()) QCOMPARE(action->icon().availableSizes().value(0), QSize(16, 15));
        }
    }

    void editCommandsAreGreyedWithADocumentWindow() {
        using namespace command;
        const GameStrings french;
        Frame f(french);
        f.openDocumentWindow();
        f->commands().updateActions();
        for (const int id : {editCut, editCopy, editPaste, editUndo}) QVERIFY(!f.action(id)->isEnabled());
        for (const int id : {windowCascade, appAbout, appExit, viewToolbar}) QVERIFY(f.action(id)->isEnabled());
        QVERIFY(f.action(viewToolbar)->isChecked());
        // The View menu hides and shows the toolbar and the status bar.
        f.action(viewToolbar)->trigger();
        f.action(viewStatusBar)->trigger();
        f->commands().updateActions();
        QVERIFY(f->toolBar()->isHidden() && f->statusBar()->isHidden());
        QVERIFY(!f.action(viewToolbar)->isChecked() && !f.action(viewStatusBar)->isChecked());
        f.action(viewToolbar)->trigger();
        f->commands().updateActions();
        QVERIFY(!f->toolBar()->isHidden() && f.action(viewToolbar)->isChecked());
        QCOMPARE(f.action(help)->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(f.action(editUndo)->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)}));
    }

    void noSoundDeviceShowsTheDriverMessageOnceAndTheFrameIsMade() {
        const GameStrings french;
        Frame f(french);
        QCOMPARE(f.messages, (QStringList{"impossible d'initialiser le driver son"}));
        QVERIFY(f->toolBar());
        const GameStrings english = test::englishStrings();
        Frame g(english);
        QCOMPARE(g.messages, (QStringList{"The sound device cannot be opened"}));
    }

    void helpOpensTheManualAndHelpModeHasItsPrompt() {
        const GameStrings english = test::englishStrings();
        Frame f(english);
        QList<QUrl> opened;
        const HelpOpener previous = setHelpOpener([&opened](const QUrl& url) {
            opened << url;
            return true;
        });
        f.action(command::help)->trigger();
        f.action(command::helpTopics)->trigger();
        // Without a browser the user is told, with the manual's place.
        QStringList told;
        setMessageBoxHook([&told](const QString& text, unsigned, unsigned) {
            told << text;
            return MessageResult::Ok;
        });
        f.action(command::helpTopics)->trigger();
        QVERIFY(told.isEmpty());
        setHelpOpener([](const QUrl&) { return false; });
        f.action(command::helpTopics)->trigger();
        setHelpOpener(previous);
        setMessageBoxHook({});
        QCOMPARE(told.size(), 1);
        QVERIFY2(told[0].startsWith(QStringLiteral("Le manuel n'a pas pu être ouvert")), qPrintable(told[0]));
        QVERIFY2(told[0].endsWith(QStringLiteral("index.html")), qPrintable(told[0]));
        QCOMPARE(opened.size(), 3);
        QCOMPARE(opened[0], opened[1]);
        QVERIFY2(QFileInfo(opened[0].toLocalFile()).isFile(), qPrintable(opened[0].toString()));
        QVERIFY(opened[0].toLocalFile().endsWith(QStringLiteral("/index.html")));

        QEvent enter(QEvent::EnterWhatsThisMode);
        QApplication::sendEvent(f.frame.get(), &enter);
        QCOMPARE(f->statusBar()->currentMessage(), QStringLiteral("Click a button or menu for help"));
        QEvent leave(QEvent::LeaveWhatsThisMode);
        QApplication::sendEvent(f.frame.get(), &leave);
        QCOMPARE(f->statusBar()->currentMessage(), QString());
        QVERIFY(!f->idlePane()->isHidden());
    }

    void lockPanesAreNamedAndGreyedWhenUnknown() {
        const GameStrings french;
        Frame f(french);
        QCOMPARE(f->lockPane(LockKey::Caps)->text(), QStringLiteral("MAJ"));
        QCOMPARE(f->lockPane(LockKey::Num)->text(), QStringLiteral("NUM"));
        QCOMPARE(f->lockPane(LockKey::Scroll)->text(), QStringLiteral("DEF"));
        // Offscreen, the keyboard's locks are unknown: every pane is greyed.
        QVERIFY(!f->lockPane(LockKey::Caps)->isEnabled());
    }
};

}  // namespace calyx::editor

QTEST_MAIN(calyx::editor::MainFrameTest)
#include "main_frame_tests.moc"
