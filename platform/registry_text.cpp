#include "platform/registry_text.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>

#include "platform/byte_order.h"
#include "platform/path.h"

namespace calyx::platform {
namespace {

constexpr std::string_view header = "WINE REGISTRY Version 2";
constexpr std::string_view timeOption = "#time=";
constexpr std::uint64_t fileTimeOf1970 = 116444736000000000ull;
constexpr std::uint64_t ticksPerSecond = 10000000ull;
// Wine breaks hex data after the comma that takes a line past this column.
constexpr std::size_t hexLineLimit = 76;

// The Unicode code points of the Windows-1252 bytes 0x80..0x9F (the ANSI code
// page Wine uses for Western locales); every other byte is its own code point.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t codePoint(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    return b >= 0x80 && b < 0xA0 ? cp1252High[b - 0x80] : static_cast<char16_t>(b);
}

std::string_view leftTrimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    return text;
}

int compareNoCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int x = std::toupper(static_cast<unsigned char>(a[i]));
        const int y = std::toupper(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int comparePaths(const RegistryPath& a, const RegistryPath& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (int c = compareNoCase(a[i], b[i])) return c;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// A key line's path, as escaped names, and the position after its ']'.
struct KeyLine {
    RegistryPath path;
    std::size_t afterBracket;
};

std::optional<KeyLine> parseKeyLine(std::string_view line) {
    const std::size_t open = line.size() - leftTrimmed(line).size();
    if (open >= line.size() || line[open] != '[') return std::nullopt;
    KeyLine key;
    std::string component;
    for (std::size_t i = open + 1; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ']') {
            if (i == open + 1) return std::nullopt;
            key.path.push_back(std::move(component));
            key.afterBracket = i + 1;
            return key;
        }
        if (c == '\\' && i + 1 < line.size()) {
            if (line[i + 1] == '\\') {
                key.path.push_back(std::move(component));
                component.clear();
            } else {
                component += c;
                component += line[i + 1];
            }
            ++i;
            continue;
        }
        component += c;
    }
    return std::nullopt;
}

// A value line's name as written between its quotes (escaped; empty for '@'),
// or nothing for any other line.
std::optional<std::string_view> valueName(std::string_view line) {
    line = leftTrimmed(line);
    if (line.size() >= 2 && line[0] == '@' && line[1] == '=') return std::string_view{};
    if (line.empty() || line[0] != '"') return std::nullopt;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '\\') {
            ++i;
        } else if (line[i] == '"') {
            if (i + 1 < line.size() && line[i + 1] == '=') return line.substr(1, i - 1);
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// True when the line's hex data goes on on the next line.
bool continues(std::string_view line) {
    if (line.empty() || line.back() != '\\') return false;
    const std::size_t equals = line.find("\"=");
    const std::size_t start = equals == std::string_view::npos ? 0 : equals + 2;
    const std::string_view value = leftTrimmed(line.substr(start));
    return value.rfind("hex", 0) == 0 || line.find('"') == std::string_view::npos;
}

std::string hex(std::uint64_t value, const char* format) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, static_cast<unsigned>(value >> 32),
                  static_cast<unsigned>(value & 0xffffffffu));
    return buffer;
}

RegistryPath escapedPath(const RegistryPath& path) {
    RegistryPath escaped;
    for (const auto& name : path) escaped.push_back(escapeRegistryText(name, "[]"));
    return escaped;
}

std::string keyLineText(const RegistryPath& escaped, const RegistryTime& time) {
    std::string text = "[";
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (i) text += "\\\\";
        text += escaped[i];
    }
    return text + "] " + std::to_string(time.unixSeconds);
}

std::string timeLineText(const RegistryTime& time) {
    return std::string(timeOption) + hex(time.fileTime, "%x%08x");
}

}  // namespace

RegistryTime RegistryTime::fromUnix(std::uint64_t seconds, std::uint32_t ticks) {
    RegistryTime time;
    time.unixSeconds = static_cast<std::uint32_t>(seconds);
    time.fileTime = fileTimeOf1970 + seconds * ticksPerSecond + ticks % ticksPerSecond;
    return time;
}

RegistryTime RegistryTime::now() {
    using namespace std::chrono;
    const auto ticks = duration_cast<duration<std::int64_t, std::ratio<1, 10000000>>>(
                           system_clock::now().time_since_epoch())
                           .count();
    const auto positive = static_cast<std::uint64_t>(std::max<std::int64_t>(ticks, 0));
    return fromUnix(positive / ticksPerSecond, static_cast<std::uint32_t>(positive % ticksPerSecond));
}

