#include "editor/core/waveform_summary.h"

#include <algorithm>
#include <array>

#include "platform/byte_order.h"

namespace calyx::editor {
namespace {

std::int16_t frameAt(const std::uint8_t* bytes, std::size_t frame) {
    return static_cast<std::int16_t>(platform::readLe16(bytes + 2 * frame));
}

// Lowest and highest value of frames [first, last), last > first.
WaveColumn spanOf(const std::uint8_t* bytes, std::size_t first, std::size_t last) {
    // Blocks of a fixed number of frames, each frame in its own lane: a loop
    // the compiler turns into vector instructions at the usual optimisation
    // level, which matters for samples of several megabytes.
    constexpr std::size_t lanes = 32;
    std::array<std::int16_t, lanes> low, high;
    low.fill(frameAt(bytes, first));
    high = low;
    std::size_t i = first;
    for (; last - i >= lanes; i += lanes) {
        for (std::size_t k = 0; k < lanes; ++k) {
            const std::int16_t v = frameAt(bytes, i + k);
            low[k] = std::min(low[k], v);
            high[k] = std::max(high[k], v);
        }
    }
    for (; i < last; ++i) {
        const std::int16_t v = frameAt(bytes, i);
        low[0] = std::min(low[0], v);
        high[0] = std::max(high[0], v);
    }
    return {*std::min_element(low.begin(), low.end()), *std::max_element(high.begin(), high.end())};
}

}  // namespace

std::vector<WaveColumn> summarizeWaveform(std::span<const std::uint8_t> sample, std::size_t columns) {
    const std::size_t frames = sample.size() / 2;
    std::vector<WaveColumn> result;
    if (frames == 0 || columns == 0) return result;
    result.reserve(columns);
    for (std::size_t c = 0; c < columns; ++c) {
        // 64-bit products: a 4 GiB sample times a few thousand columns fits.
        const std::size_t first = static_cast<std::size_t>(std::uint64_t{c} * frames / columns);
        std::size_t last = static_cast<std::size_t>(std::uint64_t{c + 1} * frames / columns);
        last = std::max(last, first + 1);
        result.push_back(spanOf(sample.data(), first, last));
    }
    return result;
}

}  // namespace calyx::editor
