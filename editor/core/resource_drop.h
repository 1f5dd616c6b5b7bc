// Dropping one resource's row on another's, apart from the drag machinery:
// whether the drop is taken, the question asked before the target's sample
// is replaced, and the copy itself. What travels is a link: the target takes
// the source's data as its pending replacement, and a key into the
// `LinkTable` says which bank file holds the bytes at the next save.
#pragma once

#include <cstddef>
#include <functional>

#include "bank/sound_bank.h"
#include "editor/core/game_strings.h"
#include "editor/core/interface_language.h"
#include "editor/core/link_table.h"
#include "editor/core/ui_text.h"

namespace calyx::editor {

// Why a drop does nothing.
enum class DropRefusal {
    None,
    SameResource,
    NotSamples,          // the source or the target is not a sample
    Tq2OntoK7Unstored,   // a second-game sample onto a first-game sample not stored in its bank
    SaveInProgress,      // the target bank is being saved
};

enum class DropOutcome { Refused, Cancelled, Copied };

// The question's first words: the game's text 32 ("Replace the sound of"),
// else these; then the target, then what replaces its sound, in the
// editor's language ("%1": the source's name, "%2": its bank's file name;
// or "%1": the file's name).
inline constexpr int replaceQuestionId = 32;
inline constexpr std::string_view replaceQuestionFrench = "Voulez-vous remplacer";
inline constexpr TwoLanguageText replacedByRow{" par %1 de %2 ?", " with %1 from %2?"};
inline constexpr TwoLanguageText replacedByFile{" par le fichier %1 ?", " with the file %1?"};
// The question never grows past this many bytes (a nameless target with a
// long replacement path is cut).
inline constexpr std::size_t replaceQuestionMax = 255;

// True when `target` may take `source`'s data: both must be samples.
bool prepareCopyFrom(const bank::SoundResource& target, const bank::SoundResource& source);

DropRefusal checkDrop(const bank::SoundBank& sourceBank, const bank::SoundResource& source,
                      const bank::SoundBank& targetBank, const bank::SoundResource& target);

// "Replace the sound of Horn with Skid from K7Snd.bnm?" ("Voulez-vous
// remplacer Horn par Skid de K7Snd.bnm ?" without the game's texts): each
// resource named by its name, or by its file when it has none.
UiText replaceQuestion(const bank::SoundResource& target, const bank::SoundResource& source,
                       const bank::SoundBank& sourceBank, const GameStrings& strings, InterfaceLanguage language);
// "Replace the sound of Horn with the file klaxon.wav?" for a file dropped
// from the file manager (named without its folder).
UiText replaceWithFileQuestion(const bank::SoundResource& target, std::string_view filePath,
                               const GameStrings& strings, InterfaceLanguage language);

// Answers the question: true for OK.
using DropConfirmation = std::function<bool(const UiText& question)>;

// The whole drop of the source bank's resource `sourceIndex` on the target
// bank's resource `targetIndex` (the two banks may be one). On OK the
// target copies the source and holds a key to the bank file the bytes lie
// in: the source's own link when it was itself pasted from another bank,
// else the source bank. The question is asked in `language`.
DropOutcome dropResource(bank::SoundBank& sourceBank, std::size_t sourceIndex, bank::SoundBank& targetBank,
                         std::size_t targetIndex, LinkTable& links, const GameStrings& strings,
                         const DropConfirmation& confirm, DropRefusal* refusal = nullptr,
                         InterfaceLanguage language = InterfaceLanguage::French);

// When a document's view goes away: every resource whose data comes from
// another bank gives up its link (its flags are cleared), and every key a
// paste gave a resource of the bank is released.
void releaseLinks(bank::SoundBank& bank, LinkTable& links);
// Gives up the one reference `resource` holds in `links`, if any: a
// resource holds a key from its paste until the paste is undone or its
// document closes, and its key is 0 once released.
void releaseLinkKey(bank::SoundResource& resource, LinkTable& links);

// Makes `links` the bank's way of finding the bank file behind a key.
void useLinkTable(bank::SoundBank& bank, const LinkTable& links);

}  // namespace calyx::editor
