// An INI file from outside, read and written through the profile functions.
// The input's first three lines name a section, a key and a value, the next
// two another section and key; the rest is the file. A plain value written
// under a plain key must read back, and the other key must keep its value.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/path.h"
#include "platform/profile.h"

namespace {

// Letters and digits only: no blanks, quotes or brackets that the rules of
// the profile functions would change.
bool plain(std::string_view text) {
    return !text.empty() && text.size() <= 32 &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace calyx;
    std::string_view rest = fuzz::asText(data, size);
    const std::string_view section = fuzz::takeLine(rest);
    const std::string_view key = fuzz::takeLine(rest);
    const std::string_view value = fuzz::takeLine(rest);
    const std::string_view otherSection = fuzz::takeLine(rest);
    const std::string_view otherKey = fuzz::takeLine(rest);
    const std::string path = fuzz::writeInput("input.ini", rest);

    char buffer[64];
    const std::size_t copied = platform::getProfileString(section, key, "default", buffer, sizeof buffer, path);
    fuzz::check(copied < sizeof buffer && buffer[copied] == '\0', "the value fits its buffer");
    platform::getProfileString(section, key, {}, 4096, path);
    platform::getProfileInt(section, key, -1, path);
    const std::string otherBefore = platform::getProfileString(otherSection, otherKey, "none", 4096, path);

    const bool written = platform::writeProfileString(section, key, value, path);
    if (!(plain(section) && plain(key) && plain(value))) return 0;
    fuzz::check(written, "a plain key can be written");
    fuzz::check(platform::getProfileString(section, key, {}, 256, path) == value, "a written value reads back");
    const bool sameKey = platform::equalsNoCase(section, otherSection) && platform::equalsNoCase(key, otherKey);
    if (plain(otherSection) && plain(otherKey) && !sameKey)
        fuzz::check(platform::getProfileString(otherSection, otherKey, "none", 4096, path) == otherBefore,
                    "a write leaves other keys as they were");
    return 0;
}
