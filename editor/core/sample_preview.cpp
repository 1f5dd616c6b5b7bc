#include "editor/core/sample_preview.h"

#include <algorithm>

#include "audio/wave_format.h"
#include "editor/core/headless_dialog_view.h"
#include "editor/core/resource_edit_session.h"

namespace calyx::editor {

double sampleSeconds(std::uint32_t bytes) {
    return static_cast<double>(bytes) / audio::editorFormat.avgBytesPerSec;
}

SamplePreview previewResource(bank::SoundResource& resource, bank::SoundBank& bank, LinkTable& links,
                              const GameStrings& strings, std::size_t columns) {
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

    HeadlessDialogView view;
    ResourceEditSession session(view, links, strings);
    session.bind(resource, bank, nullptr);
    session.initialise();
    audio::WavFile reader;
    audio::WaveFormat format;
    preview.error = session.loadPlayBuffer(reader, format);
    const auto& bytes = session.state().playBuffer;
    if (preview.error == WavError::None && bytes) {
        const std::size_t length = std::min<std::size_t>(session.state().playLength, bytes->size());
        preview.columns = summarizeWaveform(std::span(bytes->data(), length), columns);
    }
    return preview;
}

}  // namespace calyx::editor
