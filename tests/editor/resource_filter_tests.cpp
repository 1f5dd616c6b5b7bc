// Finding a sound: which rows a typed text keeps, and the count shown
// beside the box.
#include <gtest/gtest.h>

#include "editor/core/resource_filter.h"
#include "fixtures/list_bank.h"
#include "fixtures/opened_bank.h"

namespace calyx::editor {
namespace {

class ResourceFilterTest : public ::testing::Test {
protected:
    // zeta "Moteur" b.wav; Alpha "bruit" (no file); an empty slot; beta
    // "Piste" (a CD track); ALPHA "aigu" A.WAV.
    ResourceFilterTest() : bank(fixtures::openBankFile(fixtures::writeListBank(dir))), filter(*bank) {}

    std::vector<std::size_t> kept(std::string_view text) {
        filter.setText(text);
        std::vector<std::size_t> rows;
        for (std::size_t i = 0; i < bank->resourceCount(); ++i)
            if (filter.matches(i)) rows.push_back(i);
        return rows;
    }

    fixtures::TempDir dir;
    std::unique_ptr<bank::SoundBank> bank;
    ResourceFilter filter;
};

using Rows = std::vector<std::size_t>;

TEST_F(ResourceFilterTest, NameFileOrDescriptionWithoutRegardToCase) {
    EXPECT_EQ(kept(""), (Rows{0, 1, 2, 3, 4}));
    EXPECT_EQ(kept("alpha"), (Rows{1, 4}));
    EXPECT_EQ(kept("MOT"), (Rows{0}));        // a description
    EXPECT_EQ(kept("a.wav"), (Rows{4}));      // a file
    EXPECT_EQ(kept("i"), (Rows{1, 3, 4}));    // bruit, Piste, aigu
    EXPECT_EQ(kept("track"), (Rows{}));       // a CD track's file is not shown, so not searched
    EXPECT_EQ(kept("ur\nb"), (Rows{}));       // never across two texts
    EXPECT_EQ(kept("zeta b.wav"), (Rows{}));
}

TEST_F(ResourceFilterTest, AChangedResourceIsSearchedAnew) {
    EXPECT_EQ(kept("klaxon"), (Rows{}));
    bank->resourceAt(0)->setReplacement(true, 8, "/home/u/Sons/Klaxon.wav");
    EXPECT_EQ(kept("klaxon"), (Rows{}));  // until the list says it changed
    filter.forget(0);
    EXPECT_EQ(kept("klaxon"), (Rows{0}));
    EXPECT_EQ(kept("sons/k"), (Rows{0}));
}

TEST(SearchFolding, AccentedCapitalsOfGameTextsMatchTheirSmallForms) {
    EXPECT_EQ(foldForSearch("DÉRAPAGE À Ÿ ×"), "dérapage à Ÿ ×");
    EXPECT_EQ(foldForSearch("ÀÞ"), "àþ");
    EXPECT_EQ(foldForSearch("\xC3"), "\xC3");  // a cut character is left as it is
}

TEST(FilterCount, ThousandsAreGroupedInEachLanguage) {
    EXPECT_EQ(filterCountText(12, 2000, InterfaceLanguage::English), "12 of 2,000");
    EXPECT_EQ(filterCountText(1234567, 1234567, InterfaceLanguage::English), "1,234,567 of 1,234,567");
    EXPECT_EQ(filterCountText(0, 999, InterfaceLanguage::English), "0 of 999");
    EXPECT_EQ(filterCountText(12, 20000, InterfaceLanguage::French), "12 sur 20\u00A0000");
}

}  // namespace
}  // namespace calyx::editor
