#include "cli/commands.h"

int main(int argc, char** argv) { return calyx::cli::run(argc, argv); }
