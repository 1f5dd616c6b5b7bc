// A "K7.csb" name script from outside, read into a name table and every
// entry looked up through the buffers the list fills.
#include <cstddef>
#include <cstdint>
#include <string>

#include "bank/name_table.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace calyx;
    const std::string path = fuzz::writeInput("K7.csb", fuzz::asText(data, size));
    bank::NameTable table;
    const bank::K7ScriptResult result = table.readK7Script(path);
    fuzz::check(result != bank::K7ScriptResult::CannotOpen, "an existing script opens");
    fuzz::checkEveryEntryFound(table);
    return 0;
}
