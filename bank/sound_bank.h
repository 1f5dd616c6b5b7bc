// A sound bank in memory: the header as read, the resources and the opaque
// 32-byte records in file order, the names from the bank's name script, and
// what a save needs to write the bank anew.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bank/bank_error.h"
#include "bank/bank_stream.h"
#include "bank/listener_list.h"
#include "bank/name_table.h"
#include "bank/sound_resource.h"

namespace calyx::audio {
struct WaveDeviceLink;
}

namespace calyx::bank {

class BankArchive;
class BankWriter;

enum class BankFlavor { K7TQ, TQ2 };

// The first word of a bank of the first game.
inline constexpr std::uint32_t k7Magic = 0xAAAAAAAA;
inline constexpr std::uint32_t k7HeaderLength = 36;
inline constexpr std::uint32_t tq2HeaderLength = 44;
inline constexpr std::uint32_t auxRecordLength = 32;
// Header word offsets a paste reads from its source bank: the start of the
// main data area (h7) and of the external area (h9).
inline constexpr std::uint32_t mainAreaWordOffset = 28;
inline constexpr std::uint32_t externalAreaWordOffset = 36;

// What the copy of one resource's data came to; the numbers are the copy's
// result codes.
enum class DataCopyResult : int {
    Done = 0,            // copied, or nothing to copy
    ReadFailed = 1,      // the source could not be read
    SourceMissing = 2,   // the source could not be opened or positioned, or was empty
    NoMemory = 3,
};

// What `load` found.
enum class LoadResult {
    Loaded,        // the whole header and every record were read
    Truncated,     // the file ends inside the header or the records
    ImpossibleCounts,  // the header's counts describe more records than the file holds
};

using AuxRecord = std::array<std::uint8_t, auxRecordLength>;

class SoundBank {
public:
    using Header = std::array<std::uint32_t, 11>;
    using Listener = ListenerList<SoundResource&>::Listener;
    // Gives the path of the bank a pasted resource's data lives in.
    using SourceBankResolver = std::function<std::optional<std::string>(LinkKey linkKey)>;

    SoundBank() = default;
    SoundBank(const SoundBank&) = delete;
    SoundBank& operator=(const SoundBank&) = delete;
    ~SoundBank();

    void setGameInstallations(std::string k7Directory, std::string tq2Directory,
                              std::string k7Language, std::string tq2Language);
    LoadResult load(BankArchive& archive);
    // A save is written by a `BankWriter` (bank/bank_writer.h).
    // Copies the companion name file to the companion path of `newBankPath`
    // (through a temporary file) and makes `newBankPath` the bank's path.
    // 1 = copied, 0 = failed.
    int copyCompanionFile(const std::string& newBankPath);

    const std::optional<std::string>& bankPath() const { return bankPath_; }
    // The companion name file of the bank at `bankPath`: the same path with
    // its last letter replaced by 's' (".bnm" becomes ".bns").
    static std::string companionPath(std::string_view bankPath);
    // Where the main data area (h7) and the external data area (h9) start.
    std::uint32_t mainAreaStart() const { return header_[7]; }
    std::uint32_t externalAreaStart() const { return header_[9]; }
    // Hands the recorded error to `code` and clears it; true when there was one.
    bool takeError(BankError& code);
    void recordError(BankError code);
    BankError errorCode() const { return errorCode_; }

    bool forEachResource(const std::function<bool(SoundResource&)>& callback);
    bool forEachAuxRecord(const std::function<bool(AuxRecord&)>& callback);
    // Registers a listener for resource changes; answers its handle.
    int addChangeListener(Listener listener);
    void removeChangeListener(int handle);
    void notifyListeners(SoundResource& resource);
    // Several resource changes that the user makes as one (an edit dialog's
    // OK, a drop, a folder taken in): group listeners hear true as the
    // outermost group begins and false as it ends. Groups nest.
    void beginChangeGroup();
    void endChangeGroup();
    int addGroupListener(ListenerList<bool>::Listener listener) { return groupListeners_.add(std::move(listener)); }
    void removeGroupListener(int handle) { groupListeners_.remove(handle); }

    void setDeviceLink(audio::WaveDeviceLink* link) { deviceLink_ = link; }
    audio::WaveDeviceLink* deviceLink() const { return deviceLink_; }
    void setSourceBankResolver(SourceBankResolver resolver) { resolver_ = std::move(resolver); }
    const SourceBankResolver& sourceBankResolver() const { return resolver_; }

