// The bank windows' places inside the main window's document area: a new
// window is seen whole, Cascade keeps the windows large; and the title a
// window shows once its modified mark is put in.
#pragma once

#include <QString>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace calyx::editor {

// Gives a window just added to `area` its opening size, moved back (and
// shrunk only where the area is smaller) so that all of it can be seen.
void placeNewWindow(QMdiArea& area, QMdiSubWindow& window);
// Cascades the windows that are not minimised, from the area's corner, in
// the order they were opened; the active window stays active.
void cascadeWindows(QMdiArea& area);
// The window's title with its "[*]" placeholder shown as "*" when the window
// is modified and as nothing otherwise.
QString shownTitle(const QWidget& window);

}  // namespace calyx::editor
