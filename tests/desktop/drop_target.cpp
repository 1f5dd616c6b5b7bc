// Stands in for a file manager's folder in the desktop tests: a window in
// the screen's bottom left corner that takes the files dropped on it (as
// text/uri-list, the way programs offer files), copies each into the folder
// named on its command line, prints "received NAME" for each and ends. It
// prints "ready" once shown.
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <cstdio>

namespace {

class DropTarget : public QLabel {
public:
    explicit DropTarget(QString folder) : folder_(std::move(folder)) {
        setText(QStringLiteral("Drop files here"));
        setAlignment(Qt::AlignCenter);
        setWindowTitle(QStringLiteral("drop target"));
        setAccessibleName(QStringLiteral("drop target"));
        setAcceptDrops(true);
        resize(220, 120);
    }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override {
        if (event->mimeData()->hasUrls()) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        }
    }
    void dragMoveEvent(QDragMoveEvent* event) override {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
    void dropEvent(QDropEvent* event) override {
        for (const QUrl& url : event->mimeData()->urls()) {
            if (!url.isLocalFile()) continue;
            const QString name = QFileInfo(url.toLocalFile()).fileName();
            if (QFile::copy(url.toLocalFile(), QDir(folder_).filePath(name)))
                std::printf("received %s\n", qPrintable(name));
        }
        std::fflush(stdout);
        event->setDropAction(Qt::CopyAction);
        event->accept();
        QTimer::singleShot(0, qApp, &QApplication::quit);
    }

private:
    QString folder_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        std::fprintf(stderr, "usage: drop_target FOLDER\n");
        return 2;
    }
    DropTarget window(app.arguments().at(1));
    const QRect screen = window.screen()->geometry();
    window.move(screen.left(), screen.bottom() - window.height());
    window.show();
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
