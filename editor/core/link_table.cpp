#include "editor/core/link_table.h"

#include <algorithm>

namespace calyx::editor {

LinkTable::Key LinkTable::acquire(const std::optional<std::string>& path) {
    if (!path) return 0;
    Key previous = 0;
    std::optional<std::size_t> gapAt;
    Key gapKey = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        Entry& e = entries_[i];
        // The last gap found wins.
        if (e.key > previous + 1) {
            gapKey = previous + 1;
            gapAt = i;
        }
        if (e.path == *path) {
            ++e.refCount;
            return e.key;
        }
        previous = e.key;
    }
    Entry entry{*path, 1, 1};
    if (entries_.empty()) {
        entries_.push_back(std::move(entry));
    } else if (gapAt) {
        entry.key = gapKey;
        entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(*gapAt), std::move(entry));
    } else {
        entry.key = entries_.back().key + 1;
        entries_.push_back(std::move(entry));
    }
    return gapAt ? gapKey : entries_.back().key;
}

std::optional<std::string> LinkTable::pathOf(Key key) const {
    for (const Entry& e : entries_)
        if (e.key == key) return e.path;
    return std::nullopt;
}

void LinkTable::release(Key key) {
    const auto it = std::find_if(entries_.begin(), entries_.end(), [key](const Entry& e) { return e.key == key; });
    if (it == entries_.end()) return;
    if (--it->refCount <= 0) entries_.erase(it);
}

int LinkTable::refCount(Key key) const {
    for (const Entry& e : entries_)
        if (e.key == key) return e.refCount;
    return 0;
}

}  // namespace calyx::editor
