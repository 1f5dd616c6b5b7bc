// The editor's questions and messages that the game's texts know nothing
// of (exporting every sample, WAV files dropped on rows, converting a WAV
// file, banks changed on disk, long saves): each in French and English,
// chosen by the installation's language. "%1" and "%2" stand for values.
#pragma once

#include "editor/core/interface_language.h"

namespace calyx::editor::newer_text {

inline constexpr TwoLanguageText exportAllFolderTitle{"Exporter tous les échantillons dans le dossier",
                                                      "Export all samples to the folder"};
inline constexpr TwoLanguageText exportAllProblems{"%1 échantillon(s) n'ont pas pu être exportés :",
                                                   "%1 sample(s) could not be exported:"};
inline constexpr TwoLanguageText moreProblems{"... et %1 de plus", "... and %1 more"};
inline constexpr TwoLanguageText exportingProgress{"Exportation des échantillons...", "Exporting the samples..."};
inline constexpr TwoLanguageText savingProgress{"Enregistrement de %1...", "Saving %1..."};

}  // namespace calyx::editor::newer_text
