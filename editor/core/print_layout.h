// The printed listing of a bank, laid out apart from any printer: which text
// goes on which page at which point. A line step L is a quarter inch, the
// left margin half an inch; the title stands on the first page only.
#pragma once

#include <string>
#include <vector>

#include "bank/sound_bank.h"
#include "editor/core/game_strings.h"
#include "editor/core/ui_text.h"

namespace calyx::editor {

// The printable area in device pixels and the device's resolution.
struct PrintArea {
    int width = 0;
    int height = 0;
    int dotsPerInchX = 0;
    int dotsPerInchY = 0;
};

// The words the listing borrows from the game: the looping mark and the
// unit after a sample's size.
struct ListingWords {
    UiText loopLabel;
    UiText byteUnit;
};
ListingWords listingWords(const GameStrings& strings);

struct PrintedLine {
    int page = 1;  // from 1
    int x = 0;
    int y = 0;
    std::string utf8;
};

struct ListingLayout {
    int pageCount = 1;
    std::vector<PrintedLine> lines;  // in drawing order, pages ascending
};

ListingLayout layOutListing(const bank::SoundBank& bank, const PrintArea& area, const ListingWords& words);

}  // namespace calyx::editor
