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

// Game text id of the question's first words.
inline constexpr int replaceQuestionId = 32;
inline constexpr std::string_view replaceQuestionFrench = "Voulez-vous remplacer %s?";
// The question never grows past this many bytes (a nameless target with a
// long replacement path is cut).
inline constexpr std::size_t replaceQuestionMax = 255;

// True when `target` may take `source`'s data: both must be samples.
bool prepareCopyFrom(const bank::SoundResource& target, const bank::SoundResource& source);

DropRefusal checkDrop(const bank::SoundBank& sourceBank, const bank::SoundResource& source,
                      const bank::SoundBank& targetBank, const bank::SoundResource& target);

// "Voulez-vous remplacer <name>?" (or the game's text 32 and the name),
// naming the target by its name, or by its file when it has none.
UiText replaceQuestion(const bank::SoundResource& target, const GameStrings& strings);

// Answers the question: true for OK.
using DropConfirmation = std::function<bool(const UiText& question)>;

// The whole drop of the source bank's resource `sourceIndex` on the target
// bank's resource `targetIndex` (the two banks may be one). On OK the
// target copies the source and holds a key to the bank file the bytes lie
// in: the source's own link when it was itself pasted from another bank,
// else the source bank.
DropOutcome dropResource(bank::SoundBank& sourceBank, std::size_t sourceIndex, bank::SoundBank& targetBank,
                         std::size_t targetIndex, LinkTable& links, const GameStrings& strings,
                         const DropConfirmation& confirm, DropRefusal* refusal = nullptr);

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
