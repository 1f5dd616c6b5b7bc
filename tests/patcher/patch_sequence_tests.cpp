// The patch sequence run by the real program on a complete installation.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "patch_setup.h"

namespace calyx::testing {
namespace {

using fixtures::readFile;
namespace fs = std::filesystem;

constexpr std::string_view successOther =
    "[Success] (information)\nVelmora Circuit Champions 2 had been successfully patched\n\n";
constexpr std::string_view failedOther =
    "[Error] (information)\nAn error has occured while patching Velmora Circuit Champions 2\n\n";

// Names of the files in a folder, letter case as stored.
std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// No temporary file of a copy is left anywhere in the tree.
bool noLeftovers(const std::string& root) {
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.path().filename().string().find(".patch") != std::string::npos) return false;
    return true;
}

TEST(PatchSequence, EnglishInstallationGetsEveryFileInPlace) {
    PatchSetup setup("English");
    const PatchRun run = setup.run();
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.messages, successOther);

    EXPECT_EQ(readFile(setup.game("vlm_v.exe")), PatchSetup::content("vlm_v.exe"));
    EXPECT_EQ(readFile(setup.game("Datab/MENUS/mn_scr.mrc")), PatchSetup::content("mn_scr.mrc"));
    EXPECT_EQ(readFile(setup.game("Datab/MENUS/English/mn_ldt.mrc")), PatchSetup::content("English/mn_ldt.mrc"));
    EXPECT_EQ(readFile(setup.game("Datab/Dicos/English/dic_mnu.bmd")), PatchSetup::content("English/dic_mnu.bmd"));
    EXPECT_EQ(readFile(setup.game("Kpe/Dll/WAVd3BVR.dll")), PatchSetup::content("WAVd3BVR.dll"));
    EXPECT_EQ(readFile(setup.game("editors/calyx.exe")), PatchSetup::content("calyx.exe"));
    EXPECT_FALSE(fs::exists(setup.game("editors/strings.dat")));
    // The old bank name file is replaced, not joined by a twin of other case.
    EXPECT_EQ(filesIn(setup.game("Datab/Resson")),
              (std::vector<std::string>{"BNK_1.BNS", "bnk_0.bns", "bnk_3.bns", "strings.dat"}));
    EXPECT_EQ(readFile(setup.game("Datab/Resson/BNK_1.BNS")), PatchSetup::content("English/bnk_1.bns"));
    EXPECT_EQ(readFile(setup.game("Datab/ANData/Session.bmp")), PatchSetup::content("Euro/Session.bmp"));
    EXPECT_EQ(readFile(setup.game("Datab/ANData/config.anc")), PatchSetup::content("Euro/config.anc"));
    EXPECT_EQ(readFile(setup.game("Datab/scripts/MenuInit.BSH")), PatchSetup::content("MenuInit.BSH"));
    EXPECT_EQ(filesIn(setup.game("FAQ")).size(), 8u);
    EXPECT_EQ(readFile(setup.game("NetRace.txt")), PatchSetup::content("NetRace.txt"));
    EXPECT_EQ(readFile(setup.game("Datab/Scenario/English/Scen14.scb")),
              PatchSetup::content("English/Scen14.scb"));
    EXPECT_TRUE(fs::is_directory(setup.game("Save/Retro/Configs")));
    EXPECT_TRUE(noLeftovers(setup.game()));
}

TEST(PatchSequence, SoundFilesFollowTheLanguage) {
    PatchSetup french("French");
    EXPECT_EQ(french.run().messages, successOther);
    EXPECT_EQ(filesIn(french.game("Datab/Resson")), (std::vector<std::string>{"BNK_1.BNS", "strings.dat"}));
    EXPECT_EQ(readFile(french.game("Datab/Resson/strings.dat")), PatchSetup::content("French/strings.dat"));
    EXPECT_EQ(readFile(french.game("Datab/ANData/config.anc")), PatchSetup::content("Euro/config.anc"));

    PatchSetup spanish("Spanish");
    EXPECT_EQ(spanish.run().messages, successOther);
    EXPECT_EQ(filesIn(spanish.game("Datab/Resson")).size(), 4u);
    EXPECT_EQ(readFile(spanish.game("Datab/Resson/bnk_0.bns")), PatchSetup::content("English/bnk_0.bns"));
    EXPECT_EQ(readFile(spanish.game("Datab/MENUS/Spanish/mn_ldt.mrc")), PatchSetup::content("Spanish/mn_ldt.mrc"));
}

