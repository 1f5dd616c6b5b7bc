// Comparing a name table with the entries a script was built from.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "bank/name_table.h"
#include "fixtures/name_scripts.h"

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

}  // namespace calyx::testing
