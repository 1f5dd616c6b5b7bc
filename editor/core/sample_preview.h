// What the preview pane shows of one resource: its kind, the size and
// duration of its sample as the next save would write it, its loop, and
// the waveform summary of those bytes. The bytes are read the way "Test
// current" of the edit dialog reads them (the bank's own sample, a pending
// WAV file's data chunk, a pasted sample in its source bank), and no more
// than the sample is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bank/sound_bank.h"
#include "editor/core/edit_results.h"
#include "editor/core/game_strings.h"
#include "editor/core/link_table.h"
#include "editor/core/waveform_summary.h"

namespace calyx::editor {

enum class PreviewKind { Sample, CdAudio, EmptySlot, Other };

struct SamplePreview {
    PreviewKind kind = PreviewKind::Other;
    std::uint32_t size = 0;  // bytes
    double seconds = 0;      // at the editor's 22050 Hz, mono, 16 bits
    bool looping = false;
    std::uint32_t loopStart = 0, loopEnd = 0;  // bytes, within `size`
    std::vector<WaveColumn> columns;
    // Why a sample's bytes could not be read; `None` when they were (or
    // there are none to read).
    WavError error = WavError::None;
};

double sampleSeconds(std::uint32_t bytes);

SamplePreview previewResource(const bank::SoundResource& resource, const bank::SoundBank& bank,
                              const LinkTable& links, std::size_t columns);

}  // namespace calyx::editor
