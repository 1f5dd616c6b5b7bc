// calyx-write-icons DIR: writes the editor's icons as PNG files for the
// desktop, in the icon theme's layout:
//   DIR/<n>x<n>/apps/calyx.png and DIR/<n>x<n>/mimetypes/application-x-calyx-bank.png
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "editor/widgets/calyx_app.h"
#include "editor/widgets/icons.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: calyx-write-icons DIR\n");
        return 2;
    }
    // Drawing needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const struct {
        int key;
        const char* folder;
        const char* name;
    } icons[] = {{calyx::editor::app_icon::application, "apps", "calyx"},
                 {calyx::editor::app_icon::document, "mimetypes", "application-x-calyx-bank"}};
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        for (const auto& icon : icons) {
            const QString folder = QStringLiteral("%1x%1/%2").arg(size).arg(QLatin1String(icon.folder));
            const QString path = root.filePath(folder + QLatin1Char('/') + QLatin1String(icon.name) + ".png");
            if (!root.mkpath(folder) || !calyx::editor::programIconImage(icon.key, size).save(path, "PNG")) {
                std::fprintf(stderr, "calyx-write-icons: cannot write %s\n", qUtf8Printable(path));
                return 1;
            }
        }
    }
    return 0;
}
