// Saving: layout, padding, sharing, both areas, pastes and WAV replacements,
// saving twice, and saves that fail without touching the bank on disk.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>

#include "bank/save_document.h"
#include "fixtures/file_size_limit.h"
#include "bank_files.h"
#include "fixtures/wav_builder.h"

namespace calyx {
namespace {

using Bytes = std::vector<unsigned char>;
using fixtures::BankSpec;
using fixtures::ResourceSpec;
using fixtures::TempDir;
using testing::sampleBytes;
using testing::wordAt;

using testing::sample;

Bytes withPadding(Bytes bytes, std::size_t padded) {
    const unsigned char last = bytes.empty() ? 0 : bytes.back();
    bytes.resize(padded, last);
    return bytes;
}

// Saves the bank in place and answers the new file's bytes.
Bytes saveInPlace(bank::SoundBank& b) {
    const auto outcome = bank::saveDocument(b, *b.bankPath());
    EXPECT_TRUE(outcome.saved) << "bank error " << static_cast<int>(outcome.failure.bankError);
    return fixtures::readBytes(*b.bankPath());
}

std::string writeWav(const TempDir& dir, const std::string& name, const Bytes& samples) {
    fixtures::writeBytes(dir / name, fixtures::simpleWav(samples));
    return dir / name;
}

TEST(BankSave, EmptyFirstGameBankIsHeaderAndAuxRecordsOnly) {
    TempDir dir;
    BankSpec spec;
    spec.k7 = true;
    spec.aux = {{}, {}, {}};
    spec.aux[2].fill(0x5A);
    auto loaded = testing::writeAndLoad(dir, "k.bnm", spec);
    const Bytes saved = saveInPlace(*loaded.bank);
    const std::uint32_t length = 36 + 32 * 3;
    ASSERT_EQ(saved.size(), length);
    for (std::size_t w : {5u, 6u, 7u, 8u}) EXPECT_EQ(wordAt(saved, 4 * w), length) << "h" << w;
    EXPECT_EQ(saved[36 + 64], 0x5A);
}

TEST(BankSave, PaddingRepeatsTheLastByte) {
    TempDir dir;
    BankSpec spec;
    spec.resources = {sample(1, 16), sample(2, 18)};
    spec.resources[0].padMode = 2;
    auto loaded = testing::writeAndLoad(dir, "b.bnm", spec);
    const Bytes saved = saveInPlace(*loaded.bank);
    EXPECT_EQ(wordAt(saved, 44 + 12), 24u);
    EXPECT_EQ(wordAt(saved, 44 + 92 + 12), 20u);
    EXPECT_EQ(sampleBytes(saved, false, 0), withPadding(spec.resources[0].data, 24));
    EXPECT_EQ(sampleBytes(saved, false, 1), withPadding(spec.resources[1].data, 20));
    // Saved again, the pad-mode-2 sample grows by 8 more copies of its last byte.
    const Bytes again = saveInPlace(*loaded.bank);
    EXPECT_EQ(sampleBytes(again, false, 0), withPadding(spec.resources[0].data, 32));
    EXPECT_EQ(sampleBytes(again, false, 1), withPadding(spec.resources[1].data, 20));
}

TEST(BankSave, AnUnchangedBankIsSavedByteForByte) {
    TempDir dir;
    for (bool k7 : {false, true}) {
        BankSpec spec;
        spec.k7 = k7;
        spec.aux = {{}};
        spec.aux[0].fill(7);
        spec.resources = {sample(1, 40, "ENGINE.WAV"), sample(2, 12, "HORN.WAV"), sample(3, 8, "LOOP.WAV")};
        spec.resources[0].filler = 0x3C;  // bytes the editor does not interpret
        spec.resources[2].looping = true;
        spec.resources[2].loopEnd = 8;
        ResourceSpec cd;
        cd.kind = 3;
        cd.stored = 0;
        cd.id = 40;
        cd.fileName = "TRACK07";
        cd.dataSize = 777;
        cd.dataOffset = 999;
        ResourceSpec empty;
        empty.kind = 0;
        empty.stored = 0;
        empty.filler = 0x11;
        spec.resources.push_back(cd);
        spec.resources.push_back(empty);
        if (!k7) {
            spec.resources.push_back(sample(5, 24, "MUSIC.WAV"));
            spec.resources.back().external = true;
        }
        const Bytes original = fixtures::buildBank(spec);
        fixtures::writeBytes(dir / "u.bnm", original);
        auto loaded = testing::loadBankFile(dir / "u.bnm");
        EXPECT_EQ(saveInPlace(*loaded.bank), original) << (k7 ? "first game" : "second game");
        // And again, from the committed state.
        EXPECT_EQ(saveInPlace(*loaded.bank), original) << (k7 ? "first game" : "second game");
    }
}

TEST(BankSave, SamplesOfOneNameShareOnlyTheSameBytes) {
    TempDir dir;
    BankSpec spec;
    auto a = sample(1, 8, "SKID.WAV");
    auto b = a;  // the same bytes at the same place: written once
    b.id = 2;
    b.fileName = "skid.wav";
    b.dataOffset = 0;
    b.dataSize = 8;
    b.data.clear();
    auto c = sample(3, 8, "SKID.WAV");  // same name, other bytes: never merged
    auto bnm1 = sample(4, 8, "OTHER.BNM");
    auto bnm2 = sample(5, 8, "OTHER.BNM");
    bnm2.dataOffset = 16;
    bnm2.dataSize = 8;
    bnm2.data.clear();
    bnm1.data = fixtures::patternBytes(8, 4);
    auto noName1 = sample(6, 8);
    auto noName2 = sample(7, 8);
    spec.resources = {a, b, c, bnm1, bnm2, noName1, noName2};
    auto loaded = testing::writeAndLoad(dir, "s.bnm", spec);
    const Bytes saved = saveInPlace(*loaded.bank);
    auto offsetOf = [&saved](std::size_t i) { return wordAt(saved, 44 + 92 * i + 16); };
    EXPECT_EQ(offsetOf(0), offsetOf(1));
    EXPECT_NE(offsetOf(0), offsetOf(2));
    EXPECT_NE(offsetOf(3), offsetOf(4));
    EXPECT_NE(offsetOf(5), offsetOf(6));
    EXPECT_EQ(sampleBytes(saved, false, 2), c.data);
    EXPECT_EQ(sampleBytes(saved, false, 6), noName2.data);
    // Six distinct copies of 8 bytes.
    EXPECT_EQ(wordAt(saved, 40) - wordAt(saved, 28), 6u * 8u);
}

// Two records of one sample that differ only in their pad mode share one
// copy, laid out as the first of them asks, in either order and flavour.
TEST(BankSave, SamplesThatDifferOnlyInPaddingShareOneCopy) {
    for (const bool k7 : {false, true}) {
        for (const bool eightFirst : {false, true}) {
            TempDir dir;
            BankSpec spec;
            spec.k7 = k7;
            auto first = sample(1, 10, "TWIN.WAV");
            auto second = sample(2, 0, "TWIN.WAV");
            second.dataOffset = 0;
            second.dataSize = 10;
            (eightFirst ? first : second).padMode = 2;
            spec.resources = {first, second};
            auto loaded = testing::writeAndLoad(dir, "t.bnm", spec);
            const Bytes saved = saveInPlace(*loaded.bank);
            const std::size_t records = k7 ? 36 : 44;
            auto word = [&](std::size_t i, std::size_t at) { return wordAt(saved, records + 92 * i + at); };
            const std::uint32_t padded = eightFirst ? 16u : 12u;
            EXPECT_EQ(word(0, 16), word(1, 16)) << k7 << eightFirst;
            EXPECT_EQ(word(0, 12), padded);
            EXPECT_EQ(word(1, 12), padded);
            EXPECT_EQ(saved.size(), records + 2 * 92 + padded);
            const Bytes bytes = sampleBytes(saved, k7, 1);
            EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 10), first.data);
        }
    }
}

