// import-all: a folder of WAV files named as export-all names them put back
// into a bank, each file through the edit dialog's checks, as if browsed and
// taken with OK one after the other (as the editor's File > Import
// folder... takes them); then one save.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/commands.h"
#include "cli/save_bank.h"
#include "editor/core/converted_copies.h"
#include "editor/core/folder_import.h"
#include "editor/core/folder_importer.h"
#include "editor/core/link_table.h"
#include "platform/path.h"

namespace calyx::cli {
namespace {

using editor::FolderImportOutcome;

struct Args {
    std::string bank, folder;
    OutputOption output;
    bool convert = false;
    bool dryRun = false;
};

// A private folder for the files as the bank takes them, gone with the object.
class StagingFolder {
public:
    StagingFolder() {
        std::error_code error;
        const auto temporary = std::filesystem::temp_directory_path(error);
        if (!error) path_ = editor::makePrivateFolder(temporary.string());
        if (path_.empty()) throw CommandFailure{"no temporary folder can be made for the imported files"};
    }
    ~StagingFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    // A folder of its own for resource `index`.
    std::string folderFor(std::size_t index) const {
        const std::string folder = platform::hostPathIn(path_, std::to_string(index));
        std::error_code ignored;
        std::filesystem::create_directory(folder, ignored);
        return folder;
    }

private:
    std::string path_;
};

void importAll(Context& context, const Args& args) {
    const std::string bankPath = context.userPath(args.bank, "the bank");
    const std::string target = saveTarget(context, args.output, bankPath);
    const std::string folder = context.userPath(args.folder, "the folder");
    context.startUp();
    const auto files = editor::wavFilesIn(folder);
    if (!files) throw CommandFailure{args.folder + ": the folder cannot be read"};
    editor::LinkTable links;
    auto document = context.openDocument(bankPath, links);
    editor::FolderImportCounts counts;
    {
        StagingFolder staging;
        editor::FolderStaging copies;
        copies.folderFor = [&staging](std::size_t index) { return staging.folderFor(index); };
        editor::FolderImporter importer(document->bank(), links, context.strings(), context.language(), copies);
        for (const editor::FolderWav& file : *files) {
            editor::FolderFileResult result = importer.import(file, args.convert, args.dryRun);
            if (result.convertible) result.reason += " (--convert converts it)";
            counts.add(result.outcome);
            std::string line = std::string(editor::folderImportWord(result.outcome, args.dryRun)) + " " + file.name;
            if (result.outcome == FolderImportOutcome::Replaced || result.outcome == FolderImportOutcome::Unchanged)
                line += " (resource " + std::to_string(*file.index) + ")";
            if (!result.reason.empty()) line += ": " + result.reason;
            std::printf("%s\n", line.c_str());
        }
        std::string summary = editor::folderImportSummary(counts);
        // The save reads the staged copies: it runs before they go.
        if (args.dryRun) {
            summary += "; nothing saved (dry run)";
        } else if (counts.replaced > 0 || target != bankPath) {
            saveBankOrFail(context, *document, target);
            summary += "; saved " + args.output.shown(args.bank);
        } else {
            summary += "; the bank is unchanged";
        }
        std::printf("%s\n", summary.c_str());
    }
    if (counts.refused > 0) throw CommandFailure{std::to_string(counts.refused) + " file(s) refused"};
}

}  // namespace

void addImportAllCommand(CLI::App& app, Context& context) {
    auto args = std::make_shared<Args>();
    auto* cmd = app.add_subcommand(
        "import-all", "the reverse of export-all: every \"<index>_<name>.wav\" (or \"<index>.wav\") of FOLDER\n"
                      "replaces that resource's sample, each through import's checks; a file whose sound is\n"
                      "already the resource's is left alone, and each resource keeps the file name its record\n"
                      "holds. Other files are listed and skipped; exit 1 when a file was refused (the others are\n"
                      "still taken and saved)");
    cmd->add_option("BANK", args->bank, "the bank (.bnm)")->required();
    cmd->add_option("FOLDER", args->folder, "the folder of WAV files")->required();
    addOutputOption(*cmd, args->output, "save under this name instead of in place");
    cmd->add_flag("--convert", args->convert,
                  "convert every file first (any PCM or float WAV: any rate, any number of channels) to\n"
                  "22050 Hz mono 16-bit");
    cmd->add_flag("--dry-run", args->dryRun, "say what would be done; change nothing");
    cmd->callback([&context, args] { importAll(context, *args); });
}

}  // namespace calyx::cli
