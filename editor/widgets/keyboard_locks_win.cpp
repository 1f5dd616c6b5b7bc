#include "editor/widgets/keyboard_locks.h"

#include <windows.h>

namespace calyx::editor {

std::optional<KeyboardLocks> readKeyboardLocks() {
    const auto toggled = [](int key) { return (GetKeyState(key) & 1) != 0; };
    return KeyboardLocks{toggled(VK_CAPITAL), toggled(VK_NUMLOCK), toggled(VK_SCROLL)};
}

}  // namespace calyx::editor