// A target briefly held by another program refuses the new file: the save
// tries again before it gives up.
TEST(BankSave, TheRenameIsTriedAgain) {
    TempDir dir;
    BankSpec spec;
    spec.resources = {sample(1, 8, "A.WAV")};
    auto loaded = testing::writeAndLoad(dir, "b.bnm", spec);
    // An empty folder in the target's place until another program lets go.
    fixtures::makeDirs(dir / "held.bnm");
    std::thread other([&dir] {
        std::this_thread::sleep_for(std::chrono::milliseconds(70));
        std::filesystem::remove(dir / "held.bnm");
    });
    const auto outcome = bank::saveDocument(*loaded.bank, dir / "held.bnm");
    other.join();
    EXPECT_TRUE(outcome.saved) << static_cast<int>(outcome.failure.step);
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "held.bnm"));
    // One that never lets go fails the save, with the system's reason.
    fixtures::makeDirs(dir / "kept.bnm/inside");
    const auto refused = bank::saveDocument(*loaded.bank, dir / "kept.bnm");
    EXPECT_EQ(refused.failure.step, bank::SaveStep::Replace);
    EXPECT_NE(refused.failure.systemError, 0);
}

// A sample copied within its bank is the same bytes from the same place:
// one copy is written whatever the sample's size, the copy's position in
// the list, the flavour or the area.
TEST(BankSave, ASampleCopiedWithinItsBankIsStoredOnce) {
    TempDir dir;
    for (bool k7 : {false, true}) {
        for (bool external : {false, true}) {
            if (k7 && external) continue;  // the first game keeps those in files of their own
            for (bool targetFirst : {true, false}) {
                SCOPED_TRACE((k7 ? "first game" : "second game") + std::string(external ? ", external" : "") +
                             (targetFirst ? ", target before source" : ", target after source"));
                BankSpec spec;
                spec.k7 = k7;
                spec.resources = {sample(1, 8, "A.WAV"), sample(2, 10, "B.WAV"), sample(3, 8, "C.WAV")};
                for (auto& r : spec.resources) {
                    r.padMode = 1;
                    r.external = external;
                }
                auto loaded = testing::writeAndLoad(dir, "c.bnm", spec);
                auto& b = *loaded.bank;
                const std::size_t target = targetFirst ? 0 : 2;
                b.resourceAt(target)->copyFrom(*b.resourceAt(1), false);
                const Bytes saved = saveInPlace(b);
                const std::size_t header = k7 ? 36 : 44;
                EXPECT_EQ(wordAt(saved, header + 92 * target + 16), wordAt(saved, header + 92 + 16));
                // 8 bytes, then 12 for the shared 10-byte sample.
                EXPECT_EQ(saved.size(), header + 3 * 92 + 8 + 12);
                EXPECT_EQ(sampleBytes(saved, k7, target), withPadding(spec.resources[1].data, 12));
                EXPECT_EQ(sampleBytes(saved, k7, 1), withPadding(spec.resources[1].data, 12));
            }
        }
    }
}

