// The preview pane's texts (English and French; the game's texts have none
// for it) and the lines it shows for a resource.
#pragma once

#include <string>

#include "editor/core/interface_language.h"
#include "editor/core/sample_preview.h"

namespace calyx::editor {

namespace preview_text {
inline constexpr TwoLanguageText title{"Aperçu", "Preview"};
inline constexpr TwoLanguageText play{"É&couter", "&Play"};
inline constexpr TwoLanguageText stop{"A&rrêter", "&Stop"};
inline constexpr TwoLanguageText waveform{"Forme d'onde", "Waveform"};
inline constexpr TwoLanguageText nothingSelected{"Aucune ressource sélectionnée", "No resource selected"};
inline constexpr TwoLanguageText cdAudio{"Piste audio du CD : pas d'échantillon dans la banque",
                                         "CD audio track: no sample in the bank"};
inline constexpr TwoLanguageText emptySlot{"Emplacement vide", "Empty slot"};
inline constexpr TwoLanguageText otherKind{"Ressource d'un type inconnu", "Resource of an unknown kind"};
inline constexpr TwoLanguageText noSampleData{"Échantillon sans données", "Sample without data"};
inline constexpr TwoLanguageText unreadable{"Les données de l'échantillon sont introuvables ou illisibles",
                                            "The sample's data cannot be found or read"};
}  // namespace preview_text

struct PreviewLines {
    std::string heading;  // what the resource is, or why there is no waveform
    std::string details;  // duration and size of a sample
    std::string loop;     // the loop of a looping sample
};

// UTF-8 lines for `preview`; a sample with a waveform has no heading.
PreviewLines previewLines(const SamplePreview& preview, InterfaceLanguage language);

// The pane's title line, UTF-8: the resource's name (or its file when it
// has none) and its bank's file name, "Horn — VLM2Snd.bnm".
std::string previewName(const bank::SoundResource& resource, const bank::SoundBank& bank);

}  // namespace calyx::editor
