// The language of the built-in texts shown where the game's strings.dat has
// none. The editor's messages are French, calyx-cli's English; the editor's
// newer texts (the preview pane, newer menu items and questions) follow the
// installation: English when its language is English, French otherwise, as
// the rest of the built-in interface is French.
#pragma once

#include <string_view>

#include "editor/core/installation.h"

namespace calyx::editor {

enum class InterfaceLanguage { French, English };

// The second game's language when recorded, else the first game's.
InterfaceLanguage interfaceLanguage(const Installation& installation);

// One built-in text in both languages (UTF-8).
struct TwoLanguageText {
    std::string_view french;
    std::string_view english;
    std::string_view in(InterfaceLanguage language) const {
        return language == InterfaceLanguage::English ? english : french;
    }
};

}  // namespace calyx::editor