TEST(BankSave, ExternalDataGetsAbsoluteOffsetsFromTheExternalArea) {
    TempDir dir;
    BankSpec spec;
    spec.resources = {sample(1, 12), sample(2, 20, "MUSIC.WAV"), sample(3, 8, "MUSIC.WAV")};
    spec.resources[1].external = true;
    spec.resources[2].external = true;
    spec.resources[2].data = fixtures::patternBytes(8, 99);
    auto loaded = testing::writeAndLoad(dir, "e.bnm", spec);
    const Bytes saved = saveInPlace(*loaded.bank);
    const std::uint32_t h9 = wordAt(saved, 36);
    EXPECT_EQ(h9, 44u + 3 * 92 + 12);
    EXPECT_EQ(wordAt(saved, 44 + 92 + 16), h9);
    EXPECT_EQ(wordAt(saved, 40), h9 + 28);
    EXPECT_EQ(sampleBytes(saved, false, 1), spec.resources[1].data);
    EXPECT_EQ(sampleBytes(saved, false, 2), spec.resources[2].data);
}

TEST(BankSave, WavReplacementsTakeTheirBytesAndNames) {
    TempDir dir;
    for (bool k7 : {false, true}) {
        BankSpec spec;
        spec.k7 = k7;
        spec.resources = {sample(1, 8, "OLD.WAV"), sample(2, 16, "xxxxxxxxxxxx"), sample(3, 8, "EXT.WAV")};
        spec.resources[2].external = true;
        spec.resources[2].stored = k7 ? 1 : 0;  // a second-game sample whose data is elsewhere
        auto loaded = testing::writeAndLoad(dir, "r.bnm", spec);
        auto& b = *loaded.bank;
        const Bytes longer = fixtures::patternBytes(30, 77);
        const std::string wav = writeWav(dir, "a_very_long_name.wav", longer);
        b.resourceAt(0)->setReplacement(true, 28, wav);
        b.resourceAt(1)->setReplacement(true, 8, wav);
        b.resourceAt(2)->setReplacement(true, 12, wav);
        const Bytes saved = saveInPlace(b);
        const std::size_t header = k7 ? 36 : 44;
        EXPECT_EQ(sampleBytes(saved, k7, 0), Bytes(longer.begin(), longer.begin() + 28));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&saved[header + 72])), "a_very_long_");
        // A slot that had no file name still gets its bytes.
        EXPECT_EQ(sampleBytes(saved, k7, 1), Bytes(longer.begin(), longer.begin() + 8));
        if (k7) {
            // The first game's external sample stays a file of its own.
            EXPECT_EQ(wordAt(saved, header + 2 * 92 + 8), 0u);
        } else {
            // A second-game sample that had no data here gets its space.
            EXPECT_EQ(wordAt(saved, header + 2 * 92 + 8), 1u);
            EXPECT_EQ(sampleBytes(saved, k7, 2), Bytes(longer.begin(), longer.begin() + 12));
        }
        EXPECT_FALSE(b.resourceAt(0)->isReplaced());
    }
}

