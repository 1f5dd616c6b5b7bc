#include "patch_setup.h"

#include <sys/wait.h>

#include <cstdlib>

#include "fixtures/program_command.h"
#include "fixtures/update_folder.h"

namespace calyx::testing {
namespace {

using fixtures::makeDirs;
using fixtures::writeFile;

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

PatchSetup::PatchSetup(std::string language, bool win64) : prefix(win64) {
    fixtures::writeUpdateFolder(update(), language, [](const std::string& path) { return content(path); });

    // The installed game, some folders in another letter case.
    for (const auto& folder : {"Datab/MENUS/" + language, std::string("Datab/scripts"),
                               "Datab/Dicos/" + language, std::string("Kpe/Dll"), std::string("editors"),
                               std::string("Datab/Resson"), "Datab/Scenario/" + language,
                               std::string("Save/Retro")})
        makeDirs(game(folder));
    writeFile(game("vlm_v.exe"), "old program");
    writeFile(game("editors/strings.dat"), "old strings");
    writeFile(game("Datab/Resson/BNK_1.BNS"), "old bank names");
    writeIni(language);
}

void PatchSetup::writeIni(std::string_view language, std::string_view directory,
                          std::string_view extraLines) const {
    prefix.writeIni("[K7TQ]\r\nLanguage=French\r\n\r\n[TQ2]\r\nDirectory=" + std::string(directory) +
                    "\r\nLanguage=" + std::string(language) + "\r\n" + std::string(extraLines));
}

PatchRun PatchSetup::run(const std::vector<std::string>& arguments) const {
    std::string command = "cd " + quoted(updateDir_.path()) + " && " + fixtures::programCommand("patcher");
    for (const auto& argument : arguments) command += " " + quoted(argument);
    const std::string errors = output_ / "stderr.txt";
    const std::string output = output_ / "stdout.txt";
    command += " 2>" + quoted(errors) + " >" + quoted(output);
    PatchRun result;
    const int status = std::system(command.c_str());
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.messages = fixtures::readFile(errors);
    result.output = fixtures::readFile(output);
    return result;
}

std::string PatchSetup::game(std::string_view relative) const {
    std::string path = prefix.driveC() + "/Games/VLM2";
    if (!relative.empty()) path += "/" + std::string(relative);
    return path;
}

std::string PatchSetup::update(std::string_view relative) const {
    return relative.empty() ? updateDir_.path() : updateDir_ / relative;
}

std::string PatchSetup::content(std::string_view updatePath) {
    return "update:" + std::string(updatePath);
}

std::size_t occurrences(std::string_view text, std::string_view needle) {
    std::size_t count = 0;
    for (std::size_t at = text.find(needle); at != std::string_view::npos; at = text.find(needle, at + 1))
        ++count;
    return count;
}

}  // namespace calyx::testing
