#include "bank/name_table.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <utility>

namespace calyx::bank {

namespace {

// Copies at most `length` bytes into `buffer`, the terminator included.
void copyCut(const std::string& text, char* buffer, std::size_t length) {
    if (buffer == nullptr || length == 0) return;
    std::size_t n = std::min(text.size(), length - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

}  // namespace

int NameTable::add(int id, std::string name, std::string comment) {
    try {
        firstOfId_.try_emplace(id, entries_.size());
        entries_.push_back(Entry{id, std::move(name), std::move(comment)});
    } catch (const std::exception&) {
        // Out of memory: the entry is not kept (nor its index, if it was new).
        auto it = firstOfId_.find(id);
        if (it != firstOfId_.end() && it->second == entries_.size()) firstOfId_.erase(it);
        return 0;
    }
    return 1;
}

const NameTable::Entry* NameTable::find(int key) const {
    auto it = firstOfId_.find(key);
    return it == firstOfId_.end() ? nullptr : &entries_[it->second];
}

int NameTable::lookup(int key, char* nameBuffer, std::size_t nameLength, char* commentBuffer,
                      std::size_t commentLength) const {
    const Entry* entry = find(key);
    if (entry == nullptr) return 0;
    copyCut(entry->name, nameBuffer, nameLength);
    copyCut(entry->comment, commentBuffer, commentLength);
    return 1;
}

void NameTable::clear() {
    entries_.clear();
    entries_.shrink_to_fit();
    firstOfId_.clear();
}

}  // namespace calyx::bank
