// The run's checks before anything is patched.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixtures/program_command.h"
#include "patch_setup.h"

namespace calyx::testing {
namespace {

using fixtures::readFile;

constexpr std::string_view incorrect = "[Error] (stop)\nIncorrect parameters => patch aborted\n\n";

TEST(PatchDriver, WrongArgumentsChangeNothing) {
    PatchSetup setup("English");
    const std::string ini = readFile(setup.prefix.iniPath());
    const std::string registry = readFile(setup.prefix.registryPath());
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {}, {"vlm_v.exe", "x"}, {"vlm_v.exe", "x", "1.06", "v", "five"}}) {
        const PatchRun run = setup.run(arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.messages, incorrect);
    }
    // A refused argument is named, with the reason.
    const PatchRun longVersion = setup.run({"vlm_v.exe", "x", "1.06.2000-b1"});
    EXPECT_EQ(longVersion.exitCode, 1);
    EXPECT_EQ(longVersion.messages,
              "[Error] (stop)\nIncorrect parameters => patch aborted: the version \"1.06.2000-b1\" has 12 "
              "characters; the registry keeps at most 11\n\n");
    for (const std::string program : {"C:\\Update\\vlm_v.exe", "../vlm_v.exe", ""}) {
        const PatchRun path = setup.run({program, "x", "1.06"});
        EXPECT_EQ(path.exitCode, 1);
        EXPECT_EQ(path.messages, "[Error] (stop)\nIncorrect parameters => patch aborted: the program file \"" +
                                     program + "\" must be a file name of the update folder, not a path\n\n");
    }
    EXPECT_EQ(readFile(setup.prefix.iniPath()), ini);
    EXPECT_EQ(readFile(setup.prefix.registryPath()), registry);
    EXPECT_EQ(readFile(setup.game("vlm_v.exe")), "old program");
    // Eleven characters fit.
    const PatchRun patched = setup.run({"vlm_v.exe", "x", "1.06.2000-b"});
    EXPECT_EQ(patched.exitCode, 0);
    EXPECT_EQ(patched.messages,
              "[Success] (information)\nVelmora Circuit Champions 2 had been successfully patched\n\n");
}

TEST(PatchDriver, HelpPrintsTheUsageAndChangesNothing) {
    PatchSetup setup("English");
    const std::string ini = readFile(setup.prefix.iniPath());
    for (const std::string help : {"--help", "-h", "/?"}) {
        const PatchRun run = setup.run({help});
        EXPECT_EQ(run.exitCode, 0);
        // patcher.exe has no console: its usage is a box.
        const bool inABox = fixtures::testingWindowsPrograms();
        EXPECT_EQ(inABox ? run.output : run.messages, "");
        const std::string& usage = inABox ? run.messages : run.output;
        EXPECT_EQ(usage.rfind(std::string(inABox ? "[patcher] (none)\n" : "") +
                                  "Usage: patcher PROGRAM-FILE SECOND-ARGUMENT VERSION [VERBOSE]\n", 0),
                  0u)
            << usage;
    }
    EXPECT_EQ(readFile(setup.prefix.iniPath()), ini);
    EXPECT_EQ(readFile(setup.game("vlm_v.exe")), "old program");
}

TEST(PatchDriver, VersionAloneShowsTheVersionAndAnyOtherCountIsRefused) {
    PatchSetup setup("English");
    const PatchRun run = setup.run({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    const bool inABox = fixtures::testingWindowsPrograms();
    const std::string& shown = inABox ? run.messages : run.output;
    EXPECT_EQ(shown.rfind(std::string(inABox ? "[patcher] (none)\n" : "") + "patcher 0.", 0), 0u) << shown;
    const PatchRun withMore = setup.run({"--version", "x"});
    EXPECT_EQ(withMore.exitCode, 1);
    EXPECT_EQ(withMore.messages, incorrect);
    EXPECT_EQ(readFile(setup.game("vlm_v.exe")), "old program");
}

TEST(PatchDriver, RefusesUnsuitableInstallations) {
    PatchSetup setup("English");
    // The Windows directory as the system names it: a host path on Linux.
    const std::string ini = (fixtures::testingWindowsPrograms() ? std::string("C:\\windows")
                                                                : setup.prefix.windowsDir()) +
                            "\\Ornwick\\Ornwick.Ini";
    const std::string reinstall = "You should re-install Velmora Circuit Champions 2";
    auto abort = [](const std::string& text) { return "[Patching is aborted] (stop)\n" + text + "\n\n"; };

    setup.writeIni("Japanese");
    const PatchRun japanese = setup.run();
    EXPECT_EQ(japanese.exitCode, 1);
    EXPECT_EQ(japanese.messages,
              abort("The patch 1.06 does not work with original Japanese version. "
                    "Your VLM2 CD already contains the 1.06 version."));
    EXPECT_EQ(readFile(setup.game("vlm_v.exe")), "old program");

    for (const std::string text : {"[TQ2]\r\nDirectory=C:\\Games\\VLM2\r\n", "[TQ2]\r\nLanguage=\r\n",
                                   "[TQ2]\r\nLanguage=NULL\r\nDirectory=C:\\Games\\VLM2\r\n"}) {
        setup.prefix.writeIni(text);
        EXPECT_EQ(setup.run().messages,
                  abort("The Language key in " + ini +
                        " ini file does not exist or does not contain any value You should re-install VLM2 / TQ2"));
    }
    for (const std::string directory : {"NULL", ""}) {
        setup.writeIni("English", directory);
        EXPECT_EQ(setup.run().messages,
                  abort("The Directory key in " + ini + " ini file does not exist or does not contain any value " +
                        reinstall));
    }
    setup.prefix.writeIni("[TQ2]\r\nLanguage=German\r\n");
    EXPECT_NE(setup.run().messages.find("value You should re-install Velmora 2\n"), std::string::npos);

    std::filesystem::remove(setup.prefix.iniPath());
    const PatchRun noIni = setup.run();
    EXPECT_EQ(noIni.exitCode, 1);
    EXPECT_EQ(noIni.messages, abort("Unable to find VLM2 / TQ2 ini file : " + ini +
                                          " is unreachable You should re-install VLM2 / TQ2"));
    EXPECT_EQ(readFile(setup.game("vlm_v.exe")), "old program");
}

TEST(PatchDriver, JapaneseInLowerCaseAndTrailingBackslash) {
    PatchSetup setup("japanese");
    setup.writeIni("japanese", "C:\\Games\\VLM2\\");
    EXPECT_EQ(setup.run().messages,
              "[Success] (information)\nVelmora Circuit Champions 2 had been successfully patched\n\n");
    EXPECT_EQ(readFile(setup.game("Datab/Scenario/japanese/Scen11.scb")),
              PatchSetup::content("japanese/Scen11.scb"));
}

}  // namespace
}  // namespace calyx::testing