TEST(BankSave, PastesCarryTheSourcesOwnBytes) {
    TempDir dir;
    BankSpec spec;
    spec.resources = {sample(1, 8, "MAIN.WAV"), sample(2, 12, "EXT.WAV"), sample(3, 16, "T1.WAV"),
                      sample(4, 20, "T2.WAV")};
    spec.resources[1].external = true;
    spec.resources[3].external = true;
    auto loaded = testing::writeAndLoad(dir, "p.bnm", spec);
    auto& b = *loaded.bank;
    // Within the bank: main area → external area, external → main.
    b.resourceAt(3)->copyFrom(*b.resourceAt(0), false);
    b.resourceAt(2)->copyFrom(*b.resourceAt(1), false);

    // From another bank, and from a sample of that bank with a pending import.
    BankSpec otherSpec;
    otherSpec.k7 = true;
    otherSpec.resources = {sample(9, 4), sample(8, 24, "OTHER.WAV"), sample(7, 8, "PENDING.WAV")};
    auto other = testing::writeAndLoad(dir, "o.bnm", otherSpec);
    const Bytes pendingBytes = fixtures::patternBytes(40, 55);
    other.bank->resourceAt(2)->setReplacement(true, 40, writeWav(dir, "pending.wav", pendingBytes));
    const std::string otherPath = *other.bank->bankPath();
    b.setSourceBankResolver([&otherPath](bank::LinkKey key) -> std::optional<std::string> {
        if (key == 42) return otherPath;
        return std::nullopt;
    });
    BankSpec moreSpec = spec;
    auto more = testing::writeAndLoad(dir, "p2.bnm", moreSpec);
    (void)more;
    b.resourceAt(0)->copyFrom(*other.bank->resourceAt(1), true);
    b.resourceAt(0)->setLinkKey(42);
    b.resourceAt(1)->copyFrom(*other.bank->resourceAt(2), true);
    b.resourceAt(1)->setLinkKey(42);

    const Bytes saved = saveInPlace(b);
    EXPECT_EQ(sampleBytes(saved, false, 0), otherSpec.resources[1].data);
    EXPECT_EQ(sampleBytes(saved, false, 1), pendingBytes);
    EXPECT_EQ(sampleBytes(saved, false, 2), spec.resources[1].data);
    EXPECT_EQ(sampleBytes(saved, false, 3), spec.resources[0].data);

    // Reloaded from disk, every sample reads back as saved.
    auto reloaded = testing::loadBankFile(*b.bankPath());
    std::vector<std::uint8_t> buffer;
    std::uint32_t length = 0;
    auto& r = *reloaded.bank->resourceAt(3);
    ASSERT_EQ(r.readSample(reloaded.bank->mainAreaStart(), *reloaded.bank->bankPath(), buffer, length, 0,
                           r.sourceOffset(), 0, false),
              1);
    EXPECT_EQ(buffer, spec.resources[0].data);
}

