// The editor's start-up as a user meets it: without the game's texts, with
// them, the menus following the document windows, the recent files, and
// banks named on the command line or dropped on the window.
#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>

#include "audio/wave_out_device.h"
#include "editor/core/commands.h"
#include "editor/core/message_box.h"
#include "editor/widgets/calyx_app.h"
#include "editor/widgets/command_registry.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/preview_pane.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/recent_file_list.h"
#include "fixtures/temp_dir.h"
#include "fixtures/wine_prefix.h"
#include "widget_test_support.h"

namespace calyx::editor {

namespace {

QStringList titles(const CMainFrame& frame) {
    QStringList titles;
    for (const QMenu* menu : frame.menuPopups()) titles << menu->title();
    return titles;
}

bool fileMenuHas(const CMainFrame& frame, int command) {
    for (const QAction* action : frame.menuPopups().front()->actions()) {
        if (CommandRegistry::commandOf(action) == command) return true;
    }
    return false;
}


// Every text of the main window a user or a screen reader meets: the menus'
// items, the toolbar's and status bar's names, the preview pane's labels and
// buttons.
QStringList shownTexts(CMainFrame& frame) {
    QStringList texts;
    for (QMenu* menu : frame.menuPopups()) {
        emit menu->aboutToShow();
        for (const QAction* action : menu->actions()) texts << action->text();
    }
    for (const QToolBar* bar : frame.findChildren<QToolBar*>()) texts << bar->windowTitle();
    texts << frame.statusBar()->accessibleName();
    if (const QWidget* pane = frame.previewPane()) {
        for (const QLabel* label : pane->findChildren<QLabel*>()) texts << label->text();
        for (const QAbstractButton* button : pane->findChildren<QAbstractButton*>()) texts << button->text();
    }
    return texts;
}

}  // namespace

class CalyxAppTest : public QObject {
    Q_OBJECT

    QStringList messages_;
    QStringList opened_;

    bool start(QStringList files = {}) {
        CCalyxApp& app = *CCalyxApp::instance();
        app.setDocumentOpener([this](const QString& path) {
            opened_ << path;
            return true;
        });
        CCalyxApp::Options options;
        options.files = std::move(files);
        options.makeWaveDevice = [] { return std::unique_ptr<audio::WaveOutDevice>(); };
        options.show = false;
        return app.InitInstance(options);
    }

private slots:
    void init() {
        messages_.clear();
        opened_.clear();
        setMessageBoxHook([this](const QString& text, unsigned, unsigned) {
            messages_ << text;
            return MessageResult::Ok;
        });
    }
    void cleanup() { setMessageBoxHook({}); }

    void withoutTheGameTheInterfaceIsFrench() {
        const fixtures::WinePrefix prefix;
        CCalyxApp& app = *CCalyxApp::instance();
        QVERIFY(start());
        QVERIFY(app.started());
        QVERIFY(!app.AreGameStringsLoaded());
        QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Ornwick"));
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Calyx"));
        QCOMPARE(app.recentFiles().capacity(), 5);
        CMainFrame& frame = *app.mainFrame();
        QCOMPARE(titles(frame), (QStringList{"&Fichier", "&Affichage", "&?"}));
        QVERIFY(fileMenuHas(frame, command::fileNew));
        QCOMPARE(messages_, (QStringList{"impossible d'initialiser le driver son"}));
        QVERIFY(!app.GetAppIcon(app_icon::application).isNull());
        QVERIFY(!app.GetAppIcon(app_icon::document).isNull());
        QVERIFY(app.GetAppIcon(app_icon::sound).isNull());
        QVERIFY(!app.MenuNeedsRelabel());
    }

    // One language for every built-in text: French without the game's texts
    // (whatever the installation's language), the game's language with them.
    void theBuiltInTextsSpeakOneLanguage() {
        const QStringList french{"A&perçu", "É&couter", "Aucune ressource sélectionnée"};
        const QStringList english{"&Preview", "&Play", "No resource selected"};
        const auto check = [](const QStringList& shown, const QStringList& expected, const QStringList& other) {
            for (const QString& text : expected) QVERIFY2(shown.contains(text), qPrintable(text));
            for (const QString& text : other) QVERIFY2(!shown.contains(text), qPrintable(text));
        };
        CCalyxApp& app = *CCalyxApp::instance();
        {
            const fixtures::WinePrefix prefix;
            prefix.writeIni("[TQ2]\r\nDirectory=C:\\Jeux\\VLM2\r\nLanguage=English\r\n");
            fixtures::makeDirs(prefix.driveC() + "/Jeux/VLM2/Datab/Resson");
            QVERIFY(start());
            QVERIFY(!app.AreGameStringsLoaded());
            check(shownTexts(*app.mainFrame()), french, english);
        }
        for (const char* language : {"English", "German", "French"}) {
            const fixtures::WinePrefix prefix;
            prefix.writeIni(std::string("[TQ2]\r\nDirectory=C:\\Jeux\\VLM2\r\nLanguage=") + language + "\r\n");
            const std::string sounds = prefix.driveC() + "/Jeux/VLM2/Datab/Resson";
            fixtures::makeDirs(sounds);
            fixtures::writeStringsDat(sounds + "/strings.dat", {{70, "&File"}});
            QVERIFY(start());
            QVERIFY(app.AreGameStringsLoaded());
            if (std::string(language) == "French")
                check(shownTexts(*app.mainFrame()), french, english);
            else
                check(shownTexts(*app.mainFrame()), english, french);
        }
    }

