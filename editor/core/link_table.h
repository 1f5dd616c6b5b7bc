// The application-wide table of the bank files that pasted resources take
// their data from. A pasted resource keeps a key into it; the save asks the
// table for the path behind the key. Entries are counted: one reference per
// resource holding the key, and an entry leaves when its last one goes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bank/sound_resource.h"
#include "editor/core/paste_origins.h"

namespace calyx::editor {

class LinkTable {
public:
    using Key = bank::LinkKey;

    // The key of `path` with one more reference; a new entry takes the
    // lowest free key after the last gap in the keys (or the next key past
    // the last). Paths are compared byte for byte, letter case included.
    // No path gives 0.
    Key acquire(const std::optional<std::string>& path);
    // The path behind `key`, or nothing.
    std::optional<std::string> pathOf(Key key) const;
    // Drops one reference; the entry goes with its last one. An unknown key
    // changes nothing.
    void release(Key key);
    void clearAll() { entries_.clear(); }

    // References held on `key` (0 when it is not in the table).
    int refCount(Key key) const;
    std::size_t size() const { return entries_.size(); }

    // Where the pending pastes behind the keys take their bytes.
    PasteOrigins& origins() { return origins_; }

private:
    struct Entry {
        std::string path;
        Key key = 0;
        int refCount = 0;
    };
    // In ascending key order.
    std::vector<Entry> entries_;
    PasteOrigins origins_;
};

}  // namespace calyx::editor