TEST(BankSave, SavingTwiceReadsTheFileJustSaved) {
    TempDir dir;
    BankSpec spec;
    spec.resources = {sample(1, 16, "A.WAV"), sample(2, 8, "B.WAV")};
    spec.resources[0].padMode = 2;
    auto loaded = testing::writeAndLoad(dir, "twice.bnm", spec);
    auto& b = *loaded.bank;
    const Bytes bigger = fixtures::patternBytes(64, 3);
    b.resourceAt(1)->setReplacement(true, 64, writeWav(dir, "big.wav", bigger));
    saveInPlace(b);
    b.resourceAt(1)->setVolume(12);
    b.resourceAt(0)->copyFrom(*b.resourceAt(1), false);
    const Bytes saved = saveInPlace(b);
    // The paste and its source are one sample of one name: one copy, laid
    // out as the first of them (pad mode 2) asks.
    EXPECT_EQ(sampleBytes(saved, false, 0), withPadding(bigger, 72));
    EXPECT_EQ(sampleBytes(saved, false, 1), withPadding(bigger, 72));
    EXPECT_EQ(saved[44 + 92 + 20], 12);
}

TEST(BankSave, SaveAsUnderANewNameMovesTheBankAndItsCompanion) {
    TempDir dir;
    BankSpec spec;
    spec.resources = {sample(1, 8, "A.WAV")};
    fixtures::writeBytes(dir / "orig.bnm", fixtures::buildBank(spec));
    fixtures::writeFile(dir / "orig.bns", "[HEADER]\nRes = 0\n");
    auto loaded = testing::loadBankFile(dir / "orig.bnm");
    fixtures::makeDirs(dir / "out");
    const auto outcome = bank::saveDocument(*loaded.bank, dir / "out/copy.bnm");
    ASSERT_TRUE(outcome.saved);
    EXPECT_FALSE(outcome.companionFailed);
    EXPECT_EQ(fixtures::readFile(dir / "out/copy.bns"), "[HEADER]\nRes = 0\n");
    EXPECT_EQ(*loaded.bank->bankPath(), dir / "out/copy.bnm");
    // The same file under another spelling copies nothing onto itself.
    const auto same = bank::saveDocument(*loaded.bank, dir / "out/./COPY.BNM");
    EXPECT_TRUE(same.saved);
    EXPECT_EQ(fixtures::readFile(dir / "out/copy.bns"), "[HEADER]\nRes = 0\n");
    EXPECT_EQ(loaded.bank->savesInProgress(), 0);
}

