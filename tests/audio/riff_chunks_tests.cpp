// The chunk walker reports what each header claims beside what the file
// holds, on well-formed files and on files that lie or end early.
#include "audio/riff_chunks.h"

#include <gtest/gtest.h>

#include "fixtures/temp_dir.h"
#include "fixtures/wav_builder.h"

namespace calyx::audio {
namespace {

using fixtures::Bytes;
using fixtures::WavBuilder;
using Step = RiffChunkWalker::Step;

class RiffChunks : public ::testing::Test {
protected:
    platform::File& open(const Bytes& bytes) {
        file_.close();
        fixtures::writeBytes(dir_ / "f.riff", bytes);
        if (!file_.open(dir_ / "f.riff", platform::File::Mode::Read)) ADD_FAILURE() << "cannot open";
        return file_;
    }

    fixtures::TempDir dir_;
    platform::File file_;
};

TEST_F(RiffChunks, WalksOddAndEvenChunksWithTheirPadBytes) {
    RiffChunkWalker walker(open(WavBuilder().chunk("LIST", {1, 2, 3}).format().data({9, 8}).bytes()));
    const RiffForm form = walker.readForm();
    EXPECT_EQ(form.heldBytes, 12u);
    EXPECT_TRUE(form.riff && form.wave);
    EXPECT_EQ(form.length, walker.fileLength() - 8);

    RiffChunk chunk;
    ASSERT_EQ(walker.next(chunk), Step::Chunk);
    EXPECT_TRUE(chunk.is("LIST"));
    EXPECT_EQ(chunk.claimedLength, 3u);
    EXPECT_EQ(chunk.bodyOffset, 20);
    EXPECT_EQ(chunk.paddedLength(), 4);
    EXPECT_TRUE(chunk.heldWithPad());
    std::uint8_t body[3] = {};
    ASSERT_TRUE(walker.readBody(chunk, body, 3));
    EXPECT_EQ(body[2], 3);

    ASSERT_EQ(walker.next(chunk), Step::Chunk);
    EXPECT_TRUE(chunk.is("fmt "));
    EXPECT_EQ(chunk.bodyOffset, 20 + 4 + 8);  // behind the pad byte
    ASSERT_EQ(walker.next(chunk), Step::Chunk);
    EXPECT_TRUE(chunk.is("data"));
    EXPECT_EQ(chunk.heldLength(), 2);
    EXPECT_EQ(walker.next(chunk), Step::EndOfFile);
    EXPECT_EQ(walker.next(chunk), Step::EndOfFile);
}

TEST_F(RiffChunks, ClaimsPastTheEndAreReportedBesideWhatTheFileHolds) {
    RiffChunkWalker walker(
        open(WavBuilder().format().chunkClaiming("data", 0xFFFFFFFF, {1, 2, 3, 4, 5}).riffLength(0).bytes()));
    EXPECT_EQ(walker.readForm().length, 0u);  // reported, not trusted
    RiffChunk chunk;
    ASSERT_EQ(walker.next(chunk), Step::Chunk);
    ASSERT_EQ(walker.next(chunk), Step::Chunk);
    EXPECT_EQ(chunk.claimedLength, 0xFFFFFFFFu);
    EXPECT_EQ(chunk.paddedLength(), 0x100000000);  // no wrap to 0
    EXPECT_EQ(chunk.heldLength(), 5);
    EXPECT_FALSE(chunk.heldWhole());
    std::uint8_t body[6];
    EXPECT_FALSE(walker.readBody(chunk, body, 6));
    EXPECT_TRUE(walker.readBody(chunk, body, 5));
    EXPECT_EQ(walker.next(chunk), Step::EndOfFile);

    // An odd last chunk whose pad byte the file lacks.
    RiffChunkWalker unpadded(open(WavBuilder().chunkClaiming("data", 3, {1, 2, 3}).bytes()));
    unpadded.readForm();
    ASSERT_EQ(unpadded.next(chunk), Step::Chunk);
    EXPECT_TRUE(chunk.heldWhole());
    EXPECT_FALSE(chunk.heldWithPad());
    EXPECT_EQ(unpadded.next(chunk), Step::EndOfFile);
}

TEST_F(RiffChunks, TruncatedHeadersAreToldApart) {
    const Bytes whole = WavBuilder().chunk("fact", {1, 2, 3, 4}).bytes();
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        RiffChunkWalker walker(open(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut))));
        const RiffForm form = walker.readForm();
        EXPECT_EQ(form.heldBytes, std::min<std::size_t>(cut, 12)) << cut;
        EXPECT_EQ(form.riff, cut >= 4) << cut;
        EXPECT_EQ(form.wave, cut >= 12) << cut;
        RiffChunk chunk;
        const Step step = walker.next(chunk);
        if (cut <= 12) {
            EXPECT_EQ(step, Step::EndOfFile) << cut;
        } else if (cut < 20) {
            EXPECT_EQ(step, Step::HeaderCutShort) << cut;
        } else {
            ASSERT_EQ(step, Step::Chunk) << cut;
            EXPECT_EQ(chunk.heldLength(), static_cast<std::int64_t>(cut - 20));
            EXPECT_EQ(chunk.heldWhole(), cut == whole.size());
        }
    }
}

// A file whose reads fail although its length allows them.
class FailingReads : public platform::File {
public:
    std::int64_t length() const override { return 64; }
    std::ptrdiff_t readAt(void*, std::size_t, std::int64_t) override { return -1; }
};

TEST(RiffChunkReads, AFailedReadIsNotTakenForTheEnd) {
    FailingReads file;
    RiffChunkWalker walker(file);
    EXPECT_EQ(walker.readForm().heldBytes, 0u);
    RiffChunk chunk;
    EXPECT_EQ(walker.next(chunk), Step::ReadFailed);
}

}  // namespace
}  // namespace calyx::audio
