// The editor's icons, drawn here: the toolbar's 16 × 15 buttons, and the
// program's icons (128 the editor, 129 a bank, 137 a sound).
#pragma once

#include <QIcon>
#include <QImage>

namespace calyx::editor {

// The toolbar picture of a command; a null icon for a command without one.
QIcon toolbarIcon(int commandId);
// Icon 128, 129 or 137 at the usual sizes; a null icon for other keys.
QIcon programIcon(int key);
// One picture of a program icon, `size` pixels square (for the icon files
// installed for the desktop).
QImage programIconImage(int key, int size);

}  // namespace calyx::editor
