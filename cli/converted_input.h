// `import --convert`: the user's WAV file converted to the game's format
// into a private temporary folder, under the input's own file name (the
// bank records that name as the sample's file). The copy lives as long as
// the object, so it outlasts the save that reads its samples.
#pragma once

#include <string>

#include "audio/wav_convert.h"

namespace calyx::cli {

class ConvertedInput {
public:
    // Converts `hostInput` and says on standard output what it converted
    // from; throws CommandFailure (naming `shownInput`) when it cannot.
    ConvertedInput(const std::string& hostInput, const std::string& shownInput);
    ~ConvertedInput();
    ConvertedInput(const ConvertedInput&) = delete;
    ConvertedInput& operator=(const ConvertedInput&) = delete;

    // The converted copy (a host path).
    const std::string& path() const { return path_; }
    const audio::SampleFormat& source() const { return source_; }

private:
    std::string folder_;
    std::string path_;
    audio::SampleFormat source_;
};

}  // namespace calyx::cli
