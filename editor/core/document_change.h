// What a bank document tells the windows attached to it, at the moment it
// happens: a resource changed (its row shows it anew), or the document became
// modified or unmodified (its window's mark follows).
#pragma once

#include <cstddef>

#include "bank/listener_list.h"

namespace calyx::editor {

struct DocumentChange {
    enum class Kind { Resource, Modified };
    Kind kind = Kind::Resource;
    // Resource: the changed resource's index in the bank.
    std::size_t resource = 0;
    // Modified: the document's new state.
    bool modified = false;

    static DocumentChange ofResource(std::size_t index) { return {Kind::Resource, index, false}; }
    static DocumentChange ofModified(bool modified) { return {Kind::Modified, 0, modified}; }
    bool operator==(const DocumentChange&) const = default;
};

using DocumentListener = bank::ListenerList<const DocumentChange&>::Listener;

}  // namespace calyx::editor