TEST(PatchSequence, OnlyExactlyGermanTakesTheGermanFiles) {
    PatchSetup german("German");
    EXPECT_EQ(german.run().messages, "[Success] (information)\nVelmora 2 had been successfully patched\n\n");
    EXPECT_EQ(readFile(german.game("Datab/ANData/Session.bmp")), PatchSetup::content("German/Session.bmp"));
    EXPECT_EQ(readFile(german.game("Datab/Resson/bnk_3.bns")), PatchSetup::content("English/bnk_3.bns"));

    // German in lower case gets the German title but the other languages' files.
    PatchSetup lower("german");
    EXPECT_EQ(lower.run().messages, "[Success] (information)\nVelmora 2 had been successfully patched\n\n");
    EXPECT_EQ(readFile(lower.game("Datab/ANData/Session.bmp")), PatchSetup::content("Euro/Session.bmp"));
}

TEST(PatchSequence, VerboseAnnouncesEveryCopy) {
    PatchSetup setup("English");
    const PatchRun run = setup.run({"vlm_v.exe", "x", "1.06", "anything"});
    EXPECT_EQ(occurrences(run.messages, "[] (none)\nCopy "), 33u);
    EXPECT_EQ(run.messages.rfind("[] (none)\nCopy vlm_v.exe => C:\\Games\\VLM2\\vlm_v.exe\n\n", 0), 0u);
    EXPECT_NE(run.messages.find("[] (none)\nCopy English\\bnk_0.bns => C:\\Games\\VLM2\\Datab\\Resson\\bnk_0.bns\n\n"
                                "[] (none)\nCopy English\\bnk_3.bns"),
              std::string::npos);
    EXPECT_EQ(run.messages.substr(run.messages.size() - successOther.size()), successOther);

    // The copy that fails announces itself too, before its abort message.
    fs::remove(setup.update("English/Scen12.scb"));
    const PatchRun failed = setup.run({"vlm_v.exe", "x", "1.06", ""});
    EXPECT_NE(failed.messages.find("Copy English\\Scen12.scb => C:\\Games\\VLM2\\Datab\\Scenario\\English\\Scen12.scb\n\n"
                                   "[Patching is aborted] (stop)\n"),
              std::string::npos);
}

TEST(PatchSequence, MissingSourceStopsWithTheArchiveMessage) {
    PatchSetup setup("English");
    fs::remove(setup.update("Euro/config.anc"));
    const PatchRun run = setup.run();
    EXPECT_EQ(run.exitCode, 1);  // scripts see the failure
    EXPECT_EQ(run.messages,
              "[Patching is aborted] (stop)\nUnable to find source the file Euro\\config.anc in archive. "
              "Patch may be corrupted.\n\n" +
                  std::string(failedOther));
    // Copies before the failure stay; nothing after it happened.
    EXPECT_EQ(readFile(setup.game("Datab/ANData/Session.bmp")), PatchSetup::content("Euro/Session.bmp"));
    EXPECT_FALSE(fs::exists(setup.game("Datab/scripts/MenuInit.BSH")));
    EXPECT_FALSE(fs::exists(setup.game("Kpe/Dll/snd_kpe.ini")));
}

