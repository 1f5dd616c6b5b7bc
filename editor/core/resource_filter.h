// Finding a sound among the rows of a bank's list: a row is kept when its
// name, its file (as the list shows it) or its description contains the
// typed text, without regard to letter case: ASCII letters and the accented
// letters of the game's 8-bit texts (À to Þ) match their small forms. The
// text each resource is searched in is made once and kept until that
// resource changes, so that typing in a list of 20,000 rows stays quick.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "bank/sound_bank.h"
#include "editor/core/interface_language.h"

namespace calyx::editor {

// The box's words (the game's texts have none for it).
namespace filter_text {
inline constexpr TwoLanguageText name{"Rechercher un son", "Find a sound"};
inline constexpr TwoLanguageText placeholder{"Rechercher un son (Ctrl+F) : nom, fichier ou description",
                                             "Find a sound (Ctrl+F): name, file or description"};
}  // namespace filter_text

// `utf8` with ASCII and Latin-1 capital letters made small.
std::string foldForSearch(std::string_view utf8);

class ResourceFilter {
public:
    // `bank` outlives the filter.
    explicit ResourceFilter(const bank::SoundBank& bank) : bank_(bank) {}

    // The typed text (UTF-8); an empty text keeps every row.
    void setText(std::string_view utf8);
    bool empty() const { return needle_.empty(); }
    // Whether resource `index`'s row is kept.
    bool matches(std::size_t index);
    // The resource changed: what it is searched in is made anew.
    void forget(std::size_t index);

private:
    const std::string& haystack(std::size_t index);

    const bank::SoundBank& bank_;
    std::string needle_;
    std::vector<std::string> haystacks_;
    std::vector<bool> made_;
};

// "12 of 2,000" (English) or "12 sur 2 000" (French, with no-break spaces):
// how many rows the filter keeps of how many.
std::string filterCountText(std::size_t shown, std::size_t total, InterfaceLanguage language);

}  // namespace calyx::editor
