// The names the editor's parts carry for screen readers where the game's
// texts have none, in both languages.
#pragma once

#include "editor/core/interface_language.h"

namespace calyx::editor::accessible_name {

inline constexpr TwoLanguageText toolBar{"Barre d'outils", "Toolbar"};
inline constexpr TwoLanguageText statusBar{"Barre d'état", "Status bar"};
inline constexpr TwoLanguageText documents{"Documents", "Documents"};
inline constexpr TwoLanguageText resources{"Ressources", "Resources"};
inline constexpr TwoLanguageText informationIcon{"Information", "Information"};
inline constexpr TwoLanguageText warningIcon{"Avertissement", "Warning"};

}  // namespace calyx::editor::accessible_name
