#include "platform/byte_order.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace calyx::platform {
namespace {

TEST(ByteOrder, WordsAreStoredLowByteFirstWhateverTheByteType) {
    std::uint8_t bytes[8] = {};
    writeLe32(bytes, 0x89ABCDEF);
    writeLe16(bytes + 4, 0xFE01);
    EXPECT_EQ(bytes[0], 0xEF);
    EXPECT_EQ(bytes[3], 0x89);
    EXPECT_EQ(bytes[4], 0x01);
    EXPECT_EQ(readLe32(bytes), 0x89ABCDEFu);
    EXPECT_EQ(readLe16(bytes + 4), 0xFE01u);
    EXPECT_EQ(readLe64(bytes), 0x0000FE0189ABCDEFull);

    // Plain char is signed here: bytes of 0x80 and above must not spread
    // their sign into the higher bytes.
    const std::string text("\xff\xfe\x80\x7f", 4);
    EXPECT_EQ(readLe32(text.data()), 0x7F80FEFFu);
    EXPECT_EQ(readLe16(text.data()), 0xFEFFu);
    char out[4];
    writeLe32(out, 0x7F80FEFF);
    EXPECT_EQ(std::string(out, 4), text);
}

TEST(ByteOrder, TwentyFourBitSamplesKeepTheirSign) {
    const std::uint8_t mostNegative[] = {0x00, 0x00, 0x80};
    const std::uint8_t minusOne[] = {0xFF, 0xFF, 0xFF};
    const std::uint8_t mostPositive[] = {0xFF, 0xFF, 0x7F};
    EXPECT_EQ(readLeSigned24(mostNegative), -8388608);
    EXPECT_EQ(readLeSigned24(minusOne), -1);
    EXPECT_EQ(readLeSigned24(mostPositive), 8388607);
}

}  // namespace
}  // namespace calyx::platform
