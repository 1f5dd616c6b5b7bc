// The resource list's rules, apart from its widget: the four columns, the
// text of each cell, and the order of rows when a column header is clicked.
// Rows stand for resources by their index in the bank, never by position.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "bank/sound_bank.h"
#include "editor/core/ui_text.h"

namespace calyx::editor {

struct ListColumn {
    std::string_view builtInTitle;
    int titleId;  // the game text that renames the column
    int width;    // pixels
    int textLimit;  // the title's text buffer length
};

inline constexpr int listColumnCount = 4;
inline constexpr std::array<ListColumn, listColumnCount> listColumns = {{
    {"Name", 2, 120, 20},
    {"Volume", 3, 50, 10},
    {"File Name", 4, 100, 13},
    {"Description", 5, 350, 350},
}};

enum ListColumnIndex : int { nameColumn = 0, volumeColumn = 1, fileNameColumn = 2, descriptionColumn = 3 };

// The file a resource's data comes from, as shown to the user: a
// replacement's path (host text) or the record's file name (8-bit text).
UiText displayFileNameText(const bank::SoundResource& resource);

// The text of one cell of the row of resource `index`: the name; the volume
// ("-" for an empty slot); the file for a sample, nothing for any other
// kind; the description.
UiText cellText(const bank::SoundBank& bank, std::size_t index, int column);

// Each column's sort direction: the first click on a header sorts
// ascending, the next descending, and each column keeps its own.
class SortDirections {
public:
    // Flips column `column`'s direction and answers whether it is now ascending.
    bool flip(int column);
    bool ascending(int column) const;

private:
    std::array<std::uint8_t, listColumnCount> sortAscending_{};
};

// Compares the rows of resources `a` and `b` on `column`: names, file names
// and descriptions without regard to ASCII letter case; volumes as unsigned
// numbers, so an empty slot's -1 is the largest. Negative, 0 or positive,
// turned round when the column sorts descending. Any other column: 0.
int compareRows(const bank::SoundBank& bank, std::size_t a, std::size_t b, int column,
                const SortDirections& directions);

// Reorders `rows` (resource indices) by `column`; rows that compare equal
// keep their order.
void sortRows(std::vector<std::size_t>& rows, const bank::SoundBank& bank, int column,
              const SortDirections& directions);

}  // namespace calyx::editor
