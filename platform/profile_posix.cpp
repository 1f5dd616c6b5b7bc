#include "platform/profile.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/file.h"
#include "platform/path.h"
#include "platform/read_file.h"
#include "platform/safe_replace.h"

namespace calyx::platform {
namespace {

// A profile larger than this is not a settings file; it is neither parsed
// past this point nor rewritten (a rewrite would lose its tail).
constexpr std::size_t maxProfileBytes = 16u << 20;
// Editors may begin a file with the UTF-8 byte order mark; it is no part of the first line.
constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

struct FileText {
    std::string bytes;
    bool complete = true;  // false when the file was larger than the limit
};

// The whole file (only its head when it is too large to be a settings
// file), or nothing when it does not exist or cannot be read.
std::optional<FileText> readProfile(std::string_view iniPath) {
    ReadFileResult read = readFile(iniPath, maxProfileBytes, OverCap::KeepHead);
    if (!read && read.error != ReadFileError::TooLarge) return std::nullopt;
    return FileText{std::move(read.bytes), read.error != ReadFileError::TooLarge};
}

// One line of the file: where it starts, its text without the line ending,
// and the end of the ending (the start of the next line).
struct Line {
    std::size_t start;
    std::size_t textEnd;
    std::size_t end;
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t newline = text.find('\n', start);
        std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
        std::size_t textEnd = newline == std::string_view::npos ? text.size() : newline;
        if (textEnd > start && text[textEnd - 1] == '\r' && newline != std::string_view::npos) --textEnd;
        lines.push_back({start, textEnd, end});
        start = end;
    }
    return lines;
}

// The section named by a "[name]" line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimmed(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos || close == 0) return std::nullopt;
    return trimmed(line.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

// The key and value of a "key=value" line; comments and lines without '='
// hold no key.
std::optional<KeyLine> keyLine(std::string_view line) {
    line = trimmed(line);
    if (line.empty() || line.front() == ';' || line.front() == '[') return std::nullopt;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return KeyLine{trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1))};
}

// Where a key lives in the file: the section's heading line, the key's
// line (npos when absent) and the line after the section's last non-blank
// line (where a new key goes).
struct Location {
    std::size_t sectionLine = std::string_view::npos;
    std::size_t keyLine = std::string_view::npos;
    std::size_t insertLine = 0;
    std::string_view value;
};

// The first section of that name and, in it, the first key of that name.
Location locate(std::string_view text, const std::vector<Line>& lines, std::string_view section,
                std::string_view key) {
    Location where;
    const std::string_view wantedSection = trimmed(section);
    const std::string_view wantedKey = trimmed(key);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = text.substr(lines[i].start, lines[i].textEnd - lines[i].start);
        if (i == 0 && line.substr(0, utf8Mark.size()) == utf8Mark) line.remove_prefix(utf8Mark.size());
        if (auto name = sectionName(line)) {
            if (where.sectionLine != std::string_view::npos) break;
            if (equalsNoCase(*name, wantedSection)) {
                where.sectionLine = i;
                where.insertLine = i + 1;
            }
            continue;
        }
        if (where.sectionLine == std::string_view::npos) continue;
        if (!trimmed(line).empty()) where.insertLine = i + 1;
        if (where.keyLine != std::string_view::npos) continue;
        if (auto entry = keyLine(line); entry && equalsNoCase(entry->key, wantedKey)) {
            where.keyLine = i;
            where.value = entry->value;
        }
    }
    return where;
}

// One pair of matching quotes around the value goes.
std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// The value of the key, or nothing when the file, section or key is missing.
std::optional<std::string> lookUp(std::string_view section, std::string_view key,
                                  std::string_view iniPath) {
    if (trimmed(key).empty()) return std::nullopt;
    auto text = readProfile(iniPath);
    if (!text) return std::nullopt;
    const auto lines = splitLines(text->bytes);
    const Location where = locate(text->bytes, lines, section, key);
    if (where.keyLine == std::string_view::npos) return std::nullopt;
    std::string_view value = unquoted(where.value);
    // The value is a C string to the programs: it ends at a NUL byte.
    value = value.substr(0, value.find('\0'));
    return std::string(value);
}