std::string escapeRegistryText(std::string_view text, std::string_view specials) {
    static constexpr char escapes[33] = ".......abtnvfr.............e....";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = codePoint(text[i]);
        const bool hasNext = i + 1 < text.size();
        char buffer[16];
        if (c > 127) {
            const char16_t next = hasNext ? codePoint(text[i + 1]) : 0;
            const bool hexFollows = hasNext && next < 128 && std::isxdigit(next);
            std::snprintf(buffer, sizeof buffer, hexFollows ? "\\x%04x" : "\\x%x", unsigned(c));
            out += buffer;
        } else if (c < 32) {
            const char16_t next = hasNext ? codePoint(text[i + 1]) : 0;
            if (escapes[c] != '.') {
                out += '\\';
                out += escapes[c];
            } else {
                const bool octalFollows = hasNext && next >= '0' && next <= '7';
                std::snprintf(buffer, sizeof buffer, octalFollows ? "\\%03o" : "\\%o", unsigned(c));
                out += buffer;
            }
        } else {
            if (c == '\\' || specials.find(static_cast<char>(c)) != std::string_view::npos) out += '\\';
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string formatRegistryValue(RegistryType type, std::string_view data, std::size_t nameLength,
                                std::string_view ending) {
    const auto number = static_cast<std::uint32_t>(type);
    switch (type) {
    case RegistryType::String:
    case RegistryType::ExpandString:
    case RegistryType::MultiString: {
        // The stored string always ends in one zero, which is not written out.
        if (!data.empty() && data.back() == '\0') data.remove_suffix(1);
        std::string out = type == RegistryType::String ? "" : "str(" + std::to_string(number) + "):";
        return out + "\"" + escapeRegistryText(data, "\"") + "\"";
    }
    case RegistryType::Dword:
        if (data.size() == 4) {
            const std::uint32_t value = readLe32(data.data());
            char buffer[24];
            std::snprintf(buffer, sizeof buffer, "dword:%08x", unsigned(value));
            return buffer;
        }
        break;
    default: break;
    }
    std::string out = type == RegistryType::Binary ? "hex:" : "hex(" + hex(number, "%.0x%x") + "):";
    std::size_t count = nameLength + out.size();
    for (std::size_t i = 0; i < data.size(); ++i) {
        char buffer[4];
        std::snprintf(buffer, sizeof buffer, "%02x", unsigned(static_cast<unsigned char>(data[i])));
        out += buffer;
        count += 2;
        if (i + 1 < data.size()) {
            out += ',';
            if (++count > hexLineLimit) {
                out += '\\';
                out += ending;
                out += "  ";
                count = 2;
            }
        }
    }
    return out;
}

RegistryText::RegistryText(std::string_view text) {
    std::size_t crlf = 0, lf = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t newline = text.find('\n', start);
        Line line;
        if (newline == std::string_view::npos) {
            line.text = std::string(text.substr(start));
            start = text.size();
        } else {
            std::size_t end = newline;
            if (end > start && text[end - 1] == '\r') {
                --end;
                ++crlf;
                line.ending = "\r\n";
            } else {
                ++lf;
                line.ending = "\n";
            }
            line.text = std::string(text.substr(start, end - start));
            start = newline + 1;
        }
        lines_.push_back(std::move(line));
    }
    ending_ = crlf > lf ? "\r\n" : "\n";
}

std::string RegistryText::text() const {
    std::string out;
    std::size_t size = 0;
    for (const auto& line : lines_) size += line.text.size() + line.ending.size();
    out.reserve(size);
    for (const auto& line : lines_) {
        out += line.text;
        out += line.ending;
    }
    return out;
}

bool RegistryText::hasHeader() const {
    return !lines_.empty() && lines_.front().text.rfind(header, 0) == 0;
}

bool RegistryText::isWin64() const {
    for (const auto& line : lines_) {
        if (parseKeyLine(line.text)) return false;
        if (line.text == "#arch=win64") return true;
    }
    return false;
}

std::vector<RegistryText::Block> RegistryText::blocks() const {
    std::vector<Block> found;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto key = parseKeyLine(lines_[i].text);
        if (!key) continue;
        if (!found.empty()) found.back().end = i;
        found.push_back({i, lines_.size(), std::move(key->path)});
    }
    return found;
}

std::optional<RegistryText::Block> RegistryText::findBlock(const RegistryPath& path) const {
    const RegistryPath wanted = escapedPath(path);
    for (auto& block : blocks())
        if (comparePaths(block.path, wanted) == 0) return block;
    return std::nullopt;
}

bool RegistryText::keyExists(const RegistryPath& path) const {
    if (path.empty()) return true;
    const RegistryPath wanted = escapedPath(path);
    for (const auto& block : blocks()) {
        if (block.path.size() < wanted.size()) continue;
        const RegistryPath prefix(block.path.begin(), block.path.begin() + wanted.size());
        if (comparePaths(prefix, wanted) == 0) return true;
    }
    return false;
}

// The escaped path with each existing key spelled as the file spells it.
RegistryPath RegistryText::spelled(const RegistryPath& path) const {
    RegistryPath result = escapedPath(path);
    std::size_t best = 0;
    for (const auto& block : blocks()) {
        std::size_t same = 0;
        while (same < block.path.size() && same < result.size() &&
               compareNoCase(block.path[same], result[same]) == 0)
            ++same;
        if (same > best) {
            best = same;
            std::copy(block.path.begin(), block.path.begin() + same, result.begin());
        }
    }
    return result;
}