TEST(BankSave, OnlyABankNameIsATarget) {
    TempDir dir;
    BankSpec spec;
    spec.resources = {sample(1, 8, "A.WAV")};
    fixtures::writeBytes(dir / "orig.bnm", fixtures::buildBank(spec));
    auto loaded = testing::loadBankFile(dir / "orig.bnm");
    // Any of these would not open again, or would name its companion wrongly.
    for (const std::string name : {"noext", "orig.bns", "a.bnm.wav", "dir.bnm/"}) {
        const auto outcome = bank::saveDocument(*loaded.bank, dir / name);
        EXPECT_EQ(outcome.failure.step, bank::SaveStep::TargetName) << name;
        EXPECT_FALSE(outcome.saved);
        EXPECT_FALSE(std::filesystem::exists(dir / name)) << name;
    }
    // A name that is only the extension is a bank that opens again.
    EXPECT_TRUE(bank::saveDocument(*loaded.bank, dir / ".bnm").saved);
    EXPECT_TRUE(bank::saveDocument(*loaded.bank, dir / "LOUD.BnM").saved);
    EXPECT_EQ(*loaded.bank->bankPath(), dir / "LOUD.BnM");
}

TEST(BankSave, FirstGameBankSavedAsCopiesNoCompanion) {
    TempDir dir;
    BankSpec spec;
    spec.k7 = true;
    spec.resources = {sample(1, 8)};
    fixtures::writeBytes(dir / "k.bnm", fixtures::buildBank(spec));
    fixtures::writeFile(dir / "k.bns", "x");
    auto loaded = testing::loadBankFile(dir / "k.bnm");
    ASSERT_TRUE(bank::saveDocument(*loaded.bank, dir / "k2.bnm").saved);
    EXPECT_FALSE(platform::fileExists(dir / "k2.bns"));
}

class FailedSave : public ::testing::Test {
protected:
    void SetUp() override {
        spec_.resources = {sample(1, 8, "A.WAV"), sample(2, 12, "B.WAV")};
        original_ = fixtures::buildBank(spec_);
        fixtures::writeBytes(dir_ / "f.bnm", original_);
        loaded_ = testing::loadBankFile(dir_ / "f.bnm");
    }
    void expectUntouched(bank::BankError expectedError, bank::SaveStep expectedStep = bank::SaveStep::SampleData,
                         std::optional<std::size_t> expectedResource = std::nullopt) {
        const auto outcome = bank::saveDocument(*loaded_.bank, dir_ / "f.bnm");
        EXPECT_FALSE(outcome.saved);
        EXPECT_EQ(outcome.failure.bankError, expectedError);
        EXPECT_EQ(outcome.failure.step, expectedStep);
        EXPECT_EQ(outcome.failure.resource, expectedResource);
        EXPECT_EQ(fixtures::readBytes(dir_ / "f.bnm"), original_);
        EXPECT_EQ(loaded_.bank->savesInProgress(), 0);
        for (int i = 0; i < 20; ++i) {
            const std::string temp = dir_ / ("~Calyx" + std::to_string(i) + ".tmp");
            EXPECT_FALSE(platform::fileExists(temp)) << temp;
        }
    }

    TempDir dir_;
    BankSpec spec_;
    Bytes original_;
    testing::Loaded loaded_;
};

// A save that can make no temporary file says so, with the system's reason
// and the folder, and hands out no name of an earlier save's file.
TEST_F(FailedSave, NoTemporaryFileNamesTheStepAndTheReason) {
    // Twenty names taken by folders: none can be created or cleaned up.
    for (int i = 0; i < 20; ++i) fixtures::makeDirs(dir_ / ("~Calyx" + std::to_string(i) + ".tmp"));
    bank::SaveStep step = bank::SaveStep::None;
    {
        bank::BankWriter writer(*loaded_.bank, dir_ / "f.bnm");
        step = writer.writeTemporary(dir_ / "f.bnm", {}).step;
        // Where the system has unnamed files, the new file finds no free
        // name only once it is complete.
        EXPECT_TRUE(step == bank::SaveStep::TemporaryFile || step == bank::SaveStep::Naming);
        EXPECT_EQ(writer.tempPath(), "");
    }
    const auto outcome = bank::saveDocument(*loaded_.bank, dir_ / "f.bnm");
    EXPECT_EQ(fixtures::readBytes(dir_ / "f.bnm"), original_);
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.failure.step, step);
    EXPECT_EQ(outcome.failure.bankError, bank::BankError::SourceMissing);
    EXPECT_NE(outcome.failure.systemError, 0);
}

