// calyx, the sound-bank editor.
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "editor/widgets/calyx_app.h"
#include "editor/widgets/display_check.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/message_box.h"

using calyx::editor::CCalyxApp;

int main(int argc, char** argv) {
    if (const auto problem = calyx::editor::missingDisplay(argc, argv)) {
        std::fprintf(stderr, "calyx: %s\n", problem->c_str());
        return 1;
    }
    CCalyxApp app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The sound-bank editor of Calyx."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Render the main window, with the banks opened, to the PNG file <path> and quit."),
        QStringLiteral("path"));
    parser.addOption(screenshot);
    parser.addPositionalArgument(QStringLiteral("banks"), QStringLiteral("Sound banks (.bnm) to open."),
                                 QStringLiteral("[banks...]"));
    parser.process(app);

    CCalyxApp::Options options;
    // Start-up moves into the game's sound folder: names relative to where
    // calyx was started are made whole first (drive-letter paths stay).
    for (const QString& path : parser.positionalArguments()) {
        const bool driveLetter = path.size() >= 2 && path[1] == QLatin1Char(':');
        options.files.append(QDir::isRelativePath(path) && !driveLetter ? QFileInfo(path).absoluteFilePath() : path);
    }
    const QString picture = parser.value(screenshot);
    if (!picture.isEmpty()) {
        // Nobody sees this run: messages go to standard error.
        calyx::editor::setScreenForPerson(false);
        options.show = false;
    }
    if (!app.InitInstance(options)) return 1;
    if (picture.isEmpty()) return app.exec();

    calyx::editor::CMainFrame& frame = *app.mainFrame();
    frame.resize(800, 600);
    frame.show();
    app.processEvents();
    if (!frame.grab().save(picture, "PNG")) {
        std::fprintf(stderr, "calyx: cannot write %s\n", qUtf8Printable(picture));
        return 1;
    }
    std::printf("%s\n", qUtf8Printable(QFileInfo(picture).absoluteFilePath()));
    return 0;
}
