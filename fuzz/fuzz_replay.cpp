// Runs every saved input of every fuzz target through that target: the seeds
// and every input that once crashed, hung or leaked. A target that breaks
// aborts the program, so the test fails with the target's own message.
//
// fuzz_replay [corpus folder] — the folder holds one sub-folder per target.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#define CALYX_FUZZ_TARGET(name) extern "C" int name##_fuzz_one(const std::uint8_t* data, std::size_t size);
#include "fuzz_targets.inc"
#undef CALYX_FUZZ_TARGET

namespace {

struct Target {
    const char* name;
    int (*run)(const std::uint8_t*, std::size_t);
};

constexpr Target targets[] = {
#define CALYX_FUZZ_TARGET(name) {#name, name##_fuzz_one},
#include "fuzz_targets.inc"
#undef CALYX_FUZZ_TARGET
};

std::vector<std::uint8_t> readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path corpus = argc > 1 ? argv[1] : CALYX_FUZZ_CORPUS;
    int failures = 0;
    for (const Target& target : targets) {
        const std::filesystem::path folder = corpus / target.name;
        std::vector<std::filesystem::path> inputs;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        if (inputs.empty()) {
            std::fprintf(stderr, "%s: no inputs in %s\n", target.name, folder.c_str());
            ++failures;
            continue;
        }
        std::sort(inputs.begin(), inputs.end());
        for (const auto& input : inputs) {
            const std::vector<std::uint8_t> bytes = readAll(input);
            // Announced first, so that a crash names its input.
            std::fprintf(stderr, "%s: %s\n", target.name, input.filename().c_str());
            target.run(bytes.data(), bytes.size());
        }
        std::printf("%s: %zu inputs\n", target.name, inputs.size());
    }
    return failures == 0 ? 0 : 1;
}
