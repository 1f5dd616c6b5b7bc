// The demo installation: a prefix in which calyx-cli finds both games, and
// banks that it opens, names and finds sound.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "batch_cli_runner.h"
#include "fixtures/temp_dir.h"

namespace calyx::cli {
namespace {

using nlohmann::json;
using testing::runCli;

TEST(BatchDemo, MakesAnInstallationTheCliAccepts) {
    fixtures::TempDir dir;
    const std::string prefix = dir / "prefix";
    fixtures::ScopedEnv env("WINEPREFIX", prefix);
    const auto made = testing::runProgram("calyx-make-demo", {prefix});
    ASSERT_EQ(made.exitCode, 0) << made.err;

    const json where = json::parse(runCli({"where", "--json"}).out);
    EXPECT_EQ(where["TQ2"]["directory"]["exists"], true);
    EXPECT_EQ(where["K7TQ"]["directory"]["exists"], true);
    EXPECT_EQ(where["stringsDat"]["loaded"], true);

    struct DemoBank {
        std::string path;
        std::vector<std::string> someNames;
    };
    for (const DemoBank& bank : {DemoBank{"C:\\Jeux\\VLM2\\Datab\\Resson\\VLM2Snd.bnm", {"EngineIdle", "Horn", "Crowd"}},
                                 DemoBank{"C:\\Jeux\\K7\\K7datab\\Resson\\K7Snd.bnm", {"Engine", "Skid"}}}) {
        const auto check = runCli({"check", bank.path});
        EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
        const auto list = runCli({"list", "--json", bank.path});
        ASSERT_EQ(list.exitCode, 0) << list.err;
        EXPECT_EQ(list.err, "");  // names read without a warning
        std::set<std::string> names;
        std::set<std::uint32_t> kinds;
        for (const auto& row : json::parse(list.out)) {
            names.insert(row["name"].get<std::string>());
            kinds.insert(row["kind"].get<std::uint32_t>());
        }
        for (const auto& name : bank.someNames) EXPECT_TRUE(names.count(name)) << name;
        EXPECT_TRUE(kinds.count(1) && kinds.count(3));
    }

    // Made again over itself, it stays usable.
    EXPECT_EQ(testing::runProgram("calyx-make-demo", {prefix}).exitCode, 0);
    EXPECT_EQ(runCli({"check", "C:\\Jeux\\VLM2\\Datab\\Resson\\VLM2Snd.bnm"}).exitCode, 0);
}

TEST(BatchDemo, PatcherRunsOnTheDemoEndToEnd) {
    fixtures::TempDir dir;
    const std::string prefix = dir / "prefix";
    fixtures::ScopedEnv env("WINEPREFIX", prefix);
    ASSERT_EQ(testing::runProgram("calyx-make-demo", {prefix}).exitCode, 0);
    const auto patched = testing::runProgram("patcher", {"vlm_v.exe", "-", "1.06"}, prefix + "/drive_c/VLM2-106");
    EXPECT_EQ(patched.exitCode, 0) << patched.err;
    EXPECT_EQ(patched.err, "[Success] (information)\nVelmora Circuit Champions 2 had been successfully patched\n\n");
    // patcher.exe writes the system's registry (tests/windows/same-results reads it back).
    if (!fixtures::testingWindowsPrograms()) {
        EXPECT_NE(fixtures::readFile(prefix + "/system.reg").find("\"version\"=\"1.06\""), std::string::npos);
    }
    EXPECT_EQ(fixtures::readFile(prefix + "/drive_c/Jeux/VLM2/Editors/calyx.exe"), "demo update file calyx.exe\r\n");
    // The patched game still speaks English and names its sounds.
    const auto list = runCli({"list", "C:\\Jeux\\VLM2\\Datab\\Resson\\VLM2Snd.bnm"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.err, "");
    EXPECT_EQ(json::parse(runCli({"where", "--json"}).out)["stringsDat"]["loaded"], true);
}

}  // namespace
}  // namespace calyx::cli
