// Little-endian numbers in byte buffers. Every file these programs read or
// write (banks, WAV files, the registry's binary values) stores its numbers
// low byte first, whatever the machine's own order.
#pragma once

#include <cstdint>

namespace calyx::platform {

// Any one-byte type: std::uint8_t, char, unsigned char.
template <typename Byte>
concept OneByte = sizeof(Byte) == 1;

template <OneByte Byte>
constexpr std::uint16_t readLe16(const Byte* p) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(p[0]) |
                                      static_cast<std::uint8_t>(p[1]) << 8);
}

template <OneByte Byte>
constexpr std::uint32_t readLe32(const Byte* p) {
    return std::uint32_t{static_cast<std::uint8_t>(p[0])} | std::uint32_t{static_cast<std::uint8_t>(p[1])} << 8 |
           std::uint32_t{static_cast<std::uint8_t>(p[2])} << 16 | std::uint32_t{static_cast<std::uint8_t>(p[3])} << 24;
}

template <OneByte Byte>
constexpr std::uint64_t readLe64(const Byte* p) {
    return std::uint64_t{readLe32(p)} | std::uint64_t{readLe32(p + 4)} << 32;
}

// A signed 24-bit number (two's complement), as 24-bit PCM stores it.
template <OneByte Byte>
constexpr std::int32_t readLeSigned24(const Byte* p) {
    const std::uint32_t bits = std::uint32_t{static_cast<std::uint8_t>(p[0])} |
                               std::uint32_t{static_cast<std::uint8_t>(p[1])} << 8 |
                               std::uint32_t{static_cast<std::uint8_t>(p[2])} << 16;
    return static_cast<std::int32_t>(bits ^ 0x800000u) - 0x800000;
}

template <OneByte Byte>
constexpr void writeLe16(Byte* p, std::uint16_t value) {
    p[0] = static_cast<Byte>(value & 0xFF);
    p[1] = static_cast<Byte>(value >> 8);
}

template <OneByte Byte>
constexpr void writeLe32(Byte* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<Byte>((value >> (8 * i)) & 0xFF);
}

}  // namespace calyx::platform
