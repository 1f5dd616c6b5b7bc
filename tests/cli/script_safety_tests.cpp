// calyx-cli in scripts, on a copy of the demo installation: every path
// form goes where it says, outputs that are not what they claim are refused
// before anything is written, and names are recorded in the game's text.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "bank/resource_record.h"
#include "batch_cli_runner.h"
#include "editor/edit_test_support.h"

namespace calyx::cli {
namespace {

namespace fs = std::filesystem;
using testing::runCli;

constexpr const char* demoBank = "C:\\Jeux\\VLM2\\Datab\\Resson\\VLM2Snd.bnm";
constexpr int hornSample = 2;

std::set<std::string> entriesOf(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

class ScriptSafety : public ::testing::Test {
protected:
    ScriptSafety() : prefix(dir / "prefix"), env("WINEPREFIX", prefix) {
        const auto made = testing::runProgram("calyx-make-demo", {prefix});
        EXPECT_EQ(made.exitCode, 0) << made.err;
        // A copy of the demo bank in a folder of the user's own.
        fixtures::makeDirs(work);
        fs::copy_file(soundFolder + "/VLM2Snd.bnm", bank);
        fs::copy_file(soundFolder + "/VLM2Snd.bns", work + "/bank.bns");
        original = fixtures::readBytes(bank);
    }

    std::string recordedName(const std::string& bankPath, std::size_t index) {
        return editor::test::openBankFile(bankPath)->resourceAt(index)->record().fileName();
    }

    fixtures::TempDir dir;
    std::string prefix;
    fixtures::ScopedEnv env;
    std::string soundFolder = prefix + "/drive_c/Jeux/VLM2/Datab/Resson";
    std::string work = dir / "work";
    std::string bank = work + "/bank.bnm";
    std::vector<unsigned char> original;
};

TEST_F(ScriptSafety, WindowsFormPathsGoWhereTheySay) {
    const auto before = entriesOf(soundFolder);
    auto run = runCli({"export-all", demoBank, "C:\\Jeux\\K7\\Samples"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(entriesOf(prefix + "/drive_c/Jeux/K7/Samples").size(), 7u);
    // The files' host paths: on Windows the folder as given, with its separators.
    const std::string horn = fixtures::testingWindowsPrograms() ? std::string("C:\\Jeux\\K7\\Samples\\2_Horn.wav")
                                                                : prefix + "/drive_c/Jeux/K7/Samples/2_Horn.wav";
    EXPECT_NE(run.out.find(horn + "\n"), std::string::npos) << run.out;

    // A WAV out and back in, a bank saved, in drive forms with either
    // separator and another letter case.
    run = runCli({"export", demoBank, "2", "C:/jeux/horn.wav"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_TRUE(fs::exists(prefix + "/drive_c/Jeux/horn.wav"));
    run = runCli({"import", demoBank, "3", "c:\\JEUX\\HORN.WAV", "-o", "C:\\Jeux\\VLM2\\Datab\\Resson\\New.bnm"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(fs::exists(soundFolder + "/New.bnm"));
    EXPECT_TRUE(fs::exists(soundFolder + "/New.bns"));
    // The file's name as stored on Linux; Windows keeps the name as given.
    EXPECT_EQ(recordedName(soundFolder + "/New.bnm", 3), fixtures::testingWindowsPrograms() ? "HORN.WAV" : "horn.wav");

    // Nothing was made in the folder the program moves into at start-up.
    auto after = entriesOf(soundFolder);
    after.erase("New.bnm");
    after.erase("New.bns");
    EXPECT_EQ(after, before);
    EXPECT_EQ(runCli({"export", demoBank, "2", "Q:\\horn.wav"}).exitCode, 1);  // a drive the prefix lacks
}

TEST_F(ScriptSafety, OutputNamesThatAreNotBanksAreRefusedBeforeAnyWrite) {
    const std::string wav = work + "/horn.wav";
    ASSERT_EQ(runCli({"export", bank, "2", wav}).exitCode, 0);
    const auto entries = entriesOf(work);
    for (const std::string output : {"", "  ", "noext", "bank.bns", "other.bnm.wav"}) {
        for (const auto& command : std::vector<std::vector<std::string>>{
                 {"resave", bank},
                 {"volume", bank, "2", "5"},
                 {"import", bank, "3", wav},
                 {"copy", bank, "1", bank, "2"}}) {
            auto arguments = command;
            arguments.insert(arguments.end(), {"-o", output});
            const auto run = runCli(arguments, work);
            EXPECT_EQ(run.exitCode, 2) << command[0] << " -o '" << output << "'";
            EXPECT_NE(run.err.find(output.find_first_not_of(' ') == std::string::npos ? "is empty" : "ending in .bnm"),
                      std::string::npos)
                << run.err;
        }
    }
    EXPECT_EQ(fixtures::readBytes(bank), original);
    EXPECT_EQ(entriesOf(work), entries);
    // A bank name in any letter case is a bank name.
    EXPECT_EQ(runCli({"volume", bank, "2", "5", "-o", "LOUD.BNM"}, work).exitCode, 0);
    EXPECT_EQ(runCli({"check", work + "/LOUD.BNM"}).exitCode, 0);
}

TEST_F(ScriptSafety, ExportNeverReplacesTheBankItReads) {
    // The bank itself, however it is named: as written, in other letter
    // case, through a second hard link.
    fs::create_hard_link(bank, work + "/link.bnm");
    for (const std::string& out : {bank, work + "/BANK.BNM", work + "/./link.bnm"}) {
        const auto run = runCli({"export", bank, "2", out});
        EXPECT_EQ(run.exitCode, 2) << out;
        EXPECT_NE(run.err.find("the bank being read"), std::string::npos) << run.err;
        EXPECT_EQ(runCli({"export", bank, "2", out, "--force"}).exitCode, 2) << out;
    }
    EXPECT_EQ(fixtures::readBytes(bank), original);

    // Another file that is not a WAV file needs --force; a WAV file does not.
    const std::string companion = work + "/bank.bns";
    const std::string names = fixtures::readFile(companion);
    auto run = runCli({"export", bank, "2", companion});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("not a WAV file; give --force"), std::string::npos) << run.err;
    EXPECT_EQ(fixtures::readFile(companion), names);
    const std::string wav = work + "/horn.wav";
    EXPECT_EQ(runCli({"export", bank, "2", wav}).exitCode, 0);
    EXPECT_EQ(runCli({"export", bank, "1", wav}).exitCode, 0);
    EXPECT_EQ(runCli({"export", bank, "2", companion, "--force"}).exitCode, 0);
    EXPECT_EQ(fixtures::readFile(companion).substr(0, 4), "RIFF");
}

TEST_F(ScriptSafety, ImportRecordsTheFileNameAsTheGamesText) {
    CALYX_SKIP_FOR_WINDOWS_PROGRAMS("file names in the user's UTF-8; calyx-cli.exe takes the ANSI code page's");
    struct Case {
        std::string file;
        std::string recorded;  // Latin-1
        bool warned;
    };
    const std::vector<Case> cases = {
        {"klaxon à.wav", "klaxon \xE0.wav", false},
        {"sirène☃.wav", "sir\xE8ne_.wav", true},       // no Latin-1 snowman
        {"very long horn.wav", "very long ho", true},  // the record holds 12 characters
    };
    const std::string saved = work + "/saved.bnm";
    for (const auto& c : cases) {
        const std::string wav = work + "/" + c.file;
        ASSERT_EQ(runCli({"export", bank, "2", wav}).exitCode, 0);
        const auto run = runCli({"import", bank, "3", wav, "-o", saved});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(recordedName(saved, 3), c.recorded) << c.file;
        EXPECT_EQ(run.err.find("warning: " + wav + ": the bank records the file name as") != std::string::npos,
                  c.warned)
            << run.err;
    }
    // The listing shows the record as it is, in the user's UTF-8.
    ASSERT_EQ(runCli({"import", bank, "3", work + "/klaxon à.wav", "-o", saved}).exitCode, 0);
    EXPECT_NE(runCli({"list", saved}).out.find("klaxon à.wav"), std::string::npos);
}

}  // namespace
}  // namespace calyx::cli
