// resave: load a bank and save it again through the editor's save.
#include <iostream>
#include <memory>

#include "bank/save_document.h"
#include "cli/commands.h"
#include "cli/save_bank.h"
#include "editor/core/messages.h"

namespace calyx::cli {

void addOutputOption(CLI::App& command, OutputOption& output, const std::string& description) {
    output.option = command.add_option("-o,--output", output.name, description);
}

std::string saveTarget(const Context& context, const OutputOption& output, const std::string& bankPath) {
    if (!output.given()) return bankPath;
    const std::string target = context.userPath(output.name, "the output name (-o)");
    if (!bank::isBankFileName(target))
        throw CommandFailure{output.name + ": a sound bank is saved only under a name ending in .bnm", exitUsage};
    return target;
}

void saveBankOrFail(const Context& context, bank::SoundBank& bank, const std::string& target) {
    const auto outcome = bank::saveDocument(bank, target);
    if (outcome.companionFailed)
        printWarning(context.messageText(editor::resolveMessage(editor::message::companionCopyFailed, context.strings()),
                                         "the companion name file could not be copied"));
    if (outcome.saved) return;
    if (outcome.bankError != 0) {
        const std::string fallback = "the bank could not be saved (error " + std::to_string(outcome.bankError) + ")";
        throw CommandFailure{target + ": " + context.messageText(editor::bankErrorText(outcome.bankError, context.strings()), fallback) +
                             "; the file is unchanged"};
    }
    throw CommandFailure{target + ": the saved bank could not take the file's place; the file is unchanged"};
}

void addSaveCommands(CLI::App& app, Context& context) {
    auto bankPath = std::make_shared<std::string>();
    auto output = std::make_shared<OutputOption>();
    auto* resave = app.add_subcommand("resave", "load a bank and save it again (in place, or under -o)");
    resave->add_option("BANK", *bankPath, "the bank (.bnm)")->required();
    addOutputOption(*resave, *output, "save under this name instead (a TQ2 bank's .bns companion follows)");
    resave->callback([&context, bankPath, output] {
        const std::string path = context.userPath(*bankPath, "the bank");
        const std::string target = saveTarget(context, *output, path);
        context.startUp();
        auto bank = context.openBank(path);
        saveBankOrFail(context, *bank, target);
        std::cout << "saved " << output->shown(*bankPath) << '\n';
    });
}

}  // namespace calyx::cli