    void theGameTextsFollowTheMenuAsDocumentsOpenAndClose() {
        const fixtures::WinePrefix prefix;
        prefix.writeIni("[TQ2]\r\nDirectory=C:\\Jeux\\VLM2\r\nLanguage=English\r\n");
        const std::string sounds = prefix.driveC() + "/Jeux/VLM2/Datab/Resson";
        fixtures::makeDirs(sounds);
        fixtures::writeStringsDat(sounds + "/strings.dat", {{70, "&File"}, {80, "&Edit"}, {85, "&View"},
                                                            {88, "&Window"}, {92, "&Help"}, {140, "No sound"}});
        CCalyxApp& app = *CCalyxApp::instance();
        QVERIFY(start());
        QVERIFY(app.AreGameStringsLoaded());
        CMainFrame& frame = *app.mainFrame();
        QCOMPARE(titles(frame), (QStringList{"&File", "&View", "&Help"}));
        QVERIFY(!fileMenuHas(frame, command::fileNew));
        QCOMPARE(messages_, (QStringList{"No sound"}));

        QMdiSubWindow* window = frame.mdiArea()->addSubWindow(new QWidget);
        window->show();
        frame.mdiArea()->setActiveSubWindow(window);
        QCOMPARE(titles(frame), (QStringList{"&File", "&Edit", "&View", "&Window", "&Help"}));
        QVERIFY(!fileMenuHas(frame, command::fileNew));
        QVERIFY(!app.MenuNeedsRelabel());

        frame.mdiArea()->closeAllSubWindows();
        QCOMPARE(titles(frame), (QStringList{"&File", "&View", "&Help"}));
        QVERIFY(!app.MenuNeedsRelabel());
    }

    void theRecentFilesKeepFiveAndOpenFromTheMenu() {
        const fixtures::WinePrefix prefix;
        QVERIFY(start());
        CCalyxApp& app = *CCalyxApp::instance();
        for (int i = 1; i <= 6; ++i) app.recentFiles().add(QStringLiteral("/banks/%1.bnm").arg(i));
        QCOMPARE(app.recentFiles().paths().size(), 5);
        QCOMPARE(app.recentFiles().paths().front(), QStringLiteral("/banks/6.bnm"));
        QCOMPARE(QSettings().value(QStringLiteral("Recent File List/File5")).toString(), QStringLiteral("/banks/2.bnm"));

        // A new start reads them back; the File menu lists them in order.
        QVERIFY(start());
        CMainFrame& frame = *app.mainFrame();
        QMenu* file = frame.menuPopups().front();
        emit file->aboutToShow();
        QStringList shown;
        for (const QAction* action : file->actions()) {
            const int id = CommandRegistry::commandOf(action);
            if (id >= command::recentFileFirst && id <= command::recentFileLast) shown << action->text();
        }
        QCOMPARE(shown.size(), 5);
        QCOMPARE(shown.front(), QStringLiteral("&1 /banks/6.bnm"));
        frame.commands().find(command::recentFileFirst + 1)->trigger();
        QCOMPARE(opened_, (QStringList{"/banks/5.bnm"}));
        // An ampersand of a path is shown as one, not taken for the access key.
        app.recentFiles().add(QStringLiteral("/banks/R&B.bnm"));
        emit file->aboutToShow();
        QCOMPARE(frame.commands().find(command::recentFileFirst)->text(), QStringLiteral("&1 /banks/R&&B.bnm"));
        QSettings().remove(QStringLiteral("Recent File List"));
    }

    void banksNamedOnTheCommandLineOrDroppedAreOpened() {
        const fixtures::WinePrefix prefix;
        QVERIFY(start({QStringLiteral("/banks/a.bnm"), QStringLiteral("/banks/b.bnm")}));
        QCOMPARE(opened_, (QStringList{"/banks/a.bnm", "/banks/b.bnm"}));

        opened_.clear();
        CMainFrame& frame = *CCalyxApp::instance()->mainFrame();
        QVERIFY(frame.acceptDrops());
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QStringLiteral("/banks/c.bnm")), QUrl(QStringLiteral("https://example.org/x"))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame, &drop);
        QCOMPARE(opened_, (QStringList{"/banks/c.bnm"}));
    }
};

}  // namespace calyx::editor

int main(int argc, char** argv) {
    // Settings go to a folder of the test's own.
    const calyx::fixtures::TempDir config;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path()));
    QStandardPaths::setTestModeEnabled(true);
    calyx::editor::CCalyxApp app(argc, argv);
    calyx::editor::CalyxAppTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "calyx_app_tests.moc"
