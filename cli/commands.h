// The calyx-cli commands, each group adding its subcommands to the program.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/context.h"

namespace calyx::cli {

void addListingCommands(CLI::App& app, Context& context);  // info, list, check
void addSaveCommands(CLI::App& app, Context& context);     // resave
void addEditCommands(CLI::App& app, Context& context);     // export, import, volume, copy, play
void addBatchCommands(CLI::App& app, Context& context);    // where, export-all, convert
void addImportAllCommand(CLI::App& app, Context& context); // import-all

// Runs the program; answers the exit code.
int run(int argc, char** argv);

}  // namespace calyx::cli
