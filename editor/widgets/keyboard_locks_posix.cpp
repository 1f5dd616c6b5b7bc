#include "editor/widgets/keyboard_locks.h"

#include <QGuiApplication>

#if __has_include(<X11/XKBlib.h>) && QT_CONFIG(xcb)
#define CALYX_HAVE_XKB 1
#include <X11/XKBlib.h>
#endif

namespace calyx::editor {

std::optional<KeyboardLocks> readKeyboardLocks() {
#ifdef CALYX_HAVE_XKB
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return std::nullopt;
    const auto indicator = [display](const char* name) {
        Bool on = False;
        const Atom atom = XInternAtom(display, name, True);
        return atom != None && XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) && on;
    };
    return KeyboardLocks{indicator("Caps Lock"), indicator("Num Lock"), indicator("Scroll Lock")};
#else
    return std::nullopt;
#endif
}

}  // namespace calyx::editor
