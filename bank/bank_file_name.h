// The ".bnm" rule: which names are sound bank files, decided in one place
// for opening, saving, Save As and the save's sharing.
#pragma once

#include <string_view>

namespace calyx::bank {

inline constexpr std::string_view bankExtension = ".bnm";

// True when the last component of `path` ends in ".bnm", in any letter case
// (a file named just ".bnm" is a bank too; its companion is ".bns"). A bank
// under any other name would not open again, and its companion name file
// (the bank's name with its last letter replaced by 's') would be misnamed.
bool isBankFileName(std::string_view path);

}  // namespace calyx::bank
