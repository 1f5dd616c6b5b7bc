#include "cli/converted_input.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/context.h"
#include "editor/core/converted_copies.h"
#include "platform/path.h"

namespace calyx::cli {

ConvertedInput::ConvertedInput(const std::string& hostInput, const std::string& shownInput) {
    std::error_code error;
    const auto temporary = std::filesystem::temp_directory_path(error);
    if (!error) folder_ = editor::makePrivateFolder(temporary.string());
    if (folder_.empty()) throw CommandFailure{"no temporary folder can be made for the converted file"};
    path_ = platform::hostPathIn(folder_, platform::lastComponent(hostInput));
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