    std::size_t resourceCount() const { return resources_.size(); }
    std::size_t auxRecordCount() const { return auxRecords_.size(); }
    int indexOfResource(const SoundResource* resource) const;
    SoundResource* resourceAt(std::size_t i);
    const SoundResource* resourceAt(std::size_t i) const;
    std::string nameAt(std::size_t i) const;
    std::string commentAt(std::size_t i) const;
    std::string volumeTextAt(std::size_t i) const;
    int volumeAt(std::size_t i) const;
    std::string fileNameAt(std::size_t i) const;

    std::uint32_t magic() const { return magic_; }
    BankFlavor flavor() const { return magic_ == k7Magic ? BankFlavor::K7TQ : BankFlavor::TQ2; }
    std::uint32_t headerLength() const;
    const Header& header() const { return header_; }
    int savesInProgress() const { return savesInProgress_; }
    void raiseSavesInProgress() { ++savesInProgress_; }
    void lowerSavesInProgress() { --savesInProgress_; }
    const std::optional<std::string>& externalDataName() const { return externalDataName_; }

    const std::string& gameDirectory() const { return gameDirectory_; }
    const std::string& otherGameDirectory() const { return otherGameDirectory_; }
    const std::string& languageDirectory() const { return languageDirectory_; }
    // The game root to search in for candidate `index`, or the empty text.
    // `oneLess` is set when the mark 'a' of the first game's bank takes the
    // bank's own path, which leaves one candidate fewer.
    std::string candidateDirectory(int index, unsigned char kindMark, bool* oneLess = nullptr) const;
    // Looks for `fileName` in the game folders below `directory` in the nine
    // attempts' order. The path of the first file that opens, or nothing.
    std::optional<std::string> findFile(std::string_view fileName, std::string_view directory,
                                        unsigned char kindMark) const;
    // `findFile` with `searchMark` in the non-empty candidates 0, 1, ... for
    // `candidateMark`.
    std::optional<std::string> findInCandidates(std::string_view fileName,
                                                unsigned char candidateMark,
                                                unsigned char searchMark) const;

    // Finds the data chunk of a WAV file: the offset of its first sample byte
    // and its length. The audio module provides it; without one, WAV
    // replacements cannot be read.
    using WavDataLocator = std::function<bool(const std::string& path, std::int64_t& offset,
                                              std::uint32_t& length)>;
    void setWavDataLocator(WavDataLocator locator) { wavLocator_ = std::move(locator); }
    const WavDataLocator& wavDataLocator() const { return wavLocator_; }

    NameTable& nameTable() { return nameTable_; }
    // Gives every resource with an id its name and description, then
    // empties the name table.
    void assignNames();

    // For tests and tools that build banks in memory.
    void appendResourceForTest(std::unique_ptr<SoundResource> resource);

private:
    // Writes the bank anew and, once the new file is in place, rebases the
    // bank on it.
    friend class BankWriter;

    void chooseDirectories();
    void readNames();

    std::uint32_t magic_ = 0;
    Header header_{};
    audio::WaveDeviceLink* deviceLink_ = nullptr;
    SourceBankResolver resolver_;
    WavDataLocator wavLocator_;
    int savesInProgress_ = 0;
    std::optional<std::string> externalDataName_;
    BankError errorCode_ = BankError::None;
    // The resources are made together as the bank loads, in one block of
    // memory faulted in at once; a test may add one of its own.
    struct ResourceDeleter {
        bool inBlock = true;
        void operator()(SoundResource* resource) const;
    };
    std::vector<std::unique_ptr<std::byte[]>> resourceBlocks_;  // outlives the resources in it
    std::vector<std::unique_ptr<SoundResource, ResourceDeleter>> resources_;
    // Where indexOfResource() last found one (a save announces every
    // resource in turn, so the next is usually the one after it).
    mutable std::size_t lastIndexFound_ = 0;
    std::vector<AuxRecord> auxRecords_;
    ListenerList<SoundResource&> listeners_;
    ListenerList<bool> groupListeners_;
    int groupDepth_ = 0;
    std::optional<std::string> bankPath_;
    std::string k7Directory_, tq2Directory_, k7Language_, tq2Language_;
    std::string gameDirectory_, otherGameDirectory_, languageDirectory_;

    NameTable nameTable_;
};

// One change group of a bank for the life of the object.
class ChangeGroup {
public:
    explicit ChangeGroup(SoundBank& bank) : bank_(bank) { bank_.beginChangeGroup(); }
    ~ChangeGroup() { bank_.endChangeGroup(); }
    ChangeGroup(const ChangeGroup&) = delete;
    ChangeGroup& operator=(const ChangeGroup&) = delete;

private:
    SoundBank& bank_;
};

}  // namespace calyx::bank
