// Writes the save benchmarks' bank, for the process benchmarks:
//   calyx-bench-bank OUT.bnm [second|first]
#include <cstdio>
#include <cstring>

#include "bench_bank.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: calyx-bench-bank OUT.bnm [second|first]\n");
        return 2;
    }
    const bool first = argc == 3 && std::strcmp(argv[2], "first") == 0;
    calyx::bench::writeBenchBank(argv[1], first ? calyx::bench::FirstGame : calyx::bench::SecondGame);
    return 0;
}
