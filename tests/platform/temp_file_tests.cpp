#include "platform/temp_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "fixtures/temp_dir.h"

namespace calyx::platform {
namespace {

using fixtures::TempDir;
namespace fs = std::filesystem;

TEST(TempFile, NamesBesideATargetAreHiddenAndNumbered) {
    EXPECT_EQ(namesBeside("/games/k7/snd.ini", "new").nameFor(0), "/games/k7/.snd.ini.new0");
    EXPECT_EQ(namesBeside("/snd.ini", "patch").nameFor(12), "/.snd.ini.patch12");
    EXPECT_EQ(namesBeside("snd.ini", "new").nameFor(3), "./.snd.ini.new3");
    EXPECT_EQ(numberedNames("C:\\Jeux\\", "~Calyx", ".tmp", 20).nameFor(7), "C:\\Jeux\\~Calyx7.tmp");
    EXPECT_EQ(numberedNames("", "~Calyx", ".tmp", 20).nameFor(0), "~Calyx0.tmp");
}

TEST(TempFile, SkipsNamesTakenInAnyFormAndNeverTouchesThem) {
    TempDir dir;
    fixtures::writeFile(dir / "~T0.tmp", "someone else's");
    fixtures::makeDirs(dir / "~t1.TMP");  // a folder, and in other letter case
    File file;
    const TempFileResult created = createTempFile(file, numberedNames(dir.path(), "~T", ".tmp", 5));
    ASSERT_TRUE(created);
    EXPECT_EQ(created.path, dir / "~T2.tmp");
    ASSERT_TRUE(file.isOpen());
    EXPECT_EQ(file.write("mine", 4), 4);
    EXPECT_EQ(file.seek(0, File::Origin::Start), 0);  // opened for reading too
    char back[4];
    EXPECT_EQ(file.read(back, 4), 4);
    file.close();
    EXPECT_EQ(fixtures::readFile(dir / "~T0.tmp"), "someone else's");
    EXPECT_EQ(fixtures::readFile(dir / "~T2.tmp"), "mine");

    // Every name taken: the answer says so, and names the last one tried.
    const TempFileResult none = createTempFile(file, numberedNames(dir.path(), "~T", ".tmp", 3));
    EXPECT_EQ(none.error, TempFileError::AllNamesTaken);
    EXPECT_EQ(none.path, dir / "~T2.tmp");
    EXPECT_FALSE(file.isOpen());
}

TEST(TempFile, ARefusalEndsTheSearchUnlessTheCallerWantsEveryNameTried) {
    TempDir dir;
    const TempNames names = numberedNames(dir / "no such folder", "~T", ".tmp", 4);
    File file;
    EXPECT_EQ(createTempFile(file, names).error, TempFileError::CannotCreate);

    std::vector<std::string> tried;
    auto refuseAll = [&](const std::string& name) {
        tried.push_back(name);
        return NameTry::Failed;
    };
    const TempFileResult stopped = claimFreeName(names, refuseAll);
    EXPECT_EQ(tried.size(), 1u);
    EXPECT_EQ(stopped.error, TempFileError::CannotCreate);
    tried.clear();
    const TempFileResult every = claimFreeName(names, refuseAll, OnRefusal::TryNextName);
    EXPECT_EQ(tried.size(), 4u);
    EXPECT_EQ(every.path, names.nameFor(3));

    // A refused name followed by taken ones: the last cause is the answer.
    int calls = 0;
    const TempFileResult mixed = claimFreeName(
        names, [&](const std::string&) { return calls++ == 0 ? NameTry::Failed : NameTry::Taken; },
        OnRefusal::TryNextName);
    EXPECT_EQ(mixed.error, TempFileError::AllNamesTaken);
}

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    return names;
}

TEST(TempFile, AnUnnamedFileAppearsOnlyWhenNamedAndThenUnderAFreeName) {
    TempDir dir;
    fixtures::writeFile(dir / "~T0.tmp", "someone else's");
    fixtures::makeDirs(dir / "~t1.TMP");
    File file;
    const TempNames names = numberedNames(dir.path(), "~T", ".tmp", 5);
    if (!createUnnamedTempFile(file, names)) GTEST_SKIP() << "no files without a name here";
    EXPECT_EQ(file.write("complete", 8), 8);
    EXPECT_EQ(file.seek(0, File::Origin::Start), 0);  // opened for reading too
    char back[8];
    EXPECT_EQ(file.read(back, 8), 8);
    ASSERT_TRUE(file.flush());
    EXPECT_EQ(folderEntries(dir.path()).size(), 2u);

    const TempFileResult named = nameTempFile(file, names);
    ASSERT_TRUE(named);
    EXPECT_EQ(named.path, dir.path() + "/~T2.tmp");
    // Named once: the file gets no second name.
    EXPECT_FALSE(file.giveName(dir / "~T3.tmp"));
    EXPECT_TRUE(file.close());
    EXPECT_EQ(fixtures::readFile(dir / "~T2.tmp"), "complete");
    EXPECT_EQ(fixtures::readFile(dir / "~T0.tmp"), "someone else's");
    EXPECT_EQ(folderEntries(dir.path()).size(), 3u);

    // Every name taken: the file stays without one, and closed it is gone.
    ASSERT_TRUE(createUnnamedTempFile(file, names));
    EXPECT_EQ(file.write("lost", 4), 4);
    const TempFileResult none = nameTempFile(file, numberedNames(dir.path(), "~T", ".tmp", 3));
    EXPECT_EQ(none.error, TempFileError::AllNamesTaken);
    EXPECT_TRUE(file.close());
    EXPECT_EQ(folderEntries(dir.path()).size(), 3u);

    // A folder that is not there: no name in it, and no file without one.
    ASSERT_TRUE(createUnnamedTempFile(file, names));
    const TempNames gone = numberedNames(dir / "gone", "~T", ".tmp", 3);
    EXPECT_EQ(nameTempFile(file, gone).error, TempFileError::CannotCreate);
    EXPECT_FALSE(createUnnamedTempFile(file, gone));
    EXPECT_FALSE(file.isOpen());
}

TEST(TempFile, OnlyAFileMadeWithoutANameCanBeGivenOne) {
    TempDir dir;
    File file;
    ASSERT_TRUE(createTempFile(file, numberedNames(dir.path(), "~N", ".tmp", 2)));
    EXPECT_FALSE(file.giveName(dir / "second name"));
    file.close();
    EXPECT_FALSE(file.giveName(dir / "second name"));
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"~N0.tmp"});
}

