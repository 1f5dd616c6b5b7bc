// The undo history of a bank document: each change of the user's as one
// step that puts every resource it changed back as it was (undo) or as the
// change left it (redo). A step is what the bank groups as one change (an
// edit dialog's OK, a drop, a folder taken in), or a change made outside
// any group. A state keeps the bank file a paste reads by its path, not by
// its key: an undone paste gives its key back to the table, a redone one
// takes it again. Steps last as long as the document; a save keeps them,
// and the step the document was last opened or saved at is its clean
// point, where it counts as unmodified.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "bank/sound_bank.h"
#include "editor/core/converted_copies.h"
#include "editor/core/interface_language.h"
#include "editor/core/link_table.h"

namespace calyx::editor {

enum class StepKind { Volume, Sound, Paste, Reset, FolderImport, Changes };

struct StepName {
    StepKind kind = StepKind::Changes;
    // The resource's name, or the folder taken in (UTF-8).
    std::string subject;
    bool operator==(const StepName&) const = default;
};

// "volume of Horn", in `language`.
std::string stepText(const StepName& name, InterfaceLanguage language);
// The Edit menu's items: "&Undo volume of Horn", "&Redo volume of Horn".
std::string undoItemText(const StepName& name, InterfaceLanguage language);
std::string redoItemText(const StepName& name, InterfaceLanguage language);

class UndoHistory {
public:
    UndoHistory(bank::SoundBank& bank, LinkTable& links);
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // No steps; the bank as it is now is the clean point.
    void reset();
    // A history that is off records nothing and keeps nothing (calyx-cli
    // saves once and never undoes).
    void setEnabled(bool enabled);

    // What the document hears of its bank: the outermost change group
    // begins and ends, a resource changed.
    void beginStep();
    void endStep();
    void resourceChanged(std::size_t index);
    // Names the step now open (a folder taken in is named by its folder).
    void nameStep(StepName name) { openName_ = std::move(name); }

    bool canUndo();
    bool canRedo();
    std::optional<StepName> undoName();
    std::optional<StepName> redoName();
    // False when there is nothing to undo or redo.
    bool undo();
    bool redo();
    bool atCleanPoint() const { return clean_ && *clean_ == position_; }
    std::size_t stepCount() const { return steps_.size(); }

    // Just before the bank is saved, with the resources whose bytes the save
    // keeps: a state that reads a sample the save is about to write over
    // reads a copy of it instead, kept in a folder made below `baseFolder`.
    void beforeSave(const std::vector<bool>& kept, const std::string& baseFolder);
    // The save succeeded: the clean point is here.
    void saved();

private:
    struct ResourceState {
        bank::EditState edit;  // its link key left 0: `linkPath` stands for it
        int volume = 0;        // as shown and saved, whatever the record says later
        std::optional<std::string> linkPath;
        std::optional<PasteOrigins::Origin> origin;
        bool sameSample(const ResourceState& other) const;
        bool sameVolume(const ResourceState& other) const;
    };
    struct Change {
        std::size_t index;
        ResourceState before, after;
    };
    struct Step {
        StepName name;
        std::vector<Change> changes;
    };

    ResourceState stateOf(std::size_t index) const;
    void snapshotAll();
    void closeImplicitStep();
    void closeStep();
    StepName nameOf(const std::vector<Change>& changes) const;
    void put(const Change& change, const ResourceState& state);
    // Reads the sample resource `index` stores now into a kept WAV file.
    std::optional<std::string> keepStoredSample(std::size_t index, const std::string& baseFolder);

    bank::SoundBank& bank_;
    LinkTable& links_;
    std::vector<ResourceState> current_;
    std::vector<std::size_t> touched_;
    bool explicitOpen_ = false;
    bool implicitOpen_ = false;
    std::optional<StepName> openName_;
    bool applying_ = false;
    bool enabled_ = true;
    std::vector<Step> steps_;
    std::size_t position_ = 0;
    std::optional<std::size_t> clean_ = 0;
    // The converted copies, files taken in and kept samples that states read.
    ConvertedCopies keptFiles_;
};

}  // namespace calyx::editor
