// Menu texts on actions: "&Ouvrir...\tCtrl+O" is shown as the item's text
// with the shortcut at the right; buttons and screen readers get the plain
// name ("Ouvrir").
#pragma once

#include <QString>

class QAction;

namespace calyx::editor {

// `text` without "&" markers, the shortcut after a tab, and trailing dots.
QString plainCommandName(const QString& text);
// Sets the item text and the plain name of `action`.
void setCommandText(QAction& action, const QString& text);

}  // namespace calyx::editor
