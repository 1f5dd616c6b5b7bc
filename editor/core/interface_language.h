// The language of the editor's own texts that the game's strings.dat does
// not hold (the preview pane, the editor's newer menu items and questions):
// English when the installation's language is English, French otherwise,
// as the rest of the built-in interface is French.
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
