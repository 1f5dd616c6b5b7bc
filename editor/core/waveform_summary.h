// The shape of a sample drawn at a given width: for each pixel column, the
// lowest and highest 16-bit value among the frames that fall in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace calyx::editor {

struct WaveColumn {
    std::int16_t low = 0;
    std::int16_t high = 0;
    bool operator==(const WaveColumn&) const = default;
};

// `sample` is 16-bit little-endian mono; a trailing odd byte is no frame.
// Column c covers frames [c*n/columns, (c+1)*n/columns); when there are
// fewer frames than columns, a column shows the frame under it. No frames
// or no columns: nothing.
std::vector<WaveColumn> summarizeWaveform(std::span<const std::uint8_t> sample, std::size_t columns);

}  // namespace calyx::editor
