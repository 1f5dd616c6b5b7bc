#include "cli/converted_input.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "cli/context.h"
#include "platform/path.h"

namespace calyx::cli {
namespace {

constexpr int folderAttempts = 20;

// A new folder of our own in the system's temporary folder.
std::string makePrivateFolder() {
    std::error_code error;
    const auto base = std::filesystem::temp_directory_path(error);
    if (error) return {};
    std::random_device random;
    for (int attempt = 0; attempt < folderAttempts; ++attempt) {
        const auto folder = base / ("calyx-convert-" + std::to_string(random()));
        if (std::filesystem::create_directory(folder, error)) return folder.string();
    }
    return {};
}

}  // namespace

ConvertedInput::ConvertedInput(const std::string& hostInput, const std::string& shownInput) {
    folder_ = makePrivateFolder();
    if (folder_.empty()) throw CommandFailure{"no temporary folder can be made for the converted file"};
    path_ = folder_ + "/" + std::string(platform::lastComponent(hostInput));
    const audio::ConvertResult result = audio::convertToEditorFormat(hostInput, path_, &source_);
    if (result != audio::ConvertResult::Ok) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        throw CommandFailure{shownInput + ": " + std::string(audio::convertResultText(result))};
    }
    std::printf("converted %s from %s to 22050 Hz, mono, 16-bit integer\n", shownInput.c_str(),
                audio::describeFormat(source_).c_str());
}

ConvertedInput::~ConvertedInput() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

}  // namespace calyx::cli
