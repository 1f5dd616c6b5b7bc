// Names and descriptions of a bank's resources, read from a name script:
// (id, name, comment) entries in file order, looked up by id.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace calyx::bank {

// What reading a "K7.csb" script came to; the numbers are the reader's.
enum class K7ScriptResult : int { Read = 0, CannotOpen = 1, EntryLost = 2 };
// What reading a bank's companion (".bns") came to; the numbers are the
// reader's.
enum class CompanionResult : int { Unreadable = 0, Read = 1 };

class NameTable {
public:
    struct Entry {
        int id;
        std::string name;
        std::string comment;
    };

    // Appends an entry; 0 when it cannot be stored.
    int add(int id, std::string name, std::string comment);
    // The first entry with `key`: copies at most `nameLength` bytes of its name
    // and `commentLength` of its comment (each buffer zero-terminated within
    // its length); 1 when found, 0 when not.
    int lookup(int key, char* nameBuffer, std::size_t nameLength, char* commentBuffer,
               std::size_t commentLength) const;
    // The first entry with `key`, or null.
    const Entry* find(int key) const;
    void clear();
    std::size_t size() const { return entries_.size(); }
    const std::vector<Entry>& entries() const { return entries_; }

    // Fill the table from a "K7.csb" script (EntryLost: an entry could not
    // be stored).
    K7ScriptResult readK7Script(const std::string& path);
    // Fill the table from a bank's companion (".bns"): Read also for a file
    // without a header section; Unreadable when it cannot be opened or gives
    // no row count.
    CompanionResult readCompanion(const std::string& path);

private:
    std::vector<Entry> entries_;
    // The position of the first entry of each id, so that a lookup does not
    // walk the list.
    std::unordered_map<int, std::size_t> firstOfId_;
};

}  // namespace calyx::bank
