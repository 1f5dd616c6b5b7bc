#include "editor/core/sample_preview.h"

#include <algorithm>

#include "audio/wave_format.h"
#include "editor/core/current_sample.h"

namespace calyx::editor {

double sampleSeconds(std::uint32_t bytes) {
    return static_cast<double>(bytes) / audio::editorFormat.avgBytesPerSec;
}

SamplePreview previewResource(const bank::SoundResource& resource, const bank::SoundBank& bank,
                              const LinkTable& links, std::size_t columns) {
    SamplePreview preview;
    switch (static_cast<bank::ResourceKind>(resource.kind())) {
    case bank::ResourceKind::CdAudio: preview.kind = PreviewKind::CdAudio; return preview;
    case bank::ResourceKind::Empty: preview.kind = PreviewKind::EmptySlot; return preview;
    case bank::ResourceKind::Sample: preview.kind = PreviewKind::Sample; break;
    default: return preview;
    }
    preview.size = resource.dataSize();
    preview.seconds = sampleSeconds(preview.size);
    if (resource.isLooping()) {
        preview.looping = true;
        preview.loopStart = std::min(resource.currentLoopStart(), preview.size);
        preview.loopEnd = std::clamp(resource.currentLoopEnd(), preview.loopStart, preview.size);
    }
    if (preview.size == 0) return preview;

    std::optional<std::vector<std::uint8_t>> bytes;
    preview.error =
        readCurrentSample(resource, bank, [&links](bank::LinkKey key) { return links.pathOf(key); }, bytes);
    if (preview.error == WavError::None && bytes) preview.columns = summarizeWaveform(std::span(*bytes), columns);
    return preview;
}

}  // namespace calyx::editor
