#include "audio/wav_convert.h"

#include "audio/editor_wav_writer.h"
#include "audio/rate_converter.h"

namespace calyx::audio {

int readSampleFormat(std::string_view path, SampleFormat& format) {
    MonoWavReader reader;
    const int result = reader.open(path);
    if (result == convert_result::ok) format = reader.format();
    return result;
}

int convertToEditorFormat(std::string_view inputPath, std::string_view outputPath, SampleFormat* source) {
    MonoWavReader reader;
    const int opened = reader.open(inputPath);
    if (opened != convert_result::ok) return opened;
    if (source) *source = reader.format();
    EditorWavWriter writer;
    if (!writer.create(outputPath)) return convert_result::writeFailed;
    const int result = convertRate(reader, writer);
    if (result != convert_result::ok) return result;
    return writer.finish() ? convert_result::ok : convert_result::writeFailed;
}

}  // namespace calyx::audio