// The line ending most lines of the file use; CRLF for a file without any.
std::string_view dominantEnding(std::string_view text) {
    std::size_t crlf = 0, lf = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n') continue;
        if (i > 0 && text[i - 1] == '\r') ++crlf;
        else ++lf;
    }
    return lf > crlf ? "\n" : "\r\n";
}

}  // namespace

std::size_t getProfileString(std::string_view section, std::string_view key,
                             std::string_view defaultValue, char* buffer, std::size_t size,
                             std::string_view iniPath) {
    if (size == 0 || buffer == nullptr) return 0;
    const std::string text = getProfileString(section, key, defaultValue, size, iniPath);
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = '\0';
    return text.size();
}

std::string getProfileString(std::string_view section, std::string_view key,
                             std::string_view defaultValue, std::size_t size,
                             std::string_view iniPath) {
    if (size == 0) return {};
    std::string value;
    if (auto found = lookUp(section, key, iniPath)) {
        value = std::move(*found);
    } else {
        // The default loses its trailing blanks, as the system's does.
        while (!defaultValue.empty() && isBlank(defaultValue.back())) defaultValue.remove_suffix(1);
        value = std::string(defaultValue.substr(0, defaultValue.find('\0')));
    }
    if (value.size() > size - 1) value.resize(size - 1);
    return value;
}

int getProfileInt(std::string_view section, std::string_view key, int defaultValue,
                  std::string_view iniPath) {
    const auto found = lookUp(section, key, iniPath);
    if (!found || found->empty()) return defaultValue;
    std::string_view text = trimmed(*found);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Digits accumulate in 32 bits and wrap on overflow, as the system's do.
    std::uint32_t result = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        result = result * 10u + static_cast<std::uint32_t>(c - '0');
    }
    if (negative) result = 0u - result;
    return static_cast<int>(result);
}

bool writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                        std::string_view iniPath) {
    const std::string_view sectionText = trimmed(section);
    const std::string_view keyText = trimmed(key);
    if (sectionText.empty() || keyText.empty()) return false;
    // Line breaks in a value would add lines of their own.
    if (value.find_first_of("\r\n") != std::string_view::npos) return false;

    std::string original;
    if (auto text = readProfile(iniPath)) {
        if (!text->complete) return false;
        original = std::move(text->bytes);
    } else if (fileExists(iniPath)) {
        return false;  // there but unreadable: never overwrite what we cannot keep
    }

    const std::string_view ending = dominantEnding(original);
    const auto lines = splitLines(original);
    const Location where = locate(original, lines, sectionText, keyText);
    const std::string entry = std::string(keyText) + "=" + std::string(value);

    std::string updated;
    if (where.keyLine != std::string_view::npos) {
        // The key keeps its indentation and spelling; the line becomes key=value.
        const Line& line = lines[where.keyLine];
        const std::string_view text(original.data() + line.start, line.textEnd - line.start);
        const std::size_t indent = text.find_first_not_of(" \t");
        const std::string_view written = trimmed(text.substr(0, text.find('=')));
        updated = original.substr(0, line.start + indent);
        updated += written;
        updated += '=';
        updated += value;
        updated += original.substr(line.textEnd);
    } else if (where.sectionLine != std::string_view::npos) {
        const std::size_t at = where.insertLine < lines.size() ? lines[where.insertLine].start
                                                               : original.size();
        updated = original.substr(0, at);
        if (!updated.empty() && updated.back() != '\n') updated += ending;
        updated += entry;
        updated += ending;
        updated += original.substr(at);
    } else {
        updated = original;
        if (!updated.empty() && updated.back() != '\n') updated += ending;
        // A blank line separates the new section from the one before it.
        if (!updated.empty() && !trimmed(std::string_view(original.data() + lines.back().start,
                                                          lines.back().textEnd - lines.back().start))
                                     .empty())
            updated += ending;
        updated += "[";
        updated += sectionText;
        updated += "]";
        updated += ending;
        updated += entry;
        updated += ending;
    }
    return replaceFileContents(iniPath, updated);
}

}  // namespace calyx::platform
