// `calyx-cli where`: the installation as the shared INI file records it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "batch_cli_runner.h"
#include "fixtures/strings_dat.h"
#include "fixtures/temp_dir.h"
#include "fixtures/wine_prefix.h"

namespace calyx::cli {
namespace {

using nlohmann::json;
using testing::runCli;

json whereJson() {
    const auto run = runCli({"where", "--json"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return json::parse(run.out);
}

TEST(BatchWhere, SecondGameDecidesSoundFolderAndStringsFile) {
    CALYX_SKIP_FOR_WINDOWS_PROGRAMS("the Wine prefix and the host paths it reports are the Linux side's");
    fixtures::WinePrefix prefix;
    fixtures::makeDirs(prefix.driveC() + "/Jeux/VLM2/Datab/Resson");
    fixtures::makeDirs(prefix.driveC() + "/Jeux/K7/K7datab/Resson");
    prefix.writeIni(
        "[K7TQ]\r\nDirectory=C:\\Jeux\\K7\r\nLanguage=French\r\n"
        "[TQ2]\r\nDirectory=C:\\Jeux\\VLM2\\\r\nLanguage=English\r\n");
    fixtures::writeStringsDat(prefix.driveC() + "/Jeux/VLM2/Datab/Resson/strings.dat", {{148, "OK"}});

    const json where = whereJson();
    EXPECT_EQ(where["iniFile"]["found"], true);
    EXPECT_EQ(where["TQ2"]["directory"]["path"], "C:\\Jeux\\VLM2\\");
    EXPECT_EQ(where["TQ2"]["language"], "English");
    EXPECT_EQ(where["K7TQ"]["directory"]["path"], "C:\\Jeux\\K7\\");  // a backslash is added
    EXPECT_EQ(where["K7TQ"]["language"], "French");
    EXPECT_EQ(where["soundFolder"]["path"], "C:\\Jeux\\VLM2\\Datab\\Resson");
    EXPECT_EQ(where["soundFolder"]["exists"], true);
    EXPECT_EQ(where["stringsDat"]["path"], "C:\\Jeux\\VLM2\\datab\\resson\\strings.dat");
    EXPECT_EQ(where["stringsDat"]["hostPath"], prefix.driveC() + "/Jeux/VLM2/Datab/Resson/strings.dat");
    EXPECT_EQ(where["stringsDat"]["loaded"], true);

    const auto text = runCli({"where"});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_NE(text.out.find("sound folder:  C:\\Jeux\\VLM2\\Datab\\Resson"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("game texts:    loaded"), std::string::npos) << text.out;
}

TEST(BatchWhere, NullValuesAreAbsentAndAMalformedStringsFileIsNotLoaded) {
    fixtures::WinePrefix prefix;
    fixtures::makeDirs(prefix.driveC() + "/Jeux/K7/K7datab/Resson");
    prefix.writeIni(
        "[TQ2]\r\nDirectory=NULL\r\nLanguage=NULL\r\n"
        "[K7TQ]\r\nDirectory=C:\\Jeux\\K7\\\r\n");
    // Ends without 999 after too few entries: not loaded.
    fixtures::writeStringsDat(prefix.driveC() + "/Jeux/K7/K7datab/Resson/strings.dat", {{148, "OK"}}, false);

    const json where = whereJson();
    EXPECT_TRUE(where["TQ2"]["directory"].is_null());
    EXPECT_TRUE(where["TQ2"]["language"].is_null());
    EXPECT_TRUE(where["K7TQ"]["language"].is_null());
    EXPECT_EQ(where["soundFolder"]["path"], "C:\\Jeux\\K7\\K7Datab\\Resson");
    EXPECT_EQ(where["soundFolder"]["exists"], true);  // found without regard to case
    EXPECT_EQ(where["stringsDat"]["path"], "C:\\Jeux\\K7\\K7datab\\resson\\strings.dat");
    EXPECT_EQ(where["stringsDat"]["exists"], true);
    EXPECT_EQ(where["stringsDat"]["loaded"], false);
}

TEST(BatchWhere, WithoutTheIniFileNothingIsRecorded) {
    CALYX_SKIP_FOR_WINDOWS_PROGRAMS("the Wine prefix and the host paths it reports are the Linux side's");
    fixtures::WinePrefix prefix;
    fixtures::TempDir elsewhere;
    fixtures::ScopedCwd cwd(elsewhere.path());
    const json where = whereJson();
    EXPECT_EQ(where["winePrefix"], prefix.path());
    EXPECT_EQ(where["iniFile"]["found"], false);
    EXPECT_TRUE(where["TQ2"]["directory"].is_null());
    EXPECT_TRUE(where["K7TQ"]["directory"].is_null());
    EXPECT_TRUE(where["soundFolder"].is_null());
    EXPECT_EQ(where["stringsDat"]["loaded"], false);

    const auto text = runCli({"where"});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_NE(text.out.find("(missing)"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("(not recorded)"), std::string::npos) << text.out;
}

}  // namespace
}  // namespace calyx::cli
