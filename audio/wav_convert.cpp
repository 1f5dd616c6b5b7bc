#include "audio/wav_convert.h"

#include "audio/editor_wav_writer.h"
#include "audio/rate_converter.h"

namespace calyx::audio {

ConvertResult readSampleFormat(std::string_view path, SampleFormat& format) {
    MonoWavReader reader;
    const ConvertResult result = reader.open(path);
    if (result == ConvertResult::Ok) format = reader.format();
    return result;
}

ConvertResult convertToEditorFormat(std::string_view inputPath, std::string_view outputPath, SampleFormat* source) {
    MonoWavReader reader;
    const ConvertResult opened = reader.open(inputPath);
    if (opened != ConvertResult::Ok) return opened;
    if (source) *source = reader.format();
    EditorWavWriter writer;
    if (!writer.create(outputPath)) return ConvertResult::WriteFailed;
    const ConvertResult result = convertRate(reader, writer);
    if (result != ConvertResult::Ok) return result;
    return writer.finish() ? ConvertResult::Ok : ConvertResult::WriteFailed;
}

}  // namespace calyx::audio
