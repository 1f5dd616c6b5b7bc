#include "patcher/patch_driver.h"

#include <optional>

#include "patcher/file_replacement.h"
#include "patcher/message_box.h"
#include "patcher/patch_context.h"
#include "patcher/patch_texts.h"
#include "platform/file.h"
#include "platform/path.h"
#include "platform/profile.h"

namespace calyx::patcher {
namespace {

constexpr std::size_t kArgumentCharacters = 20;
// The registry's version value holds at most this many characters.
constexpr std::size_t kVersionCharacters = 11;
constexpr std::size_t kLanguageBuffer = 20;
constexpr std::size_t kDirectoryBuffer = 256;

std::string reinstallAdvice(const std::string& title) {
    return std::string(texts::kReinstallPrefix) + " " + title;
}

// A value read from the game's section, or nothing when it is empty or the
// "NULL" default.
std::optional<std::string> gameSetting(std::string_view key, std::size_t buffer, const std::string& ini) {
    std::string value = platform::getProfileString(texts::kGameSection, key, texts::kMissingValue, buffer, ini);
    if (value.empty() || value == texts::kMissingValue) return std::nullopt;
    return value;
}

}  // namespace

int runPatcher(const std::vector<std::string>& arguments) {
    // A version that does not fit the registry is refused, not cut: a cut
    // version would be a wrong one, and nothing has been changed yet.
    if ((arguments.size() != 3 && arguments.size() != 4) || arguments[2].size() > kVersionCharacters) {
        showMessageBox(texts::kIncorrectParameters, texts::kErrorCaption, MessageIcon::Stop);
        return 0;
    }
    PatchContext context;
    context.verbose = arguments.size() == 4;
    context.gameTitle = texts::kUnknownTitle;
    context.programFile = arguments[0].substr(0, kArgumentCharacters);
    context.secondArgument = arguments[1].substr(0, kArgumentCharacters);
    context.version = arguments[2];

    const std::string windows = platform::windowsDirectory();
    if (windows.empty()) {
        ShowAbort(texts::kNoWindowsDirectory, texts::kSystemError);
        return 0;
    }
    const std::string ini = windows + std::string(texts::kIniBelowWindows);
    if (platform::File file; !file.open(ini, platform::File::Mode::Read)) {
        ShowAbort(texts::fillIn(texts::kIniUnreachable, {context.gameTitle, ini}),
                  reinstallAdvice(context.gameTitle));
        return 0;
    }

    const auto language = gameSetting(texts::kLanguageKey, kLanguageBuffer, ini);
    if (!language) {
        ShowAbort(texts::fillIn(texts::kNoLanguageKey, {ini}), reinstallAdvice(context.gameTitle));
        return 0;
    }
    context.language = *language;
    if (context.language == texts::kJapanese) {
        ShowAbort(texts::kJapaneseRefused, texts::kJapaneseHasIt);
        return 0;
    }
    context.gameTitle = platform::equalsNoCase(context.language, texts::kGerman) ? texts::kGermanTitle
                                                                                 : texts::kOtherTitle;

    const auto directory = gameSetting(texts::kDirectoryKey, kDirectoryBuffer, ini);
    if (!directory) {
        ShowAbort(texts::fillIn(texts::kNoDirectoryKey, {ini}), reinstallAdvice(context.gameTitle));
        return 0;
    }
    const std::string gameDirectory = platform::withTrailingSeparator(*directory);

    if (PatchInstallation(gameDirectory, ini, context))
        showMessageBox(texts::fillIn(texts::kPatched, {context.gameTitle}), texts::kSuccessCaption,
                       MessageIcon::Information);
    else
        showMessageBox(texts::fillIn(texts::kPatchFailed, {context.gameTitle}), texts::kErrorCaption,
                       MessageIcon::Information);
    return 0;
}

}  // namespace calyx::patcher
