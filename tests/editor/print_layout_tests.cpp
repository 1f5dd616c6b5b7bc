// The printed listing's layout: line texts, positions and page breaks.
#include <gtest/gtest.h>

#include "edit_test_support.h"
#include "editor/core/print_layout.h"
#include "fixtures/strings_dat.h"

namespace calyx::editor {
namespace {

using test::sample;

// A4 at 600 dots per inch.
constexpr PrintArea a4{4961, 7016, 600, 600};

fixtures::BankSpec manySamples(int count) {
    fixtures::BankSpec spec;
    for (int i = 0; i < count; ++i) {
        auto r = sample(static_cast<std::uint32_t>(i + 1), fixtures::patternBytes(10, 1), "S" + std::to_string(i) + ".WAV");
        r.looping = i == 1;
        spec.resources.push_back(r);
    }
    return spec;
}

class Listing : public ::testing::Test {
protected:
    std::unique_ptr<bank::SoundBank> open(const fixtures::BankSpec& spec) {
        path_ = test::writeBank(dir_, "p.bnm", spec);
        return test::openBankFile(path_);
    }
    fixtures::TempDir dir_;
    std::string path_;
    GameStrings strings_;
};

TEST_F(Listing, SamplesAndTracksAt600Dpi) {
    auto spec = manySamples(2);
    fixtures::ResourceSpec empty;
    empty.kind = 0;
    fixtures::ResourceSpec cd;
    cd.kind = 3;
    cd.stored = 0;
    cd.fileName = "TRACK";
    spec.resources.push_back(empty);
    spec.resources.push_back(cd);
    auto bank = open(spec);
    bank->resourceAt(0)->setNames("n", "Moteur");
    const auto layout = layOutListing(*bank, a4, listingWords(strings_));
    ASSERT_EQ(layout.lines.size(), 6u);
    EXPECT_EQ(layout.pageCount, 1);
    const std::vector<std::pair<int, std::string>> expected = {
        {150, path_ + " (Ornwick sound bank)"},
        {450, "0: Sample(S0.WAV): Moteur"},
        {600, "   10 octets; "},
        {787, "1: Sample(S1.WAV): "},
        {937, "   10 octets; son bouclant"},
        {1124, "3 CD(TRACK)"},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(layout.lines[i].y, expected[i].first) << i;
        EXPECT_EQ(layout.lines[i].utf8, expected[i].second) << i;
        EXPECT_EQ(layout.lines[i].x, 300);
    }
}

TEST_F(Listing, ATrackWithoutAFileNameShowsItsNameOrWhatTheListShows) {
    fixtures::BankSpec spec;
    for (int i = 0; i < 2; ++i) {
        fixtures::ResourceSpec cd;
        cd.kind = 3;
        cd.stored = 0;
        spec.resources.push_back(cd);
    }
    auto bank = open(spec);
    bank->resourceAt(0)->setNames("Piste 4", "");
    bank->resourceAt(1)->setNames("", "");
    const auto layout = layOutListing(*bank, a4, listingWords(strings_));
    ASSERT_EQ(layout.lines.size(), 3u);
    EXPECT_EQ(layout.lines[1].utf8, "0 CD(Piste 4)");
    EXPECT_EQ(layout.lines[2].utf8, "1 CD(<CD audio>)");
}

TEST_F(Listing, PagesBreakWhereTheNextEntryWouldNotFit) {
    auto bank = open(manySamples(40));
    const auto layout = layOutListing(*bank, a4, listingWords(strings_));
    // An entry fits while y + 75 + 300 <= 7016: page 1 holds 19 entries from
    // y = 450, page 2 holds 20 from y = 150, the 40th goes on page 3.
    int firstOnPage2 = -1;
    for (const auto& line : layout.lines)
        if (line.page == 2) {
            firstOnPage2 = line.y;
            EXPECT_EQ(line.utf8.rfind("19: ", 0), 0u) << line.utf8;
            break;
        }
    EXPECT_EQ(firstOnPage2, 150);
    EXPECT_EQ(layout.pageCount, 3);
    EXPECT_EQ(layout.lines.back().page, 3);
    EXPECT_EQ(layout.lines.back().utf8.rfind("   10", 0), 0u);
    int titles = 0;
    for (const auto& line : layout.lines) titles += line.utf8.find("(Ornwick sound bank)") != std::string::npos;
    EXPECT_EQ(titles, 1);
}

TEST_F(Listing, GameWordsAndTooSmallPages) {
    fixtures::writeStringsDat(dir_ / "strings.dat", {{22, "looping"}, {24, std::string(60, 'b')}});
    ASSERT_EQ(strings_.load(dir_ / "strings.dat"), 1);
    const auto words = listingWords(strings_);
    EXPECT_EQ(words.loopLabel.utf8(), "looping");
    EXPECT_EQ(words.byteUnit.utf8().size(), 49u);
    auto bank = open(manySamples(1));
    EXPECT_TRUE(layOutListing(*bank, {1800, 449, 600, 600}, words).lines.empty());  // H < 3L
    EXPECT_TRUE(layOutListing(*bank, {1800, 7000, 600, 600}, words).lines.empty());  // W <= 3X
    // Only empty slots: the title alone.
    fixtures::BankSpec slots;
    slots.resources.resize(3);
    for (auto& r : slots.resources) r.kind = 0;
    EXPECT_EQ(layOutListing(*open(slots), a4, words).lines.size(), 1u);
}

}  // namespace
}  // namespace calyx::editor
