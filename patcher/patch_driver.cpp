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

// Scripts and installers learn the outcome from the exit status: 0 only
// after the success box (or the usage), 1 after any error box.
constexpr int kExitPatched = 0;
constexpr int kExitFailed = 1;

bool isHelpRequest(std::string_view argument) {
    return argument == "--help" || argument == "-h" || argument == "/?";
}

// Why an argument cannot be used, before anything is changed: a version
// that does not fit the registry (a cut version would be a wrong one) and a
// program file that is a path, where the update's own file name is needed.
std::optional<std::string> refusedArgument(const std::vector<std::string>& arguments) {
    const std::string& program = arguments[0];
    if (program.empty() || program.find_first_of("\\/:") != std::string::npos)
        return "the program file \"" + program + "\" must be a file name of the update folder, not a path";
    const std::string& version = arguments[2];
    if (version.size() > kVersionCharacters)
        return "the version \"" + version + "\" has " + std::to_string(version.size()) +
               " characters; the registry keeps at most " + std::to_string(kVersionCharacters);
    return std::nullopt;
}

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
    if (arguments.size() == 1 && isHelpRequest(arguments[0])) {
        showUsage(texts::kUsage);
        return kExitPatched;
    }
    if (arguments.size() != 3 && arguments.size() != 4) {
        showMessageBox(texts::kIncorrectParameters, texts::kErrorCaption, MessageIcon::Stop);
        return kExitFailed;
    }
    if (const auto refusal = refusedArgument(arguments)) {
        showMessageBox(std::string(texts::kIncorrectParameters) + ": " + *refusal, texts::kErrorCaption,
                       MessageIcon::Stop);
        return kExitFailed;
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
        return kExitFailed;
    }
    const std::string ini = windows + std::string(texts::kIniBelowWindows);
    if (platform::File file; !file.open(ini, platform::File::Mode::Read)) {
        ShowAbort(texts::fillIn(texts::kIniUnreachable, {context.gameTitle, ini}),
                  reinstallAdvice(context.gameTitle));
        return kExitFailed;
    }

    const auto language = gameSetting(texts::kLanguageKey, kLanguageBuffer, ini);
    if (!language) {
        ShowAbort(texts::fillIn(texts::kNoLanguageKey, {ini}), reinstallAdvice(context.gameTitle));
        return kExitFailed;
    }
    context.language = *language;
    if (context.language == texts::kJapanese) {
        ShowAbort(texts::kJapaneseRefused, texts::kJapaneseHasIt);
        return kExitFailed;
    }
    context.gameTitle = platform::equalsNoCase(context.language, texts::kGerman) ? texts::kGermanTitle
                                                                                 : texts::kOtherTitle;

    const auto directory = gameSetting(texts::kDirectoryKey, kDirectoryBuffer, ini);
    if (!directory) {
        ShowAbort(texts::fillIn(texts::kNoDirectoryKey, {ini}), reinstallAdvice(context.gameTitle));
        return kExitFailed;
    }
    const std::string gameDirectory = platform::withTrailingSeparator(*directory);

    if (!PatchInstallation(gameDirectory, ini, context)) {
        showMessageBox(texts::fillIn(texts::kPatchFailed, {context.gameTitle}), texts::kErrorCaption,
                       MessageIcon::Information);
        return kExitFailed;
    }
    showMessageBox(texts::fillIn(texts::kPatched, {context.gameTitle}), texts::kSuccessCaption,
                   MessageIcon::Information);
    return kExitPatched;
}

}  // namespace calyx::patcher
