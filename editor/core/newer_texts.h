// The editor's questions and messages that the game's texts know nothing
// of (exporting every sample, importing a folder, undo and redo, WAV files dropped on rows, converting a WAV
// file, banks changed on disk, long saves, a manual no browser opens): each in French and English,
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
inline constexpr TwoLanguageText convertQuestion{
    "Convertir une copie du fichier en 22 kHz mono 16 bits ? Le fichier d'origine ne change pas.",
    "Convert a copy of the file to 22 kHz mono 16 bits? The original file is not changed."};
inline constexpr TwoLanguageText conversionFailed{"Le fichier %1 n'a pas pu être converti (%2).",
                                                  "%1 could not be converted (%2)."};
inline constexpr TwoLanguageText changedOnDiskSave{
    "%1 a été modifié sur le disque depuis son ouverture, par un autre programme.\n\nL'écraser avec cette version ?",
    "%1 has been changed on disk since it was opened, by another program.\n\nOverwrite it with this version?"};
inline constexpr TwoLanguageText manualNotOpened{
    "Le manuel n'a pas pu être ouvert (aucun navigateur n'a répondu) :\n%1",
    "The manual could not be opened (no browser answered):\n%1"};
inline constexpr TwoLanguageText changedOnDiskReload{
    "%1 a été modifié sur le disque par un autre programme.\n\nLe recharger ?",
    "%1 has been changed on disk by another program.\n\nReload it?"};

// File > Import folder...: the folder asked for, the one question for the
// files in another format ("%1" how many), the summary ("%1" to "%4" the
// counts) and its list of refused files.
inline constexpr TwoLanguageText importFolderTitle{"Importer les fichiers WAV du dossier",
                                                  "Import the WAV files of the folder"};
inline constexpr TwoLanguageText convertFolderQuestion{
    "%1 fichier(s) du dossier ne sont pas en 22 kHz mono 16 bits.\n\nConvertir des copies de ces fichiers ? "
    "Les fichiers d'origine ne changent pas.",
    "%1 file(s) of the folder are not 22 kHz mono 16 bits.\n\nConvert copies of them? The original files are not "
    "changed."};
inline constexpr TwoLanguageText folderImportCounts{"remplacés %1, inchangés %2, ignorés %3, refusés %4",
                                                   "replaced %1, unchanged %2, skipped %3, refused %4"};
inline constexpr TwoLanguageText refusedFiles{"Fichiers refusés :", "Refused files:"};
inline constexpr TwoLanguageText folderNotRead{"Le dossier %1 n'a pas pu être lu.", "The folder %1 cannot be read."};

// The Edit menu's undo and redo items naming their step ("%1").
inline constexpr TwoLanguageText undoStep{"&Annuler %1", "&Undo %1"};
inline constexpr TwoLanguageText redoStep{"&Rétablir %1", "&Redo %1"};
// The steps, "%1" the resource's name or the folder's.
inline constexpr TwoLanguageText volumeStep{"volume de %1", "volume of %1"};
inline constexpr TwoLanguageText soundStep{"son de %1", "sound of %1"};
inline constexpr TwoLanguageText pasteStep{"collage sur %1", "paste onto %1"};
inline constexpr TwoLanguageText resetStep{"réinitialisation de %1", "reset of %1"};
inline constexpr TwoLanguageText folderImportStep{"import du dossier %1", "import of folder %1"};
inline constexpr TwoLanguageText changesStep{"modifications", "changes"};

}  // namespace calyx::editor::newer_text
