// Menu texts on actions. A stored text such as "&Ouvrir...\tCtrl+O" names
// the item before the tab and its shortcut after it; the action takes the
// name (so that screen readers say "Ouvrir...") and shows its own shortcut
// at the right, as the menu draws it. Buttons get the plain name ("Ouvrir").
#pragma once

#include <QString>

class QAction;

namespace calyx::editor {

// `text` without "&" markers, the shortcut after a tab, and trailing dots.
QString plainCommandName(const QString& text);
// Sets the item text (before any tab) and the plain name of `action`.
void setCommandText(QAction& action, const QString& text);
// Item `number` of a numbered list in a menu (the recent files, the open
// windows): "&<number> <text>", each ampersand of `text` shown as one.
QString numberedMenuText(int number, const QString& text);

}  // namespace calyx::editor
