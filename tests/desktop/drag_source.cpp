// A stand-in for the file manager in the desktop tests: a small window that
// starts a drag of the files named on its command line (as text/uri-list,
// the way file managers offer files) when the mouse is pressed on it and
// moved. It sits in the screen's bottom right corner. It prints the drop's outcome ("dropped copy", "dropped move",
// "dropped none") and ends when the drag is over.
#include <QApplication>
#include <QDrag>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QUrl>
#include <cstdio>

namespace {

class DragSource : public QLabel {
public:
    explicit DragSource(QList<QUrl> urls) : urls_(std::move(urls)) {
        setText(QStringLiteral("Drag %1 file(s) from here").arg(urls_.size()));
        setAlignment(Qt::AlignCenter);
        setWindowTitle(QStringLiteral("drag source"));
        setAccessibleName(QStringLiteral("drag source"));
        resize(220, 120);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override { pressedAt_ = event->position().toPoint(); }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!(event->buttons() & Qt::LeftButton) || dragging_) return;
        if ((event->position().toPoint() - pressedAt_).manhattanLength() < QApplication::startDragDistance()) return;
        dragging_ = true;
        auto* data = new QMimeData;
        data->setUrls(urls_);
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
        std::printf("dropped %s\n", action == Qt::CopyAction   ? "copy"
                                    : action == Qt::MoveAction ? "move"
                                    : action == Qt::LinkAction ? "link"
                                                               : "none");
        std::fflush(stdout);
        QApplication::quit();
    }

private:
    QList<QUrl> urls_;
    QPoint pressedAt_;
    bool dragging_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QList<QUrl> urls;
    for (const QString& argument : app.arguments().mid(1))
        urls.append(QUrl::fromLocalFile(QFileInfo(argument).absoluteFilePath()));
    if (urls.isEmpty()) {
        std::fprintf(stderr, "usage: drag_source FILE...\n");
        return 2;
    }
    DragSource window(urls);
    // Out of the way of the windows under test: the screen's bottom right
    // corner.
    const QRect screen = window.screen()->geometry();
    window.move(screen.right() - window.width(), screen.bottom() - window.height());
    window.show();
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
