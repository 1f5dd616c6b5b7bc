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
        throw CommandFailure{output.name + ": a sound bank is saved only under a name ending in .bnm", ExitCode::Usage};
    return target;
}

void saveBankOrFail(const Context& context, editor::BankDocument& document, const std::string& target) {
    const auto result = document.save(target);
    if (result.report) {
        const std::string text = result.report->text(context.strings(), context.language()).utf8();
        if (!result.saved) throw CommandFailure{text};
        printWarning(text);
    }
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
        auto document = context.openDocument(path);
        saveBankOrFail(context, *document, target);
        std::cout << "saved " << output->shown(*bankPath) << '\n';
    });
}

}  // namespace calyx::cli
