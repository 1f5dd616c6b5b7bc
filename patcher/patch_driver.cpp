#include "patcher/patch_driver.h"

#include <optional>

#include "calyx_version.h"

#include "patcher/file_replacement.h"
#include "patcher/message_box.h"
#include "patcher/patch_context.h"
#include "patcher/patch_texts.h"
#include "platform/file.h"
#include "platform/path.h"
#include "platform/profile.h"

namespace calyx::patcher {
namespace {

constexpr std::size_t argumentCharacters = 20;
// The registry's version value holds at most this many characters.
constexpr std::size_t versionCharacters = 11;
constexpr std::size_t languageBuffer = 20;
constexpr std::size_t directoryBuffer = 256;

// Scripts and installers learn the outcome from the exit status: 0 only
// after the success box (or the usage), 1 after any error box.
constexpr int exitPatched = 0;
constexpr int exitFailed = 1;

bool isHelpRequest(std::string_view argument) {
    return argument == "--help" || argument == "-h" || argument == "/?";
}

// Besides the game's own argument rules, as --help is: any other count of
// arguments is still "Incorrect parameters".
bool isVersionRequest(std::string_view argument) { return argument == "--version"; }

// Why an argument cannot be used, before anything is changed: a version
// that does not fit the registry (a cut version would be a wrong one) and a
// program file that is a path, where the update's own file name is needed.
std::optional<std::string> refusedArgument(const std::vector<std::string>& arguments) {
    const std::string& program = arguments[0];
    if (program.empty() || program.find_first_of("\\/:") != std::string::npos)
        return "the program file \"" + program + "\" must be a file name of the update folder, not a path";
    const std::string& version = arguments[2];
    if (version.size() > versionCharacters)
        return "the version \"" + version + "\" has " + std::to_string(version.size()) +
               " characters; the registry keeps at most " + std::to_string(versionCharacters);
    return std::nullopt;
}

std::string reinstallAdvice(const std::string& title) {
    return std::string(texts::reinstallPrefix) + " " + title;
}

// A value read from the game's section, or nothing when it is empty or the
// "NULL" default.
std::optional<std::string> gameSetting(std::string_view key, std::size_t buffer, const std::string& ini) {
    std::string value = platform::getProfileString(texts::gameSection, key, texts::missingValue, buffer, ini);
    if (value.empty() || value == texts::missingValue) return std::nullopt;
    return value;
}

}  // namespace

int runPatcher(const std::vector<std::string>& arguments) {
    if (arguments.size() == 1 && isHelpRequest(arguments[0])) {
        showUsage(texts::usage);
        return exitPatched;
    }
    if (arguments.size() == 1 && isVersionRequest(arguments[0])) {
        showUsage(std::string("patcher ") + CALYX_VERSION + "\n");
        return exitPatched;
    }
    if (arguments.size() != 3 && arguments.size() != 4) {
        showMessageBox(texts::incorrectParameters, texts::errorCaption, MessageIcon::Stop);
        return exitFailed;
    }
    if (const auto refusal = refusedArgument(arguments)) {
        showMessageBox(std::string(texts::incorrectParameters) + ": " + *refusal, texts::errorCaption,
                       MessageIcon::Stop);
        return exitFailed;
    }
    PatchContext context;
    context.verbose = arguments.size() == 4;
    context.gameTitle = texts::unknownTitle;
    context.programFile = arguments[0].substr(0, argumentCharacters);
    context.secondArgument = arguments[1].substr(0, argumentCharacters);
    context.version = arguments[2];

    const std::string windows = platform::windowsDirectory();
    if (windows.empty()) {
        ShowAbort(texts::noWindowsDirectory, texts::systemError);
        return exitFailed;
    }
    const std::string ini = windows + std::string(texts::iniBelowWindows);
    if (platform::File file; !file.open(ini, platform::File::Mode::Read)) {
        ShowAbort(texts::fillIn(texts::iniUnreachable, {context.gameTitle, ini}),
                  reinstallAdvice(context.gameTitle));
        return exitFailed;
    }

    const auto language = gameSetting(texts::languageKey, languageBuffer, ini);
    if (!language) {
        ShowAbort(texts::fillIn(texts::noLanguageKey, {ini}), reinstallAdvice(context.gameTitle));
        return exitFailed;
    }
    context.language = *language;
    if (context.language == texts::japanese) {
        ShowAbort(texts::japaneseRefused, texts::japaneseHasIt);
        return exitFailed;
    }
    context.gameTitle = platform::equalsNoCase(context.language, texts::german) ? texts::germanTitle
                                                                                 : texts::otherTitle;

    const auto directory = gameSetting(texts::directoryKey, directoryBuffer, ini);
    if (!directory) {
        ShowAbort(texts::fillIn(texts::noDirectoryKey, {ini}), reinstallAdvice(context.gameTitle));
        return exitFailed;
    }
    const std::string gameDirectory = platform::withTrailingSeparator(*directory);

    if (!PatchInstallation(gameDirectory, ini, context)) {
        showMessageBox(texts::fillIn(texts::patchFailed, {context.gameTitle}), texts::errorCaption,
                       MessageIcon::Information);
        return exitFailed;
    }
    showMessageBox(texts::fillIn(texts::patched, {context.gameTitle}), texts::successCaption,
                   MessageIcon::Information);
    return exitPatched;
}

}  // namespace calyx::patcher
