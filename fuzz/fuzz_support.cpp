#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>

#include "bank/name_table.h"
#include "fixtures/temp_dir.h"

namespace calyx::fuzz {
namespace {

const fixtures::TempDir& scratch() {
    static const fixtures::TempDir dir;
    return dir;
}

}  // namespace

std::string scratchPath(std::string_view name) { return scratch() / name; }

std::string writeInput(std::string_view name, std::string_view bytes) {
    std::string path = scratchPath(name);
    fixtures::writeFile(path, bytes);
    return path;
}

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

std::string_view takeLine(std::string_view& rest) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return line;
}

void checkEveryEntryFound(const bank::NameTable& table) {
    char name[64];
    char comment[256];
    for (const auto& entry : table.entries()) {
        check(table.find(entry.id) != nullptr, "every entry is found by its id");
        check(table.lookup(entry.id, name, sizeof name, comment, sizeof comment) == 1,
              "every entry is looked up by its id");
    }
}

}  // namespace calyx::fuzz
