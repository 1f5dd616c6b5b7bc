#include "platform/host_name.h"

#include <cstdint>

namespace calyx::platform {
namespace {

constexpr char replacementCharacter = '_';
constexpr std::uint32_t lastLatin1 = 0xFF;

// Length of the well-formed UTF-8 sequence at `at` and its code point, or 0.
std::size_t decodeUtf8(std::string_view text, std::size_t at, std::uint32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, codePoint = lead & 0x1Fu, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, codePoint = lead & 0x0Fu, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, codePoint = lead & 0x07u, minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0u) != 0x80u) return 0;
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < minimum || codePoint > 0x10FFFF || surrogate) return 0;
    return length;
}

}  // namespace

GameFileName latin1FromUtf8(std::string_view utf8) {
    GameFileName name;
    name.latin1.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        std::uint32_t codePoint = 0;
        const std::size_t length =
            static_cast<unsigned char>(utf8[at]) < 0x80 ? 0 : decodeUtf8(utf8, at, codePoint);
        if (length == 0) {
            name.latin1 += utf8[at++];
            continue;
        }
        if (codePoint <= lastLatin1) {
            name.latin1 += static_cast<char>(codePoint);
        } else {
            name.latin1 += replacementCharacter;
            name.charactersReplaced = true;
        }
        at += length;
    }
    return name;
}

}  // namespace calyx::platform