TEST(TempFile, CreatorsRacingInOneFolderEachGetTheirOwnFile) {
    TempDir dir;
    constexpr int creators = 4, filesEach = 10;
    std::vector<std::vector<std::string>> made(creators);
    std::vector<std::thread> threads;
    for (int c = 0; c < creators; ++c)
        threads.emplace_back([&, c] {
            for (int i = 0; i < filesEach; ++i) {
                File file;
                const TempFileResult created = createTempFile(file, numberedNames(dir.path(), "~R", ".tmp", 100));
                if (!created) return;
                const std::string mark = std::to_string(c) + "/" + std::to_string(i);
                file.write(mark.data(), mark.size());
                file.close();
                made[static_cast<std::size_t>(c)].push_back(created.path);
            }
        });
    for (auto& t : threads) t.join();
    std::set<std::string> names;
    for (int c = 0; c < creators; ++c) {
        ASSERT_EQ(made[static_cast<std::size_t>(c)].size(), std::size_t{filesEach});
        for (int i = 0; i < filesEach; ++i) {
            const std::string& path = made[static_cast<std::size_t>(c)][static_cast<std::size_t>(i)];
            names.insert(path);
            // Nobody else wrote into it.
            EXPECT_EQ(fixtures::readFile(path), std::to_string(c) + "/" + std::to_string(i));
        }
    }
    EXPECT_EQ(names.size(), std::size_t{creators * filesEach});
}

}  // namespace
}  // namespace calyx::platform
