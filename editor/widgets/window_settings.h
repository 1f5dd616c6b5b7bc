// What the editor remembers of its windows between runs, in its settings:
// the main window's size, place and state (the preview pane's visibility
// and width with it), and the widths of the list's columns.
#pragma once

class QHeaderView;
class QMainWindow;

namespace calyx::editor {

// Puts the main window where it was last time; the first time, at a size
// that follows the screen (see firstMainWindowSize). The window's docks must
// exist already.
void restoreMainWindow(QMainWindow& window);
void saveMainWindow(const QMainWindow& window);

// Gives the list the column widths last chosen and keeps every width the
// user sets from now on.
void rememberColumnWidths(QHeaderView& header);

}  // namespace calyx::editor
