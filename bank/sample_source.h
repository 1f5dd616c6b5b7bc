// Where a sample's bytes are: which file holds them (the bank itself,
// another bank, a WAV file, a plain game file), where in it, and how many.
// A resource says it once (`SoundResource::currentSource`); the save's
// layout and copy, the edit dialog's reading and the paste bookkeeping all
// go by that answer.
#pragma once

#include <cstdint>
#include <string>

namespace calyx::bank {

// The key a pasted resource holds into the table of the banks its data
// comes from (0: none).
using LinkKey = std::uint32_t;

// Where an offset in a bank file counts from: the start of that bank's main
// data area, or the start of the file (the external area of a bank with two
// areas holds absolute offsets).
enum class SourceArea : std::uint8_t { MainArea, FileStart };

// The marks `candidateDirectory` and `findFile` take: the bank script's, and
// the grave accent that asks for the first game's data folder.
inline constexpr unsigned char scriptMark = 255;
inline constexpr unsigned char graveMark = 0x60;

enum class SourceKind : std::uint8_t {
    OwnBank,    // the bank the resource belongs to
    OtherBank,  // another bank, known by the resource's link key
    Wav,        // the data chunk of a WAV file
    GameFile,   // the whole of a plain file of the game, found in its folders
};

struct SampleSource {
    SourceKind kind = SourceKind::OwnBank;
    LinkKey linkKey = 0;    // OtherBank
    std::string fileName;   // Wav, GameFile: the file as the resource names it
    // GameFile: the mark the game's folders are searched with.
    unsigned char searchMark = graveMark;
    // OwnBank, OtherBank: the area the offset counts from, and the offset.
    SourceArea area = SourceArea::MainArea;
    std::int64_t offset = 0;
    std::uint32_t ownSize = 0;     // the sample's own bytes
    std::uint32_t paddedSize = 0;  // the space they take in a saved bank

    bool inBankFile() const { return kind == SourceKind::OwnBank || kind == SourceKind::OtherBank; }
};

// The space `size` bytes take in a saved bank: a multiple of 4, or for pad
// mode 2 the multiple of 8 below it plus 8. A size at the top of the range
// stays as it is (such data cannot exist in a file; the copy says so).
std::uint32_t paddedSizeOf(std::uint32_t size, std::uint32_t padMode);

// True when two sources name the very same bytes (their padding may differ).
bool sameBytes(const SampleSource& a, const SampleSource& b);

}  // namespace calyx::bank
