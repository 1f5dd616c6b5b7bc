// A complete update folder and installed game tree in a Wine-like prefix, and
// a way to run the real patcher on them.
//
// The game lives in C:\Games\VLM2\ (host: <prefix>/drive_c/Games/VLM2), some
// of its folders spelled in another letter case than the patcher uses. Each
// update file holds "update:" and its path in the update folder, with '/'
// ("update:English/bnk_0.bns"), so a test sees where an installed file came from.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fixtures/temp_dir.h"
#include "fixtures/wine_prefix.h"

namespace calyx::testing {

struct PatchRun {
    int exitCode = -1;
    std::string messages;  // what the patcher wrote to standard error
    std::string output;    // and to standard output
};

class PatchSetup {
public:
    static constexpr std::string_view gameDirectory = "C:\\Games\\VLM2";

    explicit PatchSetup(std::string language = "English", bool win64 = false);

    // The shared INI file with the game's section.
    void writeIni(std::string_view language, std::string_view directory = gameDirectory,
                  std::string_view extraLines = "") const;
    // Runs the patcher in the update folder.
    PatchRun run(const std::vector<std::string>& arguments = {"vlm_v.exe", "x", "1.06"}) const;

    // Host paths.
    std::string game(std::string_view relative = "") const;
    std::string update(std::string_view relative = "") const;
    // What an update file holds: "update:" + its path.
    static std::string content(std::string_view updatePath);

    fixtures::WinePrefix prefix;

private:
    fixtures::TempDir updateDir_;
    fixtures::TempDir output_;
};

// The number of times `needle` occurs in `text`.
std::size_t occurrences(std::string_view text, std::string_view needle);

}  // namespace calyx::testing