void RegistryText::insertLines(std::size_t at, const std::vector<std::string>& texts) {
    if (at > 0 && lines_[at - 1].ending.empty()) lines_[at - 1].ending = ending_;
    std::vector<Line> added;
    for (const auto& text : texts) added.push_back({text, ending_});
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
}

void RegistryText::createKey(const RegistryPath& path, const RegistryTime& time) {
    if (path.empty() || findBlock(path)) return;
    const RegistryPath escaped = spelled(path);
    const std::vector<std::string> block = {keyLineText(escaped, time), timeLineText(time)};
    for (const auto& other : blocks()) {
        if (comparePaths(other.path, escaped) > 0) {
            // The blank line before `other` now leads the new block.
            std::vector<std::string> texts = block;
            texts.emplace_back();
            insertLines(other.first, texts);
            return;
        }
    }
    std::vector<std::string> texts;
    if (!lines_.empty() && !lines_.back().text.empty()) texts.emplace_back();
    texts.insert(texts.end(), block.begin(), block.end());
    insertLines(lines_.size(), texts);
}

std::optional<std::pair<std::size_t, std::size_t>> RegistryText::findValue(
    const Block& block, std::string_view name) const {
    const std::string wanted = escapeRegistryText(name, "\"");
    for (std::size_t i = block.first + 1; i < block.end; ++i) {
        auto written = valueName(lines_[i].text);
        if (!written) continue;
        std::size_t end = i + 1;
        if (continues(lines_[i].text))
            while (end < block.end && continues(lines_[end - 1].text)) ++end;
        if (compareNoCase(*written, wanted) == 0) return std::make_pair(i, end);
        i = end - 1;
    }
    return std::nullopt;
}

void RegistryText::stamp(const Block& block, const RegistryTime& time) {
    Line& keyLine = lines_[block.first];
    if (auto key = parseKeyLine(keyLine.text))
        keyLine.text = keyLine.text.substr(0, key->afterBracket) + " " + std::to_string(time.unixSeconds);
    for (std::size_t i = block.first + 1; i < block.end; ++i) {
        const std::string_view text = leftTrimmed(lines_[i].text);
        if (text.rfind(timeOption, 0) == 0) {
            lines_[i].text = timeLineText(time);
            return;
        }
        if (text.empty() || text[0] != '#') break;
    }
    insertLines(block.first + 1, {timeLineText(time)});
}

void RegistryText::setValue(const RegistryPath& path, std::string_view name, RegistryType type,
                            std::string_view data, const RegistryTime& time) {
    if (path.empty()) return;
    createKey(path, time);
    auto block = findBlock(path);
    if (!block) return;
    stamp(*block, time);
    block = findBlock(path);

    const std::string escapedName = escapeRegistryText(name, "\"");
    const auto found = findValue(*block, name);
    // A value that exists keeps the spelling of its name.
    std::string left = "\"" + escapedName + "\"=";
    if (name.empty()) left = "@=";
    else if (found) left = "\"" + std::string(*valueName(lines_[found->first].text)) + "\"=";
    const std::string right = formatRegistryValue(type, data, left.size(), ending_);
    // A hex value that spans lines carries its line breaks in `right`.
    std::vector<std::string> texts;
    const std::string whole = left + right;
    for (std::size_t start = 0;;) {
        const std::size_t at = whole.find(ending_, start);
        if (at == std::string::npos) {
            texts.push_back(whole.substr(start));
            break;
        }
        texts.push_back(whole.substr(start, at - start));
        start = at + ending_.size();
    }

    if (found) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(found->first),
                     lines_.begin() + static_cast<std::ptrdiff_t>(found->second));
        insertLines(found->first, texts);
        return;
    }
    // Values are kept sorted by name, letter case ignored; '@' comes first.
    std::size_t at = block->first + 1;
    for (std::size_t i = block->first + 1; i < block->end; ++i) {
        if (lines_[i].text.empty()) continue;
        if (auto written = valueName(lines_[i].text); written && compareNoCase(*written, escapedName) > 0)
            break;
        at = i + 1;
    }
    // A hex value whose last line still ends in '\' would take the new line
    // as its continuation: the new value goes before it instead.
    while (at > block->first + 1 && continues(lines_[at - 1].text)) --at;
    insertLines(at, texts);
}

std::optional<std::string> RegistryText::valueText(const RegistryPath& path,
                                                   std::string_view name) const {
    auto block = findBlock(path);
    if (!block) return std::nullopt;
    auto found = findValue(*block, name);
    if (!found) return std::nullopt;
    std::string text;
    for (std::size_t i = found->first; i < found->second; ++i) {
        if (i > found->first) text += lines_[i - 1].ending;
        text += lines_[i].text;
    }
    const std::size_t equals = name.empty() ? text.find('=') : text.find("\"=") + 1;
    return text.substr(equals + 1);
}

}  // namespace calyx::platform
