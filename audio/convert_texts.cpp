#include "audio/convert_texts.h"

#include "audio/convert_result.h"

namespace calyx::audio {

std::string describeFormat(const SampleFormat& format) {
    std::string text = std::to_string(format.sampleRate) + " Hz, ";
    text += format.channels == 1 ? "mono" : format.channels == 2 ? "stereo" : std::to_string(format.channels) + " channels";
    text += ", " + std::to_string(format.bitsPerSample) + "-bit " + (format.isFloat ? "float" : "integer");
    return text;
}

std::string_view convertResultText(ConvertResult result) {
    switch (result) {
    case ConvertResult::Ok: return "converted";
    case ConvertResult::NotSupported:
        return "not a WAV file of PCM or float samples (8, 16, 24 or 32-bit integer, 32 or 64-bit float, "
               "1000 to 768000 Hz)";
    case ConvertResult::CannotOpen: return "cannot be opened";
    case ConvertResult::ReadFailed: return "cannot be read (the file ends early or a read failed)";
    case ConvertResult::WriteFailed: return "the converted file cannot be written";
    case ConvertResult::TooLong: return "too long: the converted sound would exceed 4 GiB";
    case ConvertResult::ResampleFailed: return "the sample rate could not be converted";
    }
    return "internal error";
}

}  // namespace calyx::audio
