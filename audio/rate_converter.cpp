#include "audio/rate_converter.h"

#include <algorithm>
#include <memory>
#include <type_traits>
#include <vector>

#include "audio/convert_result.h"
#include "audio/editor_wav_writer.h"
#include "audio/mono_wav_reader.h"
#include "audio/soxr_library.h"
#include "audio/wav_header.h"
#include "audio/wave_format.h"

namespace calyx::audio {
namespace {

struct SoxrDeleter {
    const SoxrLibrary* soxr;
    void operator()(soxr_t resampler) const { soxr->destroy(resampler); }
};
using Resampler = std::unique_ptr<std::remove_pointer_t<soxr_t>, SoxrDeleter>;

// Nothing when the resampler library is missing or refuses the rates.
Resampler makeResampler(std::uint32_t inputRate) {
    const SoxrLibrary* soxr = SoxrLibrary::system();
    if (!soxr) return Resampler(nullptr, SoxrDeleter{nullptr});
    soxr_error_t error = nullptr;
    // No specs: the library's defaults are float samples in and out, high quality.
    Resampler resampler(soxr->create(inputRate, editorSampleRate, 1, &error, nullptr, nullptr, nullptr),
                        SoxrDeleter{soxr});
    if (error) resampler.reset();
    return resampler;
}

}  // namespace

ConvertResult convertRate(MonoWavReader& reader, EditorWavWriter& writer) {
    const std::uint32_t rate = reader.format().sampleRate;
    // The expected length is known before any work: refuse what cannot fit.
    const std::uint64_t expected = reader.format().frames * editorSampleRate / rate;
    if (expected > maxWavDataLength / editorBlockAlign) return ConvertResult::TooLong;

    std::vector<float> input(reader.framesPerBlock());
    Resampler resampler(nullptr, SoxrDeleter{nullptr});
    if (rate != editorSampleRate) {
        resampler = makeResampler(rate);
        if (!resampler) return ConvertResult::ResampleFailed;
    }
    // Room for one block's output, with the resampler's delay on top.
    std::vector<float> output(input.size() * editorSampleRate / rate + 4096);
    auto emit = [&writer, &output](std::size_t count) {
        if (!writer.fits(count)) return ConvertResult::TooLong;
        return writer.append(output, count) ? ConvertResult::Ok : ConvertResult::WriteFailed;
    };
    for (;;) {
        const std::ptrdiff_t got = reader.read(input);
        if (got < 0) return ConvertResult::ReadFailed;
        const bool last = got == 0;
        if (!resampler) {
            if (last) return ConvertResult::Ok;
            std::copy_n(input.begin(), got, output.begin());
            if (const ConvertResult r = emit(static_cast<std::size_t>(got)); r != ConvertResult::Ok) return r;
            continue;
        }
        // Input 0 frames with a null pointer drains the resampler.
        std::size_t offset = 0;
        do {
            std::size_t used = 0, made = 0;
            const float* in = last ? nullptr : input.data() + offset;
            if (resampler.get_deleter().soxr->process(resampler.get(), in, last ? 0 : static_cast<std::size_t>(got) - offset, &used,
                             output.data(), output.size(), &made))
                return ConvertResult::ResampleFailed;
            offset += used;
            if (!last && used == 0 && made == 0) return ConvertResult::ResampleFailed;
            if (const ConvertResult r = emit(made); r != ConvertResult::Ok) return r;
            if (last && made == 0) return ConvertResult::Ok;
        } while (last || offset < static_cast<std::size_t>(got));
    }
}

}  // namespace calyx::audio
