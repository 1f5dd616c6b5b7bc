#include "editor/widgets/window_layout.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>

#include "editor/core/window_placement.h"

namespace calyx::editor {
namespace {

constexpr auto modifiedPlaceholder = QLatin1String("[*]");

PlaceSize sizeOf(const QWidget& widget) { return PlaceSize{widget.width(), widget.height()}; }

void setPlace(QMdiSubWindow& window, const Place& place) {
    window.setGeometry(place.x, place.y, place.width, place.height);
}

// The cascade's step: one title bar.
int titleBarHeight(const QMdiSubWindow& window) {
    QStyleOptionTitleBar option;
    option.initFrom(&window);
    return window.style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, &window);
}

}  // namespace

void placeNewWindow(QMdiArea& area, QMdiSubWindow& window) {
    setPlace(window, fitInArea(sizeOf(*area.viewport()), window.x(), window.y(), bankWindowSize));
}

void cascadeWindows(QMdiArea& area) {
    QMdiSubWindow* active = area.activeSubWindow();
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder))
        if (!window->isMinimized() && !window->isHidden()) windows << window;
    if (windows.isEmpty()) return;
    const std::vector<Place> places =
        cascadePlaces(sizeOf(*area.viewport()), static_cast<int>(windows.size()), titleBarHeight(*windows.front()));
    for (qsizetype i = 0; i < windows.size(); ++i) {
        if (windows[i]->isMaximized()) windows[i]->showNormal();
        setPlace(*windows[i], places[static_cast<std::size_t>(i)]);
        windows[i]->raise();
    }
    if (active) area.setActiveSubWindow(active);
}

QString shownTitle(const QWidget& window) {
    QString title = window.windowTitle();
    title.replace(modifiedPlaceholder, window.isWindowModified() ? QStringLiteral("*") : QString());
    return title;
}

}  // namespace calyx::editor
