// The text helpers of path.h, the same on every system: a slash counts as a
// backslash.
#include "platform/path.h"

#include <algorithm>
#include <cctype>

namespace calyx::platform {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

std::size_t lastSeparator(std::string_view path) { return path.find_last_of("\\/"); }

std::string_view directoryPart(std::string_view path) {
    auto pos = lastSeparator(path);
    return pos == std::string_view::npos ? std::string_view{} : path.substr(0, pos);
}

std::string_view lastComponent(std::string_view path) {
    auto pos = lastSeparator(path);
    return pos == std::string_view::npos ? path : path.substr(pos + 1);
}

bool hasExtension(std::string_view path, std::string_view extension) {
    return path.size() > extension.size() &&
           equalsNoCase(path.substr(path.size() - extension.size()), extension);
}

std::string withTrailingSeparator(std::string_view directory) {
    std::string out(directory);
    if (!out.empty() && !isSeparator(out.back())) out += '\\';
    return out;
}

std::string hostPathIn(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && !isSeparator(path.back())) {
        const std::size_t last = lastSeparator(path);
        path += last == std::string::npos ? '/' : path[last];
    }
    return path + std::string(name);
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string toLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace calyx::platform
