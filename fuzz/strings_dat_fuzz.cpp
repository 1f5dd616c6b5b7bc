// The game's strings.dat from outside: read, then every id and column title
// asked for as the editor asks for them.
#include <cstddef>
#include <cstdint>

#include "editor/core/game_strings.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace calyx;
    editor::GameStrings strings;
    const int loaded = strings.loadFromBytes(fuzz::asText(data, size));
    fuzz::check(loaded == (strings.AreGameStringsLoaded() ? 1 : 0), "the result says whether it loaded");
    for (int id = -1; id <= editor::GameStrings::endMarker + 1; ++id) {
        const auto text = strings.GetGameString(id);
        if (text) {
            fuzz::check(loaded == 1, "an unloaded table has no texts");
            // The last character read may be a "\\n", which gives two.
            fuzz::check(text->size() <= editor::GameStrings::maxTextLength + 1, "a text is not longer than allowed");
        }
    }
    for (int column = -1; column <= editor::GameStrings::columnCount; ++column) strings.columnTitle(column);
    return 0;
}
