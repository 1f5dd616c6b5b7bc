// Whether Caps Lock, Num Lock and Scroll Lock are on, as the windowing
// system reports them (XKB's indicators on X11). Nothing when it cannot
// tell (another platform, no connection).
#pragma once

#include <optional>

namespace calyx::editor {

struct KeyboardLocks {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

std::optional<KeyboardLocks> readKeyboardLocks();

}  // namespace calyx::editor
