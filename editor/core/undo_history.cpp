#include "editor/core/undo_history.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "audio/wav_file.h"
#include "editor/core/current_sample.h"
#include "editor/core/export_all.h"
#include "editor/core/newer_texts.h"
#include "editor/core/resource_drop.h"
#include "editor/core/ui_text.h"
#include "platform/path.h"

namespace calyx::editor {
namespace {

const TwoLanguageText& textOf(StepKind kind) {
    switch (kind) {
    case StepKind::Volume: return newer_text::volumeStep;
    case StepKind::Sound: return newer_text::soundStep;
    case StepKind::Paste: return newer_text::pasteStep;
    case StepKind::Reset: return newer_text::resetStep;
    case StepKind::FolderImport: return newer_text::folderImportStep;
    case StepKind::Changes: break;
    }
    return newer_text::changesStep;
}

std::string filledIn(std::string_view format, std::string_view argument) {
    return formatWithArgument(UiText::builtIn(format), argument);
}

// The name the user knows a resource by: its name, else its file, else its index.
std::string subjectOf(const bank::SoundResource& resource, std::size_t index) {
    if (!resource.name().empty()) return latin1ToUtf8(resource.name());
    if (const std::string file = resource.listFileName(); !file.empty()) return latin1ToUtf8(file);
    return std::to_string(index);
}

}  // namespace

std::string stepText(const StepName& name, InterfaceLanguage language) {
    return filledIn(textOf(name.kind).in(language), name.subject);
}

namespace {

// A menu item's text: an ampersand of a name shows as one.
std::string itemText(std::string_view format, const StepName& name, InterfaceLanguage language) {
    std::string step;
    for (const char c : stepText(name, language)) step += c == '&' ? std::string("&&") : std::string(1, c);
    return filledIn(format, step);
}

}  // namespace

std::string undoItemText(const StepName& name, InterfaceLanguage language) {
    return itemText(newer_text::undoStep.in(language), name, language);
}

std::string redoItemText(const StepName& name, InterfaceLanguage language) {
    return itemText(newer_text::redoStep.in(language), name, language);
}

bool UndoHistory::ResourceState::sameSample(const ResourceState& other) const {
    bank::EditState mine = edit, theirs = other.edit;
    mine.volumeOverride = theirs.volumeOverride = -1;
    return mine == theirs && linkPath == other.linkPath;
}

bool UndoHistory::ResourceState::sameVolume(const ResourceState& other) const {
    return volume == other.volume && edit.volumeOverride == other.edit.volumeOverride;
}

UndoHistory::UndoHistory(bank::SoundBank& bank, LinkTable& links) : bank_(bank), links_(links) {}

void UndoHistory::reset() {
    steps_.clear();
    position_ = 0;
    clean_ = 0;
    touched_.clear();
    explicitOpen_ = implicitOpen_ = false;
    openName_.reset();
    keptFiles_.discardAll();
    snapshotAll();
}

void UndoHistory::setEnabled(bool enabled) {
    enabled_ = enabled;
    reset();
}

UndoHistory::ResourceState UndoHistory::stateOf(std::size_t index) const {
    const bank::SoundResource& r = *bank_.resourceAt(index);
    ResourceState state{r.editState(), r.volume(), std::nullopt, std::nullopt};
    if (state.edit.linkKey != 0) state.linkPath = links_.pathOf(state.edit.linkKey);
    state.edit.linkKey = 0;
    state.origin = links_.origins().originOf(r);
    return state;
}

void UndoHistory::snapshotAll() {
    current_.clear();
    if (!enabled_) return;
    for (std::size_t i = 0; i < bank_.resourceCount(); ++i) current_.push_back(stateOf(i));
}

void UndoHistory::beginStep() {
    if (!enabled_) return;
    closeImplicitStep();
    // What changed without telling (a paste following its source's save)
    // is no part of the step.
    snapshotAll();
    explicitOpen_ = true;
}

void UndoHistory::endStep() {
    if (!explicitOpen_) return;
    explicitOpen_ = false;
    closeStep();
}

void UndoHistory::resourceChanged(std::size_t index) {
    if (applying_ || index >= current_.size()) return;
    if (!explicitOpen_) implicitOpen_ = true;
    if (std::find(touched_.begin(), touched_.end(), index) == touched_.end()) touched_.push_back(index);
}

void UndoHistory::closeImplicitStep() {
    if (!implicitOpen_) return;
    implicitOpen_ = false;
    closeStep();
}

void UndoHistory::closeStep() {
    std::vector<Change> changes;
    std::sort(touched_.begin(), touched_.end());
    for (const std::size_t index : touched_) {
        ResourceState after = stateOf(index);
        if (after.sameSample(current_[index]) && after.sameVolume(current_[index])) continue;
        changes.push_back({index, current_[index], after});
        current_[index] = std::move(after);
    }
    touched_.clear();
    std::optional<StepName> name = std::move(openName_);
    openName_.reset();
    if (changes.empty()) return;
    for (const Change& change : changes) {
        for (const ResourceState* state : {&change.before, &change.after})
            if (state->edit.replacementPath) keptFiles_.adopt(*state->edit.replacementPath);
    }
    // A new step ends the steps undone before it, and with them a clean
    // point among them.
    steps_.resize(position_);
    if (clean_ && *clean_ > position_) clean_.reset();
    steps_.push_back({name ? *name : nameOf(changes), std::move(changes)});
    ++position_;
}

StepName UndoHistory::nameOf(const std::vector<Change>& changes) const {
    if (changes.size() != 1) return {StepKind::Changes, {}};
    const Change& change = changes.front();
    const std::string subject = subjectOf(*bank_.resourceAt(change.index), change.index);
    if (change.before.sameSample(change.after)) return {StepKind::Volume, subject};
    const bank::EditState& after = change.after.edit;
    if (!after.replaced) return {StepKind::Reset, subject};
    if (after.linkFlags & bank::pasted) return {StepKind::Paste, subject};
    return {StepKind::Sound, subject};
}

bool UndoHistory::canUndo() {
    closeImplicitStep();
    return position_ > 0;
}

bool UndoHistory::canRedo() {
    closeImplicitStep();
    return position_ < steps_.size();
}

std::optional<StepName> UndoHistory::undoName() {
    if (!canUndo()) return std::nullopt;
    return steps_[position_ - 1].name;
}

std::optional<StepName> UndoHistory::redoName() {
    if (!canRedo()) return std::nullopt;
    return steps_[position_].name;
}

void UndoHistory::put(const Change& change, const ResourceState& state) {
    bank::SoundResource& r = *bank_.resourceAt(change.index);
    bank::EditState edit = r.editState();
    // Only what the step changed is put back: a volume step leaves the
    // sample as it is now, and the other way round.
    if (!change.before.sameSample(change.after)) {
        releaseLinkKey(r, links_);
        const int volumeOverride = edit.volumeOverride;
        edit = state.edit;
        edit.volumeOverride = volumeOverride;
        edit.linkKey = state.linkPath ? links_.acquire(state.linkPath) : 0;
    }
    if (!change.before.sameVolume(change.after)) {
        edit.volumeOverride = state.edit.volumeOverride;
        // A save since wrote the volume into the record: the volume is kept
        // as it was shown.
        const int shown = edit.volumeOverride != -1 ? edit.volumeOverride : r.record().volume();
        if (shown != state.volume) edit.volumeOverride = state.volume;
    }
    applying_ = true;
    r.restoreEditState(edit);
    applying_ = false;
    if (!change.before.sameSample(change.after) && state.origin) links_.origins().restore(r, *state.origin);
    current_[change.index] = stateOf(change.index);
}

bool UndoHistory::undo() {
    if (!canUndo()) return false;
    const Step& step = steps_[--position_];
    for (auto change = step.changes.rbegin(); change != step.changes.rend(); ++change) put(*change, change->before);
    return true;
}

bool UndoHistory::redo() {
    if (!canRedo()) return false;
    const Step& step = steps_[position_++];
    for (const Change& change : step.changes) put(change, change.after);
    return true;
}

std::optional<std::string> UndoHistory::keepStoredSample(std::size_t index, const std::string& baseFolder) {
    const bank::SoundResource& r = *bank_.resourceAt(index);
    std::optional<std::vector<std::uint8_t>> bytes;
    const SampleToRead stored{std::nullopt, 0, r.storedSource()};
    if (readSample(bank_, stored, bank_.sourceBankResolver(), bytes) != WavError::None || !bytes) return std::nullopt;
    std::error_code error;
    const std::string base = baseFolder.empty() ? std::filesystem::temp_directory_path(error).string() : baseFolder;
    const std::string folder = base.empty() ? std::string() : makePrivateFolder(base);
    if (folder.empty()) return std::nullopt;
    // Under the record's own file name, which a save of it records again.
    const std::string recorded = latin1ToUtf8(r.listFileName());
    const std::string name(platform::lastComponent(recorded));
    const std::string path = platform::hostPathIn(folder, audio::hasWavExtension(name) ? name : exportFileName(index, r));
    if (writeSampleWav(path, *bytes) != WavError::None) {
        std::filesystem::remove_all(folder, error);
        return std::nullopt;
    }
    keptFiles_.keep(path, recorded);
    return path;
}

void UndoHistory::beforeSave(const std::vector<bool>& kept, const std::string& baseFolder) {
    closeImplicitStep();
    for (std::size_t index = 0; index < current_.size() && index < kept.size(); ++index) {
        const bank::SoundResource& r = *bank_.resourceAt(index);
        if (kept[index] || !r.isStored() || r.storedSource().kind != bank::SourceKind::OwnBank) continue;
        // The states that read the bank's own bytes of this resource.
        std::vector<ResourceState*> readingStored;
        for (Step& step : steps_) {
            for (Change& change : step.changes) {
                if (change.index != index) continue;
                for (ResourceState* state : {&change.before, &change.after})
                    if (!state->edit.replaced) readingStored.push_back(state);
            }
        }
        if (readingStored.empty()) continue;
        const auto copy = keepStoredSample(index, baseFolder);
        // Unreadable now, the bytes are lost to an undo either way.
        if (!copy) continue;
        for (ResourceState* state : readingStored) {
            state->edit.replaced = true;
            state->edit.replacementPath = *copy;
            state->edit.currentSize = r.storedSize();
            state->edit.linkFlags = 0;
            state->edit.sourceOffset = 0;
            state->edit.sourceArea = bank::SourceArea::MainArea;
            state->edit.sourceIsWav = false;
            state->linkPath.reset();
            state->origin.reset();
        }
    }
}

void UndoHistory::saved() {
    clean_ = position_;
    // The save rewrote the records: the states now are as it left them.
    snapshotAll();
}

}  // namespace calyx::editor
