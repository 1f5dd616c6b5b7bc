// The game's own texts, read from its `strings.dat`, so that the editor
// speaks the language of the installed game.
//
// Texts are kept as the file's bytes (8-bit, Latin-1 in practice); they are
// converted only where they meet the user interface (see ui_text.h). The four
// built-in column titles are plain ASCII, so they read the same either way.
//
// The file is a list of entries `<id> "<text>"`, anything without a digit
// standing between them, ended by the number 999 or by the 128th entry:
//   - an id has one to three digits and is followed by one space;
//     ids 1 to 154 are accepted, anything else (0, 155 to 998) spoils the file;
//   - inside the quotes "\n" gives CR LF, "\t" a tab, and a backslash before
//     any other byte gives a lone backslash (that byte is dropped);
//   - a text holds at most 117 characters;
//   - a zero byte, or the end of the file before 999 or the 128th entry,
//     spoils the file.
// A spoiled file leaves the table unloaded, except that column titles taken
// before the fault keep their new text.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace calyx::editor {

class GameStrings {
public:
    static constexpr int columnCount = 4;
    // Ids 2 to 5 name the columns; 6 and 7 are accepted but have no slot.
    static constexpr int firstColumnTitleId = 2;
    static constexpr int lastTitleLikeId = 7;
    static constexpr std::size_t maxColumnTitleLength = 17;
    static constexpr std::size_t maxTextLength = 117;
    static constexpr int highestId = 154;
    static constexpr int endMarker = 999;
    static constexpr int entriesInFullFile = 128;

    // A table with the built-in column titles and no game texts.
    GameStrings();

    // Reads `path` (any path form) through the editor's file stream.
    // 1 when the whole file was good (the table is then loaded), else 0.
    // A table is filled once at start-up; loading again starts from empty
    // blocks (column titles stay as they are).
    int load(std::string_view path);
    // The same rules applied to bytes in memory.
    int loadFromBytes(std::string_view bytes);

    // The text of `id`, or nothing when the table is not loaded or the id
    // has no text. Ids 37 and 40 share one slot: the later entry is the text
    // of both.
    std::optional<std::string> GetGameString(int id) const;
    bool AreGameStringsLoaded() const { return loaded_; }

    // Title of list column 0 to 3: "Name", "Volume", "File Name",
    // "Description" unless the game's file renamed it (also when the rest of
    // that file was bad). Empty for any other column.
    const std::string& columnTitle(int column) const;

private:
    // Slots: block 20 (ids 20–37 and 40–62, 40 slots), block 70 (ids 70–98,
    // 29 slots), block 100 (ids 100–153, 54 slots), one after the other.
    static constexpr std::size_t slotCount = 40 + 29 + 54;
    static std::optional<std::size_t> slotFor(int id);

    int parse(const std::function<bool(unsigned char&)>& nextByte);
    void place(int id, std::string text);

    std::array<std::string, columnCount> columnTitles_;
    std::array<std::optional<std::string>, slotCount> slots_;
    bool loaded_ = false;
};

}  // namespace calyx::editor
