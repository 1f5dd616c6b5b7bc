// A WAV file from outside converted to the editor's format, as an import of
// a file of any PCM or float format converts it: the result opens as the
// editor's own format with every sample the data chunk promised.
#include <cstddef>
#include <cstdint>
#include <string>

#include "audio/wav_convert.h"
#include "audio/wav_file.h"
#include "fuzz_support.h"
#include "platform/file.h"

namespace {

// Conversions above these sizes take too long for a fuzzing run; they are no
// different in kind.
constexpr std::uint64_t maxInputSamples = 1u << 20;
constexpr std::uint64_t maxOutputFrames = 1u << 18;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace calyx;
    const std::string path = fuzz::writeInput("input.wav", fuzz::asText(data, size));
    const std::string outputPath = fuzz::scratchPath("converted.wav");
    platform::deleteFile(outputPath);

    audio::SampleFormat format;
    const audio::ConvertResult read = audio::readSampleFormat(path, format);
    fuzz::check(read >= audio::ConvertResult::Ok && read <= audio::ConvertResult::ResampleFailed,
                "readSampleFormat answers one of its results");
    if (read != audio::ConvertResult::Ok) return 0;
    audio::describeFormat(format);
    fuzz::check(format.channels > 0 && format.sampleRate > 0, "a format that was read has channels and a rate");
    fuzz::check(format.frames * format.channels * (format.bitsPerSample / 8) <= size,
                "the frames lie inside the file");
    if (format.frames * format.channels > maxInputSamples ||
        format.frames * audio::editorSampleRate / format.sampleRate > maxOutputFrames)
        return 0;

    audio::SampleFormat source;
    const audio::ConvertResult converted = audio::convertToEditorFormat(path, outputPath, &source);
    fuzz::check(converted >= audio::ConvertResult::Ok &&
                    converted <= audio::ConvertResult::ResampleFailed,
                "convertToEditorFormat answers one of its results");
    audio::convertResultText(converted);
    if (converted != audio::ConvertResult::Ok) {
        fuzz::check(!platform::fileExists(outputPath), "a failed conversion leaves no file");
        return 0;
    }

    audio::WavFile wav;
    audio::WaveFormat result;
    std::uint32_t dataLength = 0;
    fuzz::check(wav.openWav(outputPath, result, dataLength) == audio::WavResult::Ok,
                "the converted file opens");
    fuzz::check(audio::isAcceptedFormat(result), "the converted file has the editor's format");
    fuzz::check(wav.remainingBytes() == dataLength, "the converted file holds its data chunk");
    return 0;
}
