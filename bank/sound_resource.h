// One resource of a bank: its record as stored, plus the editing state that
// the next save turns into bytes (replacement, volume, loop, link to the
// bank or file its new data comes from), plus the name and description that
// the bank's name script gives it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bank/resource_record.h"
#include "bank/sample_source.h"

namespace calyx::audio {
struct WaveDeviceLink;
}

namespace calyx::bank {

class SoundBank;

// Bits of `linkFlags()`.
enum LinkFlag : std::uint32_t {
    fromBank = 0x1,           // the new data lives in another bank file
    pasted = 0x2,             // the resource was filled by a paste
    sourceIsPlainFile = 0x4,  // the new data is the whole payload of a plain file
};

// The text a record uses for "no file".
inline constexpr std::string_view noFileName = "xxxxxxxxxxxx";
// What the list shows as the file of a CD track.
inline constexpr std::string_view cdAudioFileName = "<CD audio>";

// What editing gives a resource, apart from its record: what an undo puts
// back. Equal states show and save the same.
struct EditState {
    int volumeOverride = -1;
    bool replaced = false;
    std::optional<std::string> replacementPath;
    std::uint32_t currentSize = 0;
    std::uint32_t loopStart = 0, loopEnd = 0;
    std::uint32_t linkFlags = 0;
    LinkKey linkKey = 0;
    std::int64_t sourceOffset = 0;
    SourceArea sourceArea = SourceArea::MainArea;
    bool sourceIsWav = false;
    bool operator==(const EditState&) const = default;
};

class SoundResource {
public:
    static constexpr std::size_t nameMax = 19;
    static constexpr std::size_t commentMax = 99;

    SoundResource() = default;
    SoundResource(const SoundResource&) = delete;
    SoundResource& operator=(const SoundResource&) = delete;

    // Accessors answer for kind 1 only (0 for any other kind) unless said.
    std::int64_t idOrNone() const;  // the id; -1 for kind 0
    std::uint32_t kind() const { return record_.kind(); }
    bool isSample() const { return kind() == static_cast<std::uint32_t>(ResourceKind::Sample); }
    bool isStored() const { return isSample() && record_.stored() != 0; }
    bool isExternal() const { return isSample() && record_.external() != 0; }
    bool isLooping() const { return isSample() && record_.looping() != 0; }
    bool isReplaced() const { return isSample() && replaced_; }
    std::uint32_t dataSize() const;
    std::uint32_t storedSize() const { return isSample() ? record_.dataSize() : 0; }
    // The size the data takes in a saved bank; also stores it in
    // `currentSize` and the difference in `padBytes`.
    std::uint32_t paddedSize();
    int volume() const;  // -1 for kind 0
    void setVolume(int v);
    std::string volumeText() const;
    std::string displayFileName() const;
    std::string listFileName() const;
    void setNames(std::string_view name, std::string_view comment);
    const std::string& name() const { return name_; }
    const std::string& comment() const { return comment_; }

    void setReplacement(bool replaced, std::uint32_t size, std::optional<std::string> path);
    void setLoop(std::uint32_t start, std::uint32_t end);
    void setSourceOffset(std::int64_t offset) { sourceOffset_ = offset; }
    // Takes `source`'s data as it is at this moment: the bank it lies in, the
    // area and offset, or the WAV file of a pending replacement.
    void copyFrom(const SoundResource& source, bool fromBankFlag);
    void setFromBank(bool f);

    // Where the sample's bytes are now: the file of a pending replacement,
    // the bank a paste came from, or the bank's own bytes (or, for a sample
    // the bank does not store, the game's file of its name).
    SampleSource currentSource() const;
    // Where the record says the bytes are, whatever is pending.
    SampleSource storedSource() const;
    // The area the record's own offset counts from.
    SourceArea ownArea() const { return isExternal() && isStored() ? SourceArea::FileStart : SourceArea::MainArea; }

    // Loads the data into `buffer`: kind 1 only, and only when there is some.
    // `dataStart` is the main data area start of the bank at `path`, which
    // the caller found (a pending WAV file is the one the resource names);
    // `linkFlags` the flags to apply; `current` selects the replaced data.
    // 1 on success, 0 on any failure (the buffer is then empty).
    int readSample(std::uint32_t dataStart, const std::string& path, std::vector<std::uint8_t>& buffer,
                   std::uint32_t& length, std::uint32_t headerWordOffset, std::int64_t offset,
                   std::uint32_t linkFlags, bool current) const;

    // Plain state.
    LinkKey linkKey() const { return linkKey_; }
    void setLinkKey(LinkKey key) { linkKey_ = key; }
    audio::WaveDeviceLink* owner() const { return owner_; }
    void setOwner(audio::WaveDeviceLink* link) { owner_ = link; }
    std::uint32_t linkFlags() const { return linkFlags_; }
    void setLinkFlags(std::uint32_t flags) { linkFlags_ = flags; }
    std::int64_t sourceOffset() const { return sourceOffset_; }
    SourceArea sourceArea() const { return sourceArea_; }
    void setSourceArea(SourceArea area) { sourceArea_ = area; }
    // True when the new data is a WAV file's data chunk (an import, or a
    // paste from a resource with a pending import).
    bool sourceIsWav() const { return sourceIsWav_; }
    void setSourceIsWav(bool wav) { sourceIsWav_ = wav; }
    const ResourceRecord& record() const { return record_; }
    ResourceRecord& record() { return record_; }
    const std::optional<std::string>& replacementPath() const { return replacementPath_; }
    std::uint32_t currentSize() const { return currentSize_; }
    void setCurrentSize(std::uint32_t size) { currentSize_ = size; }
    int volumeOverride() const { return volumeOverride_; }
    std::uint32_t currentLoopStart() const { return currentLoopStart_; }
    std::uint32_t currentLoopEnd() const { return currentLoopEnd_; }
    std::int32_t padBytes() const { return padBytes_; }
    SoundBank* bank() const { return bank_; }

    // Connects the resource to its bank, whose listeners hear every change.
    void attachTo(SoundBank* bank) { bank_ = bank; }
    // Tells the bank's listeners that this resource changed.
    void notifyChange();

    EditState editState() const;
    // Puts `state` back whole, then tells the listeners once.
    void restoreEditState(const EditState& state);

    // Applies what a successful save wrote (the data now lies in the saved
    // file) and forgets the replacement and any link.
    void commitSaved(const ResourceRecord& written, bool fileNameSet);

private:
    friend class SoundBank;

    // The source the resource's state gives under `flags` at `offset`:
    // its present bytes when `current`, else the record's.
    SampleSource sourceFor(std::uint32_t flags, std::int64_t offset, bool current) const;

    LinkKey linkKey_ = 0;
    audio::WaveDeviceLink* owner_ = nullptr;
    std::uint32_t linkFlags_ = 0;
    std::int64_t sourceOffset_ = 0;
    SourceArea sourceArea_ = SourceArea::MainArea;
    bool sourceIsWav_ = false;
    ResourceRecord record_;
    bool replaced_ = false;
    std::optional<std::string> replacementPath_;
    std::uint32_t currentSize_ = 0;
    int volumeOverride_ = -1;
    std::uint32_t currentLoopStart_ = 0, currentLoopEnd_ = 0;
    std::int32_t padBytes_ = 0;
    SoundBank* bank_ = nullptr;
    std::string name_;
    std::string comment_;
};

}  // namespace calyx::bank
