#include "editor/core/resource_list.h"

#include <algorithm>

#include "editor/core/converted_copies.h"

namespace calyx::editor {
namespace {

int compareNoCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
    };
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int d = lower(a[i]) - lower(b[i]);
        if (d != 0) return d;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

int sign(bool less, bool greater) { return less ? -1 : greater ? 1 : 0; }

bool validColumn(int column) { return column >= 0 && column < listColumnCount; }

// The file the user knows: for a converted copy, the file it was made from.
std::string shownFileName(const bank::SoundResource& resource) {
    if (resource.isReplaced() && resource.replacementPath()) {
        if (auto original = ConvertedCopies::originalOf(*resource.replacementPath())) return *original;
    }
    return resource.displayFileName();
}

}  // namespace

UiText displayFileNameText(const bank::SoundResource& resource) {
    if (resource.isReplaced() && resource.replacementPath()) return UiText::builtIn(shownFileName(resource));
    return UiText::fromGame(resource.displayFileName());
}

UiText cellText(const bank::SoundBank& bank, std::size_t index, int column) {
    const bank::SoundResource* resource = bank.resourceAt(index);
    if (!resource) return {};
    switch (column) {
    case nameColumn: return UiText::fromGame(resource->name());
    case volumeColumn: return UiText::builtIn(resource->volumeText());
    case fileNameColumn: return resource->isSample() ? displayFileNameText(*resource) : UiText{};
    case descriptionColumn: return UiText::fromGame(resource->comment());
    default: return {};
    }
}

bool SortDirections::flip(int column) {
    if (!validColumn(column)) return false;
    auto& byte = sortAscending_[static_cast<std::size_t>(column)];
    byte = byte == 0 ? 1 : 0;
    return byte == 1;
}

bool SortDirections::ascending(int column) const {
    return validColumn(column) && sortAscending_[static_cast<std::size_t>(column)] == 1;
}

int compareRows(const bank::SoundBank& bank, std::size_t a, std::size_t b, int column,
                const SortDirections& directions) {
    const bank::SoundResource* ra = bank.resourceAt(a);
    const bank::SoundResource* rb = bank.resourceAt(b);
    static const std::string none;
    int s = 0;
    switch (column) {
    case nameColumn: s = compareNoCase(ra ? ra->name() : none, rb ? rb->name() : none); break;
    case volumeColumn: {
        const auto va = static_cast<std::uint32_t>(bank.volumeAt(a));
        const auto vb = static_cast<std::uint32_t>(bank.volumeAt(b));
        s = sign(va < vb, va > vb);
        break;
    }
    case fileNameColumn:
        s = compareNoCase(ra ? shownFileName(*ra) : std::string(), rb ? shownFileName(*rb) : std::string());
        break;
    case descriptionColumn: s = compareNoCase(ra ? ra->comment() : none, rb ? rb->comment() : none); break;
    default: return 0;
    }
    return directions.ascending(column) ? s : -s;
}

void sortRows(std::vector<std::size_t>& rows, const bank::SoundBank& bank, int column,
              const SortDirections& directions) {
    if (!validColumn(column)) return;
    const bool ascending = directions.ascending(column);
    // Each resource's key is made once, not at every comparison; keys
    // compare as compareRows does (unsigned bytes, ASCII letters lowered).
    const std::size_t count = bank.resourceCount();
    if (column == volumeColumn) {
        std::vector<std::uint32_t> keys(count);
        for (std::size_t i = 0; i < count; ++i) keys[i] = static_cast<std::uint32_t>(bank.volumeAt(i));
        const auto key = [&keys](std::size_t i) { return i < keys.size() ? keys[i] : UINT32_MAX; };
        std::stable_sort(rows.begin(), rows.end(), [&](std::size_t a, std::size_t b) {
            return ascending ? key(a) < key(b) : key(b) < key(a);
        });
        return;
    }
    std::vector<std::string> keys(count);
    for (std::size_t i = 0; i < count; ++i) {
        const bank::SoundResource& r = *bank.resourceAt(i);
        std::string text = column == nameColumn ? r.name() : column == fileNameColumn ? shownFileName(r) : r.comment();
        for (char& c : text)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
        keys[i] = std::move(text);
    }
    static const std::string none;
    const auto key = [&keys](std::size_t i) -> const std::string& { return i < keys.size() ? keys[i] : none; };
    std::stable_sort(rows.begin(), rows.end(), [&](std::size_t a, std::size_t b) {
        return ascending ? key(a) < key(b) : key(b) < key(a);
    });
}

}  // namespace calyx::editor
