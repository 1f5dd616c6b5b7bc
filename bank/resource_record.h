// The 92-byte resource record of a bank file, kept byte for byte, with named
// little-endian fields. Bytes the editor does not interpret (21-43, 60-67)
// are carried unchanged.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/byte_order.h"

namespace calyx::bank {

enum class ResourceKind : std::uint32_t { Empty = 0, Sample = 1, CdAudio = 3 };

class ResourceRecord {
public:
    static constexpr std::size_t size = 92;
    static constexpr std::size_t fileNameOffset = 72;
    static constexpr std::size_t fileNameWidth = 20;
    // A record's file name holds at most an 8.3 name.
    static constexpr std::size_t fileNameMax = 12;

    // Field offsets.
    static constexpr std::size_t idAt = 0, kindAt = 4, storedAt = 8, dataSizeAt = 12,
                                 dataOffsetAt = 16, volumeAt = 20, externalAt = 44,
                                 loopingAt = 48, loopStartAt = 52, loopEndAt = 56, padModeAt = 68;

    std::array<std::uint8_t, size> bytes{};

    std::uint32_t word(std::size_t at) const {
        return platform::readLe32(bytes.data() + at);
    }
    void setWord(std::size_t at, std::uint32_t value) {
        platform::writeLe32(bytes.data() + at, value);
    }

    std::uint32_t id() const { return word(idAt); }
    std::uint32_t kind() const { return word(kindAt); }
    std::uint32_t stored() const { return word(storedAt); }
    std::uint32_t dataSize() const { return word(dataSizeAt); }
    std::uint32_t dataOffset() const { return word(dataOffsetAt); }
    std::uint8_t volume() const { return bytes[volumeAt]; }
    std::uint32_t external() const { return word(externalAt); }
    std::uint32_t looping() const { return word(loopingAt); }
    std::uint32_t loopStart() const { return word(loopStartAt); }
    std::uint32_t loopEnd() const { return word(loopEndAt); }
    std::uint32_t padMode() const { return word(padModeAt); }
    // The zero-terminated name in its 20-byte field.
    std::string fileName() const;
    // Stores at most 12 characters, the rest of the field zeroed.
    void setFileName(std::string_view name);
};

}  // namespace calyx::bank
