// Why a bank's load or save went wrong. The numbers are the bank's error
// codes; a bank keeps the first one recorded until it is taken.
#pragma once

namespace calyx::bank {

enum class BankError : int {
    None = 0,
    SourceUnreadable = 1,
    SourceMissing = 2,  // also: no temporary file, header not written
    NoMemory = 3,
    CompanionUnreadable = 4,
    Other = 5,
};

}  // namespace calyx::bank
