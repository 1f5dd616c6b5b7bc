// calyx, the sound-bank editor.
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <iostream>
#include <string_view>

#include "editor/widgets/calyx_app.h"
#include "editor/widgets/display_check.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/print_pdf.h"
#include "editor/core/startup.h"

using calyx::editor::CCalyxApp;

namespace {

// Printing to a PDF, the help and the version show no window.
bool needsNoWindow(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--print-pdf" || argument.starts_with("--print-pdf=")) return true;
        for (const char* option : {"-h", "--help", "--help-all", "-?", "-v", "--version"})
            if (argument == option) return true;
    }
    return false;
}

QString wholePath(const QString& path) {
    const bool driveLetter = path.size() >= 2 && path[1] == QLatin1Char(':');
    return QDir::isRelativePath(path) && !driveLetter ? QFileInfo(path).absoluteFilePath() : path;
}

}  // namespace

int main(int argc, char** argv) {
    // What shows no window needs no display.
    const bool windowless = needsNoWindow(argc, argv);
    if (windowless) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (const auto problem = windowless ? std::nullopt : calyx::editor::missingDisplay(argc, argv)) {
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
    const QCommandLineOption printPdf(
        QStringLiteral("print-pdf"),
        QStringLiteral("Write the listing File > Print would print for the bank to the PDF file <out> (A4, "
                       "600 dots per inch) and quit, without any window."),
        QStringLiteral("out"));
    parser.addOption(printPdf);
    parser.addPositionalArgument(QStringLiteral("banks"), QStringLiteral("Sound banks (.bnm) to open."),
                                 QStringLiteral("[banks...]"));
    parser.process(app);

    // Start-up moves into the game's sound folder: names relative to where
    // calyx was started are made whole first (drive-letter paths stay).
    if (parser.isSet(printPdf)) {
        if (parser.positionalArguments().size() != 1) {
            std::fprintf(stderr, "calyx: --print-pdf OUT.pdf takes one bank\n");
            return 1;
        }
        const QString out = wholePath(parser.value(printPdf));
        const QString bank = wholePath(parser.positionalArguments().front());
        calyx::editor::GameStrings strings;
        calyx::editor::Installation installation;
        calyx::editor::LoadGameStrings(strings, installation);
        return calyx::editor::printBankToPdf(out, bank, strings, calyx::editor::GetInstallInfo(installation), std::cerr);
    }
    CCalyxApp::Options options;
    for (const QString& path : parser.positionalArguments()) options.files.append(wholePath(path));
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
