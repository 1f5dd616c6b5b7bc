// A bank changed on disk behind the document's back: noticed after another
// program wrote it, not after the document's own save, forgotten once the
// user keeps their version, and never for a file that has gone.
#include <gtest/gtest.h>

#include <filesystem>

#include "editor/core/bank_document.h"
#include "edit_test_support.h"

namespace calyx::editor {
namespace {

using namespace std::chrono_literals;

// Another program rewrites the file: same size, a later write time.
void touchLater(const std::string& path) {
    const auto bytes = fixtures::readBytes(path);
    fixtures::writeBytes(path, bytes);
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + 2s);
}

TEST(DiskStamp, OnlyAFileThatIsThereAndDiffersHasChanged) {
    const DiskStamp a{100, 5};
    EXPECT_FALSE(changedOnDisk(a, a));
    EXPECT_TRUE(changedOnDisk(a, DiskStamp{100, 6}));
    EXPECT_TRUE(changedOnDisk(a, DiskStamp{101, 5}));
    EXPECT_FALSE(changedOnDisk(a, std::nullopt));  // gone: nothing to overwrite or reload
    EXPECT_FALSE(changedOnDisk(std::nullopt, a));  // never read from a file
}

TEST(DiskStamp, ADocumentNoticesAnotherProgramsWriteButNotItsOwnSave) {
    fixtures::TempDir dir;
    const std::string path = test::writeBank(dir, "watched.bnm", test::twoSamplesAndACdTrack("THREE.WAV", false));
    LinkTable links;
    BankDocument document(links);
    ASSERT_TRUE(document.open(path, {}).opened);
    EXPECT_FALSE(document.changedOnDisk());
    EXPECT_FALSE(document.asksBeforeSaving(path));

    touchLater(path);
    EXPECT_TRUE(document.changedOnDisk());
    EXPECT_TRUE(document.asksBeforeSaving(path));
    EXPECT_FALSE(document.asksBeforeSaving(dir / "elsewhere.bnm"));  // Save As to another file
    EXPECT_TRUE(document.offersReload());
    document.setModified(true);
    EXPECT_FALSE(document.offersReload());  // the user's changes are not thrown away

    // Keeping this version: no more questions until the next change.
    document.acceptDiskVersion();
    EXPECT_FALSE(document.changedOnDisk());
    touchLater(path);
    ASSERT_TRUE(document.save(path).saved);
    EXPECT_FALSE(document.changedOnDisk());

    std::filesystem::remove(path);
    EXPECT_FALSE(document.changedOnDisk());
}

}  // namespace
}  // namespace calyx::editor
