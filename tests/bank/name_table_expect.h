// Comparing a name table with the entries a script was built from, and a
// name table read from a file of a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bank/name_table.h"
#include "fixtures/name_scripts.h"
#include "fixtures/temp_dir.h"

namespace calyx::testing {

inline void expectEntries(const bank::NameTable& table, const std::vector<fixtures::NameEntry>& entries) {
    ASSERT_EQ(table.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& got = table.entries()[i];
        EXPECT_EQ(got.id, entries[i].id);
        EXPECT_EQ(got.name, entries[i].name);
        EXPECT_EQ(got.comment, entries[i].comment);
    }
}

// A table and the folder its script is written to; a missing id reads as
// "<none>".
struct ScriptTable {
    fixtures::TempDir dir;
    bank::NameTable table;

    std::string name(int id) const {
        const bank::NameTable::Entry* e = table.find(id);
        return e ? e->name : "<none>";
    }
    std::string comment(int id) const {
        const bank::NameTable::Entry* e = table.find(id);
        return e ? e->comment : "<none>";
    }
};

}  // namespace calyx::testing
