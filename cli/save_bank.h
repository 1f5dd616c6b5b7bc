// Saving a bank from a command, with the editor's messages, and the -o
// option of the commands that save.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "cli/context.h"

namespace calyx::cli {

// The -o option: whether it was given (an empty -o "" is given, and refused)
// and its text.
struct OutputOption {
    std::string name;
    CLI::Option* option = nullptr;

    bool given() const { return option != nullptr && option->count() > 0; }
    // The name to report: the -o text, else the bank as the user named it.
    const std::string& shown(const std::string& bankArgument) const { return given() ? name : bankArgument; }
};

void addOutputOption(CLI::App& command, OutputOption& output, const std::string& description);

// The host path a command saves under: `bankPath` without -o, else the -o
// name, which must be a bank name; throws CommandFailure (usage) before
// anything is written when it is empty, blank or does not end in ".bnm".
std::string saveTarget(const Context& context, const OutputOption& output, const std::string& bankPath);

// Saves `bank` under `target` the editor's safe way; throws CommandFailure
// (the target is then unchanged). A companion that could not follow is a
// warning.
void saveBankOrFail(const Context& context, editor::BankDocument& document, const std::string& target);

}  // namespace calyx::cli
