// The text of a Wine registry file (system.reg) as an editable document.
//
// The file is a header, then one block per key: a line "[Path\\To\\Key] <unix
// time>", option lines ("#time=<FILETIME in hex>", "#class=", "#link"), value
// lines ('"name"=...' or '@=...', hex data continued over lines ending in
// '\'), and a blank line before the next key. Wine writes only the keys that
// hold values or have no sub-keys, so a key also exists when only its
// descendants appear. Edits touch the lines of the edited key and nothing
// else; every other byte, line ending included, stays as it was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace calyx::platform {

// Registry value types by their Windows numbers.
enum class RegistryType : std::uint32_t {
    None = 0,
    String = 1,
    ExpandString = 2,
    Binary = 3,
    Dword = 4,
    MultiString = 7,
};

// A modification time: seconds since 1970 (key line) and the same instant as
// a FILETIME, 100 ns ticks since 1601 ("#time=" line).
struct RegistryTime {
    std::uint32_t unixSeconds = 0;
    std::uint64_t fileTime = 0;
    static RegistryTime now();
    static RegistryTime fromUnix(std::uint64_t seconds, std::uint32_t ticks = 0);
};

using RegistryPath = std::vector<std::string>;  // key names below the file's root

class RegistryText {
public:
    explicit RegistryText(std::string_view text);

    // The whole text, edits included.
    std::string text() const;
    // True when the first line is Wine's registry header.
    bool hasHeader() const;
    // True for a 64-bit prefix ("#arch=win64" before the first key).
    bool isWin64() const;

    // True when the key, or any key below it, appears (the root always exists).
    bool keyExists(const RegistryPath& path) const;
    // Adds the key's block, sorted among the others as Wine sorts them, when the
    // key has none; keys that exist keep their spelling.
    void createKey(const RegistryPath& path, const RegistryTime& time);
    // Sets a value (replacing one of the same name, letter case ignored) and
    // stamps the key with `time`. `data` is the value's bytes as the ANSI
    // functions take them: text in the system code page for the string types.
    void setValue(const RegistryPath& path, std::string_view name, RegistryType type,
                  std::string_view data, const RegistryTime& time);
    // The text right of '=' of a value (continuation lines joined, with their
    // breaks), or nothing.
    std::optional<std::string> valueText(const RegistryPath& path, std::string_view name) const;

private:
    struct Line {
        std::string text;    // without its line ending
        std::string ending;  // "\n", "\r\n" or "" for a last line without one
    };
    struct Block {
        std::size_t first;  // the key line
        std::size_t end;    // one past the block's last line
        RegistryPath path;
    };

    std::vector<Block> blocks() const;
    std::optional<Block> findBlock(const RegistryPath& path) const;
    RegistryPath spelled(const RegistryPath& path) const;
    // Index of the first line of the value named `name` in `block`, and one
    // past its last continuation line.
    std::optional<std::pair<std::size_t, std::size_t>> findValue(const Block& block,
                                                                  std::string_view name) const;
    void stamp(const Block& block, const RegistryTime& time);
    void insertLines(std::size_t at, const std::vector<std::string>& texts);

    std::vector<Line> lines_;
    std::string ending_;
};

// Wine's escaped form of 8-bit text (system code page): backslash before
// '\' and the `specials`, C escapes and octal below 32, "\x" hex above 127.
std::string escapeRegistryText(std::string_view text, std::string_view specials);

// The text right of '=' for a value, as Wine writes it; `nameLength` is the
// length of what precedes it on the line ('"name"='), for hex line wrapping.
std::string formatRegistryValue(RegistryType type, std::string_view data, std::size_t nameLength,
                                std::string_view ending);

}  // namespace calyx::platform