TEST(PatchSequence, UnwritableDestinationStopsAndKeepsTheFile) {
    constexpr std::string_view unable =
        "[Patching is aborted] (stop)\nUnable to update the file %s (may be write protected)  "
        "You should re-install Velmora Circuit Champions 2\n\n";
    auto expected = [&](const std::string& path) {
        std::string text(unable);
        return text.replace(text.find("%s"), 2, path) + std::string(failedOther);
    };

    PatchSetup noFolder("English");
    fs::remove_all(noFolder.game("Datab/MENUS/English"));
    EXPECT_EQ(noFolder.run().messages, expected("C:\\Games\\VLM2\\Datab\\Menus\\English\\mn_ldt.mrc"));
    EXPECT_FALSE(fs::exists(noFolder.game("Datab/scripts/forgrnd.rsb")));

    // A file without write permission is read-only to the patcher even when
    // it runs as the superuser, who could otherwise write it.
    PatchSetup readOnly("English");
    fixtures::writeFile(readOnly.game("Datab/scripts/FORGRND.RSB"), "old script");
    fs::permissions(readOnly.game("Datab/scripts/FORGRND.RSB"), fs::perms::owner_read | fs::perms::group_read);
    const PatchRun refused = readOnly.run();
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.messages, expected("C:\\Games\\VLM2\\Datab\\Scripts\\forgrnd.rsb"));
    EXPECT_EQ(readFile(readOnly.game("Datab/scripts/FORGRND.RSB")), "old script");
    EXPECT_EQ(filesIn(readOnly.game("Datab/scripts")), std::vector<std::string>{"FORGRND.RSB"});
    EXPECT_TRUE(noLeftovers(readOnly.game()));
}

// A program image with the old icon's picture at two places.
struct IconFiles {
    std::string oldIcon, newIcon, program;
};

IconFiles iconFiles(std::size_t newLength) {
    IconFiles files;
    files.oldIcon = std::string(64, 'h') + "OLD-PICTURE-0123456789";
    files.newIcon = std::string(64, 'H') + std::string(newLength - 64, 'N');
    files.program = "MZ..." + files.oldIcon.substr(64) + "...middle..." + files.oldIcon.substr(64) + "..end";
    return files;
}

TEST(PatchSequence, GermanProgramGetsTheNewIconEverywhere) {
    PatchSetup setup("German");
    const IconFiles files = iconFiles(64 + 22 + 5);
    fixtures::writeFile(setup.update("vlm_v.exe"), files.program);
    fixtures::writeFile(setup.update("K73.ICO"), files.oldIcon);
    fixtures::writeFile(setup.update("K73A.ICO"), files.newIcon);
    setup.run();
    const std::string picture(22, 'N');
    EXPECT_EQ(readFile(setup.game("vlm_v.exe")), "MZ..." + picture + "...middle..." + picture + "..end");

    // Other languages keep the program as shipped.
    PatchSetup english("English");
    fixtures::writeFile(english.update("vlm_v.exe"), files.program);
    fixtures::writeFile(english.update("K73.ICO"), files.oldIcon);
    fixtures::writeFile(english.update("K73A.ICO"), files.newIcon);
    english.run();
    EXPECT_EQ(readFile(english.game("vlm_v.exe")), files.program);
}

TEST(PatchSequence, IconThatCannotBeReplacedLeavesTheProgram) {
    PatchSetup shorter("German");
    const IconFiles files = iconFiles(64 + 10);
    fixtures::writeFile(shorter.update("vlm_v.exe"), files.program);
    fixtures::writeFile(shorter.update("K73.ICO"), files.oldIcon);
    fixtures::writeFile(shorter.update("K73A.ICO"), files.newIcon);
    EXPECT_EQ(shorter.run().messages, "[Success] (information)\nVelmora 2 had been successfully patched\n\n");
    EXPECT_EQ(readFile(shorter.game("vlm_v.exe")), files.program);

    // A missing old icon or an icon of no picture: the sequence goes on.
    PatchSetup missing("German");
    fixtures::writeFile(missing.update("K73A.ICO"), files.newIcon);
    EXPECT_EQ(missing.run().messages, "[Success] (information)\nVelmora 2 had been successfully patched\n\n");
    EXPECT_EQ(readFile(missing.game("vlm_v.exe")), PatchSetup::content("vlm_v.exe"));
    fixtures::writeFile(missing.update("K73.ICO"), std::string(30, 'h'));
    missing.run();
    EXPECT_EQ(readFile(missing.game("vlm_v.exe")), PatchSetup::content("vlm_v.exe"));
}

}  // namespace
}  // namespace calyx::testing
