// A Wine registry file from outside, read as the patcher reads system.reg:
// its text comes back byte for byte, and a value set under a plain key reads
// back while the rest of the file stays as it was. The input's first line
// names the key (its parts separated by '\'); the rest is the file.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/registry_text.h"

namespace {

using calyx::platform::RegistryPath;

RegistryPath splitKey(std::string_view line) {
    RegistryPath path;
    while (!line.empty()) {
        const std::size_t end = line.find('\\');
        path.emplace_back(line.substr(0, end));
        line = end == std::string_view::npos ? std::string_view() : line.substr(end + 1);
    }
    return path;
}

bool plainPart(const std::string& part) {
    return !part.empty() && part.size() <= 32 &&
           std::all_of(part.begin(), part.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace calyx;
    std::string_view rest = fuzz::asText(data, size);
    const RegistryPath key = splitKey(fuzz::takeLine(rest));

    platform::RegistryText registry(rest);
    fuzz::check(registry.text() == rest, "the text comes back byte for byte");
    registry.hasHeader();
    registry.isWin64();
    registry.keyExists(key);
    registry.valueText(key, "Directory");
    registry.valueText(key, "");

    const bool plainKey = !key.empty() && std::all_of(key.begin(), key.end(), plainPart);
    if (!plainKey) return 0;
    const auto time = platform::RegistryTime::fromUnix(1800000000);
    registry.createKey(key, time);
    fuzz::check(registry.keyExists(key), "a created key exists");
    registry.setValue(key, "Directory", platform::RegistryType::String, "C:\\Games\\\"x\"", time);
    registry.setValue(key, "Count", platform::RegistryType::Dword, std::string_view("\x2a\0\0\0", 4), time);
    const std::string edited = registry.text();
    const platform::RegistryText reread(edited);
    fuzz::check(reread.text() == edited, "the edited text comes back byte for byte");
    fuzz::check(reread.valueText(key, "directory") == "\"C:\\\\Games\\\\\\\"x\\\"\"", "a string value reads back");
    fuzz::check(reread.valueText(key, "COUNT") == "dword:0000002a", "a number reads back");
    return 0;
}
