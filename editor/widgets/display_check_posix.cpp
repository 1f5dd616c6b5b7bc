#include "editor/widgets/display_check.h"

#include <cstdlib>
#include <string_view>

#if __has_include(<X11/Xlib.h>)
#define CALYX_HAVE_XLIB 1
#include <X11/Xlib.h>
#endif

namespace calyx::editor {

namespace {

std::string_view environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The platform asked for with "-platform NAME" or QT_QPA_PLATFORM.
std::string_view requestedPlatform(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string_view(argv[i]) == "-platform") return argv[i + 1];
    }
    return environment("QT_QPA_PLATFORM");
}

}  // namespace

std::optional<std::string> missingDisplay(int argc, char** argv) {
    const std::string_view platform = requestedPlatform(argc, argv);
    const bool x11 = platform.empty() || platform.starts_with("xcb");
    if (!x11) return std::nullopt;
    const std::string_view display = environment("DISPLAY");
    if (display.empty()) {
        if (platform.empty() && !environment("WAYLAND_DISPLAY").empty()) return std::nullopt;
        return std::string("no display: DISPLAY is not set (start calyx in a desktop session)");
    }
#ifdef CALYX_HAVE_XLIB
    Display* connection = XOpenDisplay(nullptr);
    if (!connection) return "cannot open display " + std::string(display);
    XCloseDisplay(connection);
#endif
    return std::nullopt;
}

}  // namespace calyx::editor
