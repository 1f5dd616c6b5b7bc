// Writing a sound in the editor's format (22050 Hz, mono, 16 bits) sample
// by sample into a temporary file beside the target, which takes the
// target's place only once it is complete: a failure leaves any earlier
// file there as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file.h"

namespace calyx::audio {

class EditorWavWriter {
public:
    EditorWavWriter() = default;
    EditorWavWriter(const EditorWavWriter&) = delete;
    EditorWavWriter& operator=(const EditorWavWriter&) = delete;
    // A file never finished is deleted.
    ~EditorWavWriter();

    // Creates the temporary file for `target` and writes a header into it.
    bool create(std::string_view target);
    // False once `moreFrames` would make the sound outgrow what a WAV file
    // can describe.
    bool fits(std::size_t moreFrames) const;
    // Appends the first `count` samples (full scale is ±1; beyond it clips).
    bool append(const std::vector<float>& samples, std::size_t count);
    // Completes the header and puts the file in the target's place.
    bool finish();

private:
    bool write(const void* data, std::size_t length);

    platform::File file_;
    std::string target_;
    std::string tempHost_;
    std::uint64_t dataBytes_ = 0;
    std::vector<std::uint8_t> pcm_;
};

}  // namespace calyx::audio