TEST_F(FailedSave, AMissingReplacementFileLeavesTheBankAndKeepsTheEdit) {
    loaded_.bank->resourceAt(0)->setReplacement(true, 8, dir_ / "gone.wav");
    expectUntouched(bank::BankError::SourceMissing, bank::SaveStep::SampleData, 0);
    EXPECT_TRUE(loaded_.bank->resourceAt(0)->isReplaced());
    EXPECT_EQ(loaded_.bank->mainAreaStart(), wordAt(original_, 28));
}

TEST_F(FailedSave, AReplacementShorterThanItsSizeIsAReadError) {
    loaded_.bank->resourceAt(1)->setReplacement(true, 400, writeWav(dir_, "short.wav", fixtures::patternBytes(8, 1)));
    expectUntouched(bank::BankError::SourceUnreadable, bank::SaveStep::SampleData, 1);
}

TEST_F(FailedSave, ABankTooLargeForItsOffsetsIsRefused) {
    loaded_.bank->resourceAt(0)->setReplacement(true, 0xFFFFFF00u, writeWav(dir_, "x.wav", {1, 2, 3, 4}));
    loaded_.bank->resourceAt(1)->setReplacement(true, 0xFFFFFF00u, writeWav(dir_, "y.wav", {1, 2, 3, 4}));
    expectUntouched(bank::BankError::Other, bank::SaveStep::TooLarge);
}

}  // namespace
}  // namespace calyx

