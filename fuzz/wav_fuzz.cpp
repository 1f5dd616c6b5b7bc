// A WAV file from outside, read as an import and a bank save read it: its
// chunks walked to the samples, the samples read, the data chunk located.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "audio/wav_file.h"
#include "fuzz_support.h"

namespace {

// Enough samples to cross the stream's buffer a few times.
constexpr std::uint32_t maxRead = 1u << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace calyx;
    const std::string path = fuzz::writeInput("input.wav", fuzz::asText(data, size));

    audio::WaveFormat format;
    std::uint32_t dataLength = 0;
    audio::WavResult opened = audio::WavResult::Ok;
    std::int64_t remaining = 0;
    {
        audio::WavFile wav;
        opened = wav.openWav(path, format, dataLength);
        fuzz::check(opened >= audio::WavResult::Ok && opened <= audio::WavResult::ReadFailed,
                    "openWav answers one of its results");
        if (opened == audio::WavResult::Ok) {
            remaining = wav.remainingBytes();
            fuzz::check(remaining >= 0 && remaining <= static_cast<std::int64_t>(size),
                        "the samples lie inside the file");
            // A caller reads no more than the file holds.
            const std::uint32_t length = static_cast<std::uint32_t>(
                std::min<std::int64_t>({std::int64_t{dataLength}, remaining, std::int64_t{maxRead}}));
            std::vector<std::uint8_t> samples(length);
            fuzz::check(wav.readData(length, samples.data()) == 1, "bytes the file holds can be read");
            std::uint8_t beyond = 0;
            if (std::int64_t{length} == remaining)
                fuzz::check(wav.readData(1, &beyond) != 1, "no byte is read past the end");
            wav.closeWav();
        }
    }

    std::int64_t offset = -1;
    std::uint32_t locatedLength = 0;
    audio::WaveFormat locatedFormat;
    std::int64_t fileLength = -1;
    const audio::WavResult located = audio::locateWavData(path, offset, locatedLength, &locatedFormat, &fileLength);
    fuzz::check(located == opened, "locating the data agrees with opening the file");
    if (located == audio::WavResult::Ok) {
        fuzz::check(fileLength == static_cast<std::int64_t>(size), "the file's real length");
        fuzz::check(offset >= 0 && offset + remaining == fileLength, "the data offset");
        fuzz::check(locatedLength == dataLength && locatedFormat == format, "the same data chunk");
    }
    std::int64_t chunkOffset = 0;
    std::uint32_t chunkLength = 0;
    fuzz::check(audio::findWavDataChunk(path, chunkOffset, chunkLength) ==
                    (located == audio::WavResult::Ok),
                "the bank's locator agrees");
    return 0;
}
