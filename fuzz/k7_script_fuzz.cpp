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
    const int result = table.readK7Script(path);
    fuzz::check(result == 0 || result == 2, "an existing script opens");
    char name[64];
    char comment[256];
    for (const auto& entry : table.entries()) {
        fuzz::check(table.find(entry.id) != nullptr, "every entry is found by its id");
        fuzz::check(table.lookup(entry.id, name, sizeof name, comment, sizeof comment) == 1,
                    "every entry is looked up by its id");
    }
    return 0;
}
