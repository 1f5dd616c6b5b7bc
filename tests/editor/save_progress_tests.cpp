// A save tells how far it has come after each sample it writes, up to the
// whole of the sample bytes, and tells nothing once it is over.
#include <gtest/gtest.h>

#include "editor/core/bank_document.h"
#include "edit_test_support.h"

namespace calyx::editor {
namespace {

TEST(SaveProgress, EachSampleWrittenIsHeardUpToTheWhole) {
    fixtures::TempDir dir;
    const std::string path = test::writeBank(dir, "long.bnm", test::twoSamplesAndACdTrack("THREE.WAV", false));
    LinkTable links;
    BankDocument document(links);
    ASSERT_TRUE(document.open(path, {}).opened);
    std::vector<std::pair<std::uint64_t, std::uint64_t>> heard;
    ASSERT_TRUE(document.save(path, [&heard](std::uint64_t done, std::uint64_t total) {
        heard.emplace_back(done, total);
    }).saved);
    // Three samples of 40, 24 and 16 bytes; the CD track has none.
    EXPECT_EQ(heard, (std::vector<std::pair<std::uint64_t, std::uint64_t>>{{40, 80}, {64, 80}, {80, 80}}));
    heard.clear();
    ASSERT_TRUE(document.save(path).saved);
    EXPECT_TRUE(heard.empty());
}

}  // namespace
}  // namespace calyx::editor
