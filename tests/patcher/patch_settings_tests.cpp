// The INI switch, the registry entry and the sound settings written by a run.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixtures/program_command.h"
#include "fixtures/wine_registry_sample.h"
#include "patch_setup.h"
#include "platform/registry_text.h"

namespace calyx::testing {
namespace {

using fixtures::readFile;
using fixtures::writeFile;

constexpr std::string_view success =
    "[Success] (information)\nVelmora Circuit Champions 2 had been successfully patched\n\n";
const platform::RegistryPath gameKey = {"Software", "Ornwick", "Arcnet Games", "VLM2"};

TEST(PatchSettings, TripleBufferingBecomesNoUnlessYes) {
    CALYX_SKIP_FOR_WINDOWS_PROGRAMS("Wine's own WritePrivateProfileStringA rewrites the whole file");
    PatchSetup setup("English");
    const std::string tail = "Language=English\r\n";
    for (const std::string value : {"YES", "yes", "", "NO", "YESS"}) {
        setup.writeIni("English", PatchSetup::gameDirectory, "TripleBuffering=" + value + "\r\n");
        const std::string before = readFile(setup.prefix.iniPath());
        EXPECT_EQ(setup.run().messages, success);
        std::string expected = before;
        if (value != "YES") expected.replace(expected.find("=" + value + "\r\n"), value.size() + 1, "=NO");
        EXPECT_EQ(readFile(setup.prefix.iniPath()), expected) << value;
    }
    setup.writeIni("English");
    const std::string before = readFile(setup.prefix.iniPath());
    setup.run();
    EXPECT_EQ(readFile(setup.prefix.iniPath()), before + "TripleBuffering=NO\r\n");
}

// The registry text without the blocks the patcher adds.
std::string withoutGameKeys(std::string text) {
    const std::string start = "\n[Software\\\\Ornwick\\\\Arcnet Games";
    for (std::size_t at = text.find(start); at != std::string::npos; at = text.find(start)) {
        const std::size_t next = text.find("\n[", at + 1);
        if (next == std::string::npos) text.erase(at);
        else text.erase(at + 1, next - at);
    }
    return text;
}

TEST(PatchSettings, RegistryEntryChangesNothingElse) {
    CALYX_SKIP_FOR_WINDOWS_PROGRAMS("a Wine-like prefix's system.reg; patcher.exe writes the system's registry, "
                                    "which tests/windows/same-results reads back");
    PatchSetup setup("English");
    std::string registry(wineSystemReg);
    registry.insert(registry.find("[Software\\\\Test]"), "[Software\\\\Ornwick] 1796767410\n#time=1dd875ff5ddeeae\n\n");
    setup.prefix.writeRegistry(registry);
    EXPECT_EQ(setup.run({"vlm_d.exe", "x", "1.06"}).messages, success);

    const std::string after = readFile(setup.prefix.registryPath());
    EXPECT_EQ(withoutGameKeys(after), registry);
    const platform::RegistryText text(after);
    EXPECT_EQ(text.valueText(gameKey, "directory"), "\"C:\\\\Games\\\\VLM2\\\\Datab\\\\ANData\"");
    EXPECT_EQ(text.valueText(gameKey, "exec"), "\"C:\\\\Games\\\\VLM2\\\\vlm_d.exe|-anRun\"");
    EXPECT_EQ(text.valueText(gameKey, "version"), "\"1.06\"");
    EXPECT_NE(after.find("\"directory\"=\"C:\\\\Games\\\\VLM2\\\\Datab\\\\ANData\"\n"
                         "\"exec\"=\"C:\\\\Games\\\\VLM2\\\\vlm_d.exe|-anRun\"\n\"version\"=\"1.06\"\n"),
              std::string::npos);

    // A second run updates the same key; any program but vlm_d.exe* starts vlm_v.exe.
    writeFile(setup.update("vlm_d.exe.old"), "program");
    setup.run({"vlm_d.exe.old", "x", "1.06b"});
    EXPECT_EQ(platform::RegistryText(readFile(setup.prefix.registryPath())).valueText(gameKey, "exec"),
              "\"C:\\\\Games\\\\VLM2\\\\vlm_d.exe|-anRun\"");
    setup.run({"vlm_v.exe", "x", "1.06c"});
    const platform::RegistryText third(readFile(setup.prefix.registryPath()));
    EXPECT_EQ(third.valueText(gameKey, "exec"), "\"C:\\\\Games\\\\VLM2\\\\vlm_v.exe|-anRun\"");
    EXPECT_EQ(third.valueText(gameKey, "version"), "\"1.06c\"");
    EXPECT_EQ(withoutGameKeys(readFile(setup.prefix.registryPath())), registry);
}

TEST(PatchSettings, RegistryNeedsTheMakersKey) {
    CALYX_SKIP_FOR_WINDOWS_PROGRAMS("a Wine-like prefix's system.reg; patcher.exe writes the system's registry, "
                                    "which tests/windows/same-results reads back");
    PatchSetup setup("English");
    setup.prefix.writeRegistry(wineSystemReg);
    EXPECT_EQ(setup.run().messages, success);
    EXPECT_EQ(readFile(setup.prefix.registryPath()), wineSystemReg);

    // A 64-bit prefix keeps the 32-bit program's keys under Wow6432Node.
    PatchSetup win64("English", true);
    win64.prefix.writeRegistry(
        "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n\n"
        "[Software\\\\Wow6432Node\\\\Ornwick] 1796767410\n#time=1dd875ff5ddeeae\n");
    EXPECT_EQ(win64.run().messages, success);
    const platform::RegistryText text(readFile(win64.prefix.registryPath()));
    EXPECT_EQ(text.valueText({"Software", "Wow6432Node", "Ornwick", "Arcnet Games", "VLM2"}, "version"),
              "\"1.06\"");
}

TEST(PatchSettings, SoundSettingsOnlyFromTheOldDefault) {
    CALYX_SKIP_FOR_WINDOWS_PROGRAMS("Wine's own WritePrivateProfileStringA rewrites the whole file");
    const std::string file = "Kpe/Dll/snd_kpe.ini";
    PatchSetup absent("English");
    absent.run();
    EXPECT_EQ(readFile(absent.game(file)), "[Options]\r\nSXD_DIST_SATUR=8\r\nSXD_DIST_FADE=64\r\n");

    PatchSetup other("English");
    const std::string five = "; sound\n[Options]\nSXD_DIST_SATUR=5\nSXD_DIST_FADE=10\n";
    writeFile(other.game(file), five);
    other.run();
    EXPECT_EQ(readFile(other.game(file)), five);

    PatchSetup two("English");
    writeFile(two.game(file), "; sound\n[options]\nsxd_dist_fade=10\nSXD_DIST_SATUR = 2\nVolume=3\n");
    two.run();
    EXPECT_EQ(readFile(two.game(file)), "; sound\n[options]\nsxd_dist_fade=64\nSXD_DIST_SATUR=8\nVolume=3\n");
}

}  // namespace
}  // namespace calyx::testing
