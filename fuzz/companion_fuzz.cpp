// A bank's ".bns" companion name file from outside, read into a name table
// and every entry looked up through the buffers the list fills.
#include <cstddef>
#include <cstdint>
#include <string>

#include "bank/name_table.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace calyx;
    const std::string path = fuzz::writeInput("input.bns", fuzz::asText(data, size));
    bank::NameTable table;
    const bank::CompanionResult result = table.readCompanion(path);
    fuzz::check(result == bank::CompanionResult::Read || result == bank::CompanionResult::Unreadable,
                "readCompanion answers Read or Unreadable");
    fuzz::checkEveryEntryFound(table);
    return 0;
}
