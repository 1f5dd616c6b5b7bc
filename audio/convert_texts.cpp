#include "audio/convert_texts.h"

#include "audio/convert_result.h"

namespace calyx::audio {

std::string describeFormat(const SampleFormat& format) {
    std::string text = std::to_string(format.sampleRate) + " Hz, ";
    text += format.channels == 1 ? "mono" : format.channels == 2 ? "stereo" : std::to_string(format.channels) + " channels";
    text += ", " + std::to_string(format.bitsPerSample) + "-bit " + (format.isFloat ? "float" : "integer");
    return text;
}

std::string_view convertResultText(int code) {
    switch (code) {
    case convert_result::ok: return "converted";
    case convert_result::notSupported:
        return "not a WAV file of PCM or float samples (8, 16, 24 or 32-bit integer, 32 or 64-bit float, "
               "1000 to 768000 Hz)";
    case convert_result::cannotOpen: return "cannot be opened";
    case convert_result::readFailed: return "cannot be read (the file ends early or a read failed)";
    case convert_result::writeFailed: return "the converted file cannot be written";
    case convert_result::tooLong: return "too long: the converted sound would exceed 4 GiB";
    case convert_result::resampleFailed: return "the sample rate could not be converted";
    default: return "internal error";
    }
}

}  // namespace calyx::audio
