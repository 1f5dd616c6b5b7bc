// The language of the editor's built-in texts, those the game's strings.dat
// has no text for. One rule for all of them: without the game's texts the
// whole interface is French, as the game's menus are then; with them, the
// game's language: French for a French game, English for any other.
// calyx-cli speaks English.
#pragma once

#include <string_view>

#include "editor/core/installation.h"

namespace calyx::editor {

enum class InterfaceLanguage { French, English };

// The language of the built-in texts beside the game's, loaded or not. The
// game's language is the second game's when recorded, else the first game's.
InterfaceLanguage interfaceLanguage(const Installation& installation, bool gameTextsLoaded);

// One built-in text in both languages (UTF-8).
struct TwoLanguageText {
    std::string_view french;
    std::string_view english;
    std::string_view in(InterfaceLanguage language) const {
        return language == InterfaceLanguage::English ? english : french;
    }
};

}  // namespace calyx::editor