namespace calyx {
namespace {

TEST_F(FailedSave, AFullDiskLeavesTheBankByteForByte) {
    loaded_.bank->resourceAt(1)->setReplacement(true, 4000, writeWav(dir_, "big.wav", fixtures::patternBytes(4000, 9)));
    {
        fixtures::FileSizeLimit full(300);
        const auto outcome = bank::saveDocument(*loaded_.bank, dir_ / "f.bnm");
        EXPECT_FALSE(outcome.saved);
        // The write that found the disk full, with the system's reason.
        EXPECT_EQ(outcome.failure.step, bank::SaveStep::SampleData);
        EXPECT_EQ(outcome.failure.systemError, EFBIG);
        EXPECT_EQ(outcome.failure.bankError, bank::BankError::SourceMissing);
    }
    EXPECT_EQ(fixtures::readBytes(dir_ / "f.bnm"), original_);
    EXPECT_FALSE(platform::fileExists(dir_ / "~Calyx0.tmp"));
    EXPECT_TRUE(loaded_.bank->resourceAt(1)->isReplaced());
    // With room again, the same edit saves.
    EXPECT_TRUE(bank::saveDocument(*loaded_.bank, dir_ / "f.bnm").saved);
}

// A record that claims gigabytes the file does not hold fails the save
// before anything is written behind it: the external area, which lies after
// the main area, must not be placed (and the gap zero-filled) first.
TEST(BankSave, AClaimedSizeBeyondTheFileFailsBeforeAnyDataIsWritten) {
    TempDir dir;
    BankSpec spec;
    ResourceSpec external = sample(2, 12, "ext.dat");
    external.external = true;
    spec.resources = {sample(1, 8, "A.WAV"), external};
    spec.resources[0].dataSize = 0xF0000000u;
    const Bytes original = fixtures::buildBank(spec);
    fixtures::writeBytes(dir / "f.bnm", original);
    auto loaded = testing::loadBankFile(dir / "f.bnm");
    ASSERT_EQ(loaded.result, bank::LoadResult::Loaded);
    {
        // A save that wrote the gap would hit this limit and fail otherwise.
        fixtures::FileSizeLimit limit(1 << 20);
        const auto outcome = bank::saveDocument(*loaded.bank, dir / "f.bnm");
        EXPECT_FALSE(outcome.saved);
        EXPECT_EQ(outcome.failure.bankError, bank::BankError::SourceUnreadable);
        EXPECT_EQ(outcome.failure.resource, 0u);
    }
    EXPECT_EQ(fixtures::readBytes(dir / "f.bnm"), original);
    EXPECT_FALSE(platform::fileExists(dir / "~Calyx0.tmp"));
}

TEST(SafeBankSave, KeepsPermissionsAndFollowsSymbolicLinks) {
    TempDir dir;
    BankSpec spec;
    spec.resources = {sample(1, 8, "A.WAV")};
    fixtures::makeDirs(dir / "real");
    fixtures::writeBytes(dir / "real/b.bnm", fixtures::buildBank(spec));
    ::chmod((dir / "real/b.bnm").c_str(), 0640);
    std::filesystem::create_symlink(dir / "real/b.bnm", dir / "link.bnm");
    auto loaded = testing::loadBankFile(dir / "link.bnm");
    loaded.bank->resourceAt(0)->setVolume(3);
    ASSERT_TRUE(bank::saveDocument(*loaded.bank, dir / "link.bnm").saved);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.bnm"));
    EXPECT_EQ(fixtures::readBytes(dir / "real/b.bnm")[44 + 20], 3);
    struct stat st {};
    ::stat((dir / "real/b.bnm").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(SafeBankSave, SaveAsOntoAnotherFileSystem) {
    // /dev/shm is a file system of its own on most machines.
    std::error_code ec;
    if (!std::filesystem::is_directory("/dev/shm", ec)) GTEST_SKIP() << "no /dev/shm";
    TempDir dir;
    struct stat a {}, b {};
    ::stat(dir.path().c_str(), &a);
    ::stat("/dev/shm", &b);
    if (a.st_dev == b.st_dev) GTEST_SKIP() << "/dev/shm is on the same file system";
    BankSpec spec;
    spec.resources = {sample(1, 8, "A.WAV")};
    const Bytes original = fixtures::buildBank(spec);
    fixtures::writeBytes(dir / "b.bnm", original);
    fixtures::writeFile(dir / "b.bns", "[HEADER]\nRes = 0\n");
    auto loaded = testing::loadBankFile(dir / "b.bnm");
    const std::string target = "/dev/shm/calyx-saveas-" + std::to_string(::getpid()) + ".bnm";
    const auto outcome = bank::saveDocument(*loaded.bank, target);
    EXPECT_TRUE(outcome.saved);
    EXPECT_EQ(fixtures::readBytes(target), original);
    const std::string companion = bank::SoundBank::companionPath(target);
    EXPECT_TRUE(platform::fileExists(companion));
    std::filesystem::remove(target, ec);
    std::filesystem::remove(companion, ec);
    EXPECT_FALSE(platform::fileExists(dir / "~Calyx0.tmp"));
}

}  // namespace
}  // namespace calyx

namespace calyx {
namespace {

TEST(BankSave, ASampleWithoutBytesDoesNotStopTheSave) {
    TempDir dir;
    BankSpec spec;
    spec.resources = {sample(1, 0, "EMPTY.WAV"), sample(2, 0, "EMPTY2.WAV"), sample(3, 8, "A.WAV")};
    spec.resources[1].padMode = 2;  // grows to 8 bytes of zeros
    auto loaded = testing::writeAndLoad(dir, "z.bnm", spec);
    const Bytes saved = saveInPlace(*loaded.bank);
    EXPECT_EQ(wordAt(saved, 44 + 12), 0u);
    EXPECT_EQ(sampleBytes(saved, false, 1), Bytes(8, 0));
    EXPECT_EQ(sampleBytes(saved, false, 2), spec.resources[2].data);
}

}  // namespace
}  // namespace calyx
