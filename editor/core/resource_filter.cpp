#include "editor/core/resource_filter.h"

#include "editor/core/resource_list.h"

namespace calyx::editor {
namespace {

// UTF-8 of the Latin-1 capitals À..Þ is C3 80..C3 9E (C3 97 is the sign ×);
// their small forms are 0x20 further.
constexpr unsigned char latin1Lead = 0xC3;

std::string grouped(std::size_t number, std::string_view separator) {
    std::string digits = std::to_string(number);
    std::string result;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) result += separator;
        result += digits[i];
    }
    return result;
}

}  // namespace

std::string foldForSearch(std::string_view utf8) {
    std::string folded(utf8);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto c = static_cast<unsigned char>(folded[i]);
        if (c >= 'A' && c <= 'Z') {
            folded[i] = static_cast<char>(c + ('a' - 'A'));
        } else if (c == latin1Lead && i + 1 < folded.size()) {
            const auto next = static_cast<unsigned char>(folded[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) folded[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        }
    }
    return folded;
}

void ResourceFilter::setText(std::string_view utf8) { needle_ = foldForSearch(utf8); }

void ResourceFilter::forget(std::size_t index) {
    if (index < made_.size()) made_[index] = false;
}

const std::string& ResourceFilter::haystack(std::size_t index) {
    if (haystacks_.size() != bank_.resourceCount()) {
        haystacks_.assign(bank_.resourceCount(), {});
        made_.assign(bank_.resourceCount(), false);
    }
    if (!made_[index]) {
        // The three texts as the list shows them, apart, so that a match
        // never spans two of them.
        std::string text;
        for (const int column : {nameColumn, fileNameColumn, descriptionColumn}) {
            text += cellText(bank_, index, column).utf8();
            text += '\n';
        }
        haystacks_[index] = foldForSearch(text);
        made_[index] = true;
    }
    return haystacks_[index];
}

bool ResourceFilter::matches(std::size_t index) {
    if (needle_.empty()) return true;
    if (index >= bank_.resourceCount()) return false;
    return haystack(index).find(needle_) != std::string::npos;
}

std::string filterCountText(std::size_t shown, std::size_t total, InterfaceLanguage language) {
    if (language == InterfaceLanguage::English) return grouped(shown, ",") + " of " + grouped(total, ",");
    constexpr std::string_view noBreakSpace = "\u00A0";
    return grouped(shown, noBreakSpace) + " sur " + grouped(total, noBreakSpace);
}

}  // namespace calyx::editor
