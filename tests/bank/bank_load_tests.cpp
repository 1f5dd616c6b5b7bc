// Loading both flavours, and files that lie about themselves.
#include <gtest/gtest.h>

#include "bank_files.h"

namespace calyx {
namespace {

using fixtures::BankSpec;
using fixtures::ResourceSpec;
using fixtures::TempDir;
using testing::writeAndLoad;

using testing::sample;

TEST(BankLoad, FirstGameHeaderIsNormalisedToTheSecondGamesShape) {
    TempDir dir;
    BankSpec spec;
    spec.k7 = true;
    spec.aux = {{}, {}};
    spec.aux[1].fill(0xAB);
    spec.resources = {sample(1, 12), sample(2, 20)};
    auto loaded = writeAndLoad(dir, "k.bnm", spec);
    ASSERT_EQ(loaded.result, bank::LoadResult::Loaded);
    const auto& b = *loaded.bank;
    EXPECT_EQ(b.flavor(), bank::BankFlavor::K7TQ);
    const std::uint32_t dataStart = 36 + 2 * 32 + 2 * 92;
    const auto& h = b.header();
    EXPECT_EQ(h[0], 0xAAAAAAAAu);
    EXPECT_EQ(h[1], spec.h1);
    EXPECT_EQ(h[3], spec.h3);
    EXPECT_EQ(h[7], dataStart);
    // The data end moves to h10; h8 and h9 take the data start.
    EXPECT_EQ(h[10], dataStart + 32);
    EXPECT_EQ(h[8], dataStart);
    EXPECT_EQ(h[9], dataStart);
    EXPECT_EQ(b.auxRecordCount(), 2u);
    EXPECT_EQ(b.resourceCount(), 2u);
}

TEST(BankLoad, SecondGameKeepsItsHeaderAndNamesItsExternalData) {
    TempDir dir;
    BankSpec spec;
    spec.magic = 0x12345678;
    spec.resources = {sample(1, 8), sample(2, 8, "xxxxxxxxxxxx"), sample(3, 16, "MUSIC1.WAV"), sample(4, 4, "OTHER.WAV")};
    spec.resources[1].external = true;
    spec.resources[2].external = true;
    spec.resources[3].external = true;
    auto loaded = writeAndLoad(dir, "b.bnm", spec);
    const auto& b = *loaded.bank;
    EXPECT_EQ(b.flavor(), bank::BankFlavor::TQ2);
    EXPECT_EQ(b.header()[0], 0x12345678u);
    // The first external resource with a file name names the external data.
    EXPECT_EQ(b.externalDataName().value_or("<none>"), "MUSIC1.WAV");
    EXPECT_TRUE(b.resourceAt(2)->isStored());
    EXPECT_EQ(b.resourceAt(2)->sourceArea(), bank::SourceArea::FileStart);
}

// The areas' starts come from the header words the load leaves (a first-game
// bank has no external area: it starts where the main one does); the
// companion is the bank's path with its last letter replaced by 's'.
TEST(BankLoad, NamedAccessorsGiveTheAreasAndTheCompanion) {
    TempDir dir;
    BankSpec tq2;
    tq2.resources = {sample(1, 8), sample(2, 6, "MUSIC1.WAV")};
    tq2.resources[1].external = true;
    const auto bytes = fixtures::buildBank(tq2);
    auto two = writeAndLoad(dir, "b.bnm", tq2);
    ASSERT_EQ(two.result, bank::LoadResult::Loaded);
    EXPECT_EQ(two.bank->mainAreaStart(), testing::wordAt(bytes, 28));
    EXPECT_EQ(two.bank->externalAreaStart(), testing::wordAt(bytes, 36));
    EXPECT_GT(two.bank->externalAreaStart(), two.bank->mainAreaStart());

    BankSpec k7;
    k7.k7 = true;
    k7.resources = {sample(1, 12)};
    auto one = writeAndLoad(dir, "k.bnm", k7);
    ASSERT_EQ(one.result, bank::LoadResult::Loaded);
    EXPECT_EQ(one.bank->mainAreaStart(), 36u + 92u);
    EXPECT_EQ(one.bank->externalAreaStart(), one.bank->mainAreaStart());

    using bank::SoundBank;
    EXPECT_EQ(SoundBank::companionPath(*two.bank->bankPath()), dir / "b.bns");
    EXPECT_EQ(SoundBank::companionPath("C:\\Jeux\\VLM2Snd.BNM"), "C:\\Jeux\\VLM2Snd.BNs");
    EXPECT_EQ(SoundBank::companionPath("x"), "s");
    EXPECT_EQ(SoundBank::companionPath(""), "");  // no last letter to replace
}

TEST(BankLoad, FirstGameExternalSamplesAreNotStored) {
    TempDir dir;
    BankSpec spec;
    spec.k7 = true;
    spec.resources = {sample(1, 8, "ENGINE.WAV")};
    spec.resources[0].external = true;
    auto loaded = writeAndLoad(dir, "k.bnm", spec);
    EXPECT_FALSE(loaded.bank->resourceAt(0)->isStored());
    EXPECT_TRUE(loaded.bank->resourceAt(0)->isExternal());
}

TEST(BankLoad, LoopPointsAndSizesBecomeTheCurrentOnes) {
    TempDir dir;
    BankSpec spec;
    spec.resources = {sample(1, 40)};
    spec.resources[0].looping = true;
    spec.resources[0].loopStart = 4;
    spec.resources[0].loopEnd = 36;
    auto loaded = writeAndLoad(dir, "b.bnm", spec);
    const auto& r = *loaded.bank->resourceAt(0);
    EXPECT_EQ(r.currentLoopStart(), 4u);
    EXPECT_EQ(r.currentLoopEnd(), 36u);
    EXPECT_EQ(r.currentSize(), 40u);
    EXPECT_EQ(r.sourceOffset(), 0);
}

TEST(BankLoad, CountsThatCannotFitInTheFileAreRefusedBeforeAnyAllocation) {
    TempDir dir;
    BankSpec spec;
    spec.resources = {sample(1, 8)};
    auto bytes = fixtures::buildBank(spec);
    for (std::size_t word : {2u, 4u}) {
        auto hostile = bytes;
        hostile[4 * word] = hostile[4 * word + 1] = hostile[4 * word + 2] = hostile[4 * word + 3] = 0xFF;
        fixtures::writeBytes(dir / "h.bnm", hostile);
        auto loaded = testing::loadBankFile(dir / "h.bnm");
        EXPECT_EQ(loaded.result, bank::LoadResult::ImpossibleCounts) << "word h" << word;
        EXPECT_EQ(loaded.bank->resourceCount(), 0u);
    }
}

TEST(BankLoad, EveryTruncationFailsCleanly) {
    TempDir dir;
    for (bool k7 : {false, true}) {
        BankSpec spec;
        spec.k7 = k7;
        spec.aux = {{}};
        spec.resources = {sample(1, 8), sample(2, 8)};
        const auto bytes = fixtures::buildBank(spec);
        const std::size_t recordsEnd = (k7 ? 36 : 44) + 32 + 2 * 92;
        for (std::size_t cut = 1; cut < recordsEnd; ++cut) {
            fixtures::writeBytes(dir / "t.bnm", {bytes.begin(), bytes.begin() + static_cast<long>(cut)});
            auto loaded = testing::loadBankFile(dir / "t.bnm");
            EXPECT_NE(loaded.result, bank::LoadResult::Loaded) << "cut at " << cut;
        }
        // Cut inside the sample data: the records are whole, the bank loads.
        fixtures::writeBytes(dir / "t.bnm", {bytes.begin(), bytes.begin() + static_cast<long>(recordsEnd + 3)});
        EXPECT_EQ(testing::loadBankFile(dir / "t.bnm").result, bank::LoadResult::Loaded);
    }
}

TEST(BankLoad, ReadSampleReadsOnlyWhatTheFileHolds) {
    TempDir dir;
    BankSpec spec;
    spec.resources = {sample(1, 8), sample(2, 8)};
    spec.resources[1].dataSize = 0x7FFFFFF0;  // claims far more than the file holds
    auto loaded = writeAndLoad(dir, "b.bnm", spec);
    auto& b = *loaded.bank;
    std::vector<std::uint8_t> buffer;
    std::uint32_t length = 0;
    const auto& good = *b.resourceAt(0);
    ASSERT_EQ(good.readSample(b.mainAreaStart(), *b.bankPath(), buffer, length, 0, good.sourceOffset(), 0, false), 1);
    EXPECT_EQ(buffer, spec.resources[0].data);
    const auto& liar = *b.resourceAt(1);
    EXPECT_EQ(liar.readSample(b.mainAreaStart(), *b.bankPath(), buffer, length, 0, liar.sourceOffset(), 0, false), 0);
    EXPECT_TRUE(buffer.empty());
}

}  // namespace
}  // namespace calyx
