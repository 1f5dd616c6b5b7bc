// where, export-all and convert: the installation found, and samples in
// and out of banks in bulk.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <system_error>

#include "audio/wav_convert.h"
#include "audio/wav_file.h"
#include "cli/commands.h"
#include "editor/core/export_all.h"
#include "editor/core/installation.h"
#include "editor/core/messages.h"
#include "editor/core/resource_edit_session.h"
#include "editor/core/ui_text.h"
#include "platform/file.h"
#include "platform/path.h"

namespace calyx::cli {
namespace {

using Json = nlohmann::ordered_json;

// The folder the editor moves into at start-up, below the chosen game's
// directory.

// A path as recorded (Windows form) with the host path it maps to.
Json pathEntry(const std::string& recorded) {
    if (recorded.empty()) return nullptr;
    const std::string host = platform::toHostPath(recorded);
    Json entry;
    entry["path"] = editor::latin1ToUtf8(recorded);
    entry["hostPath"] = host.empty() ? Json(nullptr) : Json(host);
    entry["exists"] = !host.empty() && (platform::directoryExists(host) || platform::fileExists(host));
    return entry;
}

Json textOrNull(const std::string& text) {
    return text.empty() ? Json(nullptr) : Json(editor::latin1ToUtf8(text));
}

Json gameEntry(const std::string& directory, const std::string& language) {
    Json game;
    game["directory"] = pathEntry(directory);
    game["language"] = textOrNull(language);
    return game;
}

Json describeInstallation(const Context& context, const editor::Installation& fromIni) {
    const std::string iniRecorded = editor::sharedIniPath();
    const std::string ini = iniRecorded.empty() ? std::string() : platform::toHostPath(iniRecorded);
    const auto& installation = context.installation();
    Json where;
    where["winePrefix"] = textOrNull(platform::winePrefix());
    Json iniEntry;
    iniEntry["path"] = textOrNull(ini);
    iniEntry["found"] = !ini.empty() && editor::FileExists(ini);
    where["iniFile"] = iniEntry;
    where["TQ2"] = gameEntry(installation.tq2Dir, installation.tq2Language);
    where["K7TQ"] = gameEntry(installation.k7Dir, installation.k7Language);
    where["soundFolder"] = pathEntry(editor::soundFolderPath(installation));
    // The game's texts come from the installation the INI file records.
    Json strings = pathEntry(editor::gameStringsPath(fromIni));
    if (strings.is_null()) strings = Json::object();
    strings["loaded"] = context.gameStringsLoaded();
    where["stringsDat"] = strings;
    return where;
}

std::string pathLine(const Json& entry) {
    if (entry.is_null()) return "(not recorded)";
    std::string line = entry["path"].get<std::string>();
    if (entry["hostPath"].is_null()) return line + "  (no such drive)";
    line += "  -> " + entry["hostPath"].get<std::string>();
    return line + (entry["exists"].get<bool>() ? "" : "  (missing)");
}

void printWhere(const Json& where) {
    auto text = [](const Json& value) { return value.is_null() ? std::string("(not recorded)") : value.get<std::string>(); };
    std::printf("Wine prefix:   %s\n", text(where["winePrefix"]).c_str());
    std::printf("INI file:      %s%s\n", text(where["iniFile"]["path"]).c_str(),
                where["iniFile"]["found"].get<bool>() ? "" : "  (missing)");
    for (const char* game : {"TQ2", "K7TQ"}) {
        std::printf("%-5s dir:     %s\n", game, pathLine(where[game]["directory"]).c_str());
        std::printf("%-5s lang:    %s\n", game, text(where[game]["language"]).c_str());
    }
    std::printf("sound folder:  %s\n", pathLine(where["soundFolder"]).c_str());
    const Json& strings = where["stringsDat"];
    std::printf("strings.dat:   %s\n", strings.contains("path") ? pathLine(strings).c_str() : "(not recorded)");
    std::printf("game texts:    %s\n", strings["loaded"].get<bool>()
                                          ? "loaded (messages in the game's language)"
                                          : "not loaded (missing or unreadable strings.dat: built-in French texts)");
}

void makeFolder(const std::string& hostFolder, const std::string& shown) {
    std::error_code error;
    std::filesystem::create_directories(hostFolder, error);
    if (!platform::directoryExists(hostFolder))
        throw CommandFailure{shown + ": the folder cannot be created" + (error ? " (" + error.message() + ")" : "")};
}

void exportAll(Context& context, const std::string& bankArgument, const std::string& folderArgument) {
    const std::string bankPath = context.userPath(bankArgument, "the bank");
    const std::string folder = context.userPath(folderArgument, "the folder");
    context.startUp();
    auto document = context.openDocument(bankPath);
    bank::SoundBank& bank = document->bank();
    makeFolder(folder, folderArgument);
    const bool terminal = isatty(STDERR_FILENO) != 0;
    auto progress = [terminal](std::size_t done, std::size_t total) {
        if (terminal) std::fprintf(stderr, "\rexporting %zu/%zu", done, total);
    };
    const auto report = editor::exportAllSamples(
        bank, folder, [](const std::string& path) { std::printf("%s\n", path.c_str()); },
        progress);
    if (terminal) std::fprintf(stderr, "\n");
    std::fflush(stdout);
    for (const auto& problem : report.problems)
        printWarning("resource " + std::to_string(problem.index) + ": " +
                     editor::exportProblemText(*bank.resourceAt(problem.index), problem, context.strings(),
                                               context.language()));
    std::cerr << editor::exportSummary(report.exported, folderArgument, context.language()) << '\n';
    if (!report.problems.empty())
        throw CommandFailure{std::to_string(report.problems.size()) + " sample(s) could not be exported"};
}

void convert(const Context& context, const std::string& inputArgument, const std::string& outputArgument) {
    if (!audio::hasWavExtension(outputArgument))
        throw CommandFailure{outputArgument + ": the output must be a .wav file", ExitCode::Usage};
    audio::SampleFormat source;
    const audio::ConvertResult result =
        audio::convertToEditorFormat(context.userPath(inputArgument, "the input"),
                                     context.userPath(outputArgument, "the output"), &source);
    if (result != audio::ConvertResult::Ok) {
        const bool aboutOutput = result == audio::ConvertResult::WriteFailed;
        throw CommandFailure{(aboutOutput ? outputArgument : inputArgument) + ": " +
                             std::string(audio::convertResultText(result))};
    }
    std::printf("%s: converted from %s to 22050 Hz, mono, 16-bit integer\n", outputArgument.c_str(),
                audio::describeFormat(source).c_str());
}

}  // namespace

void addBatchCommands(CLI::App& app, Context& context) {
    auto json = std::make_shared<bool>(false);
    auto* where = app.add_subcommand(
        "where", "show the installation found: the INI file, each game's folder and language, the sound\n"
                 "folder and the game's strings.dat (missing values show as \"(not recorded)\" or null)");
    where->add_flag("--json", *json, "print JSON");
    where->callback([&context, json] {
        editor::Installation fromIni;
        editor::ReadInstallation(fromIni);
        context.startUp();
        const Json described = describeInstallation(context, fromIni);
        if (*json)
            std::cout << described.dump(2) << '\n';
        else
            printWhere(described);
    });

    auto bankPath = std::make_shared<std::string>();
    auto folder = std::make_shared<std::string>();
    auto* exportAllCommand = app.add_subcommand(
        "export-all", "write every sample that has data as \"<index>_<name>.wav\" in FOLDER (made when\n"
                      "missing; the name is the resource's name, else its file name; characters other than\n"
                      "letters, digits, '-' and '.' become '_'). Prints each file written; exit 1 when a\n"
                      "sample could not be exported");
    exportAllCommand->add_option("BANK", *bankPath, "the bank (.bnm)")->required();
    exportAllCommand->add_option("FOLDER", *folder, "the folder for the WAV files")->required();
    exportAllCommand->callback([&context, bankPath, folder] { exportAll(context, *bankPath, *folder); });

    auto input = std::make_shared<std::string>();
    auto output = std::make_shared<std::string>();
    auto* convertCommand = app.add_subcommand(
        "convert", "convert a WAV file (8/16/24/32-bit integer or 32/64-bit float PCM, any rate, any number\n"
                   "of channels) to the game's format, 22050 Hz mono 16-bit; channels are averaged");
    convertCommand->add_option("IN", *input, "the WAV file to convert")->required();
    convertCommand->add_option("OUT", *output, "the new .wav file (replaced if it exists)")->required();
    convertCommand->callback([&context, input, output] { convert(context, *input, *output); });
}

}  // namespace calyx::cli
