// import-all: a folder of WAV files named as export-all names them put back
// into a bank, each file through the edit dialog's checks, as if browsed and
// taken with OK one after the other; then one save.
#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>

#include "audio/wav_convert.h"
#include "audio/wav_file.h"
#include "audio/wav_header.h"
#include "cli/commands.h"
#include "cli/dialog_said.h"
#include "cli/save_bank.h"
#include "editor/core/converted_copies.h"
#include "editor/core/folder_import.h"
#include "editor/core/headless_dialog_view.h"
#include "editor/core/link_table.h"
#include "editor/core/resource_edit_session.h"
#include "editor/core/ui_text.h"
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

struct FileResult {
    FolderImportOutcome outcome;
    std::string reason;
};

FileResult skipped(std::string reason) { return {FolderImportOutcome::Skipped, std::move(reason)}; }
FileResult refused(std::string reason) { return {FolderImportOutcome::Refused, std::move(reason)}; }

// The name the staged copy takes: the record's file name, read from the
// bank and so kept to a plain name (no folder), where it is a WAV file's
// name as the import asks; else the file's own.
std::string stagedName(const bank::SoundResource& resource, const std::string& fileName) {
    const std::string recorded = editor::latin1ToUtf8(resource.listFileName());
    const std::string plain(platform::lastComponent(recorded));
    return audio::hasWavExtension(plain) ? plain : fileName;
}

// One file of the folder given to its resource. The bank records each
// resource's own file name, not the export's working name: the file is
// taken from a copy under that name.
class FileImporter {
public:
    FileImporter(const Context& context, bank::SoundBank& bank, editor::LinkTable& links, const Args& args)
        : context_(context), bank_(bank), links_(links), args_(args) {}

    FileResult import(const editor::FolderWav& file) {
        if (!file.index) return skipped("its name does not start with a resource index (as in 3_Horn.wav)");
        const std::size_t index = *file.index;
        bank::SoundResource* resource = bank_.resourceAt(index);
        if (!resource) return skipped("the bank has no resource " + std::to_string(index));
        if (!editor::ResourceEditSession::opensDialogFor(*resource))
            return skipped("resource " + std::to_string(index) +
                           " is not a sample with a file of its own (a CD track or an empty slot)");
        if (!taken_.insert(index).second)
            return skipped("another file of the folder already gave resource " + std::to_string(index) +
                           " its sound");
        const std::string folder = staging_.folderFor(index);
        editor::HeadlessDialogView view;
        view.trackbar = 0;
        editor::ResourceEditSession session(view, links_, context_.strings(), context_.language());
        session.bind(*resource, bank_, nullptr);
        if (!session.initialise()) return refused("the resource cannot be edited");
        // The user's own file is compared, before any conversion.
        if (holdsPresentSound(session, file.path, folder)) {
            session.cancel();
            return {FolderImportOutcome::Unchanged, {}};
        }
        const std::string staged = platform::hostPathIn(folder, stagedName(*resource, file.name));
        if (auto problem = stage(file.path, staged)) {
            session.cancel();
            return refused(*problem);
        }
        const editor::ImportResult imported = session.importWav(staged, true);
        session.reportImportResult(imported);
        if (imported != editor::ImportResult::Taken) {
            session.cancel();
            const bool convertible = imported == editor::ImportResult::FormatNotSupported && !args_.convert;
            return refused(dialogSaid(view, "not imported") + (convertible ? " (--convert converts it)" : ""));
        }
        if (args_.dryRun) {
            session.cancel();
            return {FolderImportOutcome::Replaced, {}};
        }
        if (!session.ok()) return refused(dialogSaid(view, "not imported"));
        return {FolderImportOutcome::Replaced, {}};
    }

private:
    // Puts the user's file (converted, with --convert) at `staged`; the
    // reason when it cannot.
    std::optional<std::string> stage(const std::string& from, const std::string& staged) const {
        if (args_.convert) {
            const audio::ConvertResult result = audio::convertToEditorFormat(from, staged, nullptr);
            if (result != audio::ConvertResult::Ok) return std::string(audio::convertResultText(result));
            return std::nullopt;
        }
        std::error_code error;
        std::filesystem::copy_file(from, staged, std::filesystem::copy_options::overwrite_existing, error);
        if (error) return "the file cannot be read (" + error.message() + ")";
        return std::nullopt;
    }

    // True when the file's sound is the resource's present sample, byte for
    // byte, as export writes it.
    static bool holdsPresentSound(editor::ResourceEditSession& session, const std::string& path,
                                  const std::string& folder) {
        const std::string present = folder + "/present.wav";
        if (session.exportWav(present) != editor::WavError::None) return false;
        const auto ours = editor::soundBytesOf(present, audio::maxWavDataLength);
        const auto theirs = editor::soundBytesOf(path, audio::maxWavDataLength);
        return ours && theirs && *ours == *theirs;
    }

    const Context& context_;
    bank::SoundBank& bank_;
    editor::LinkTable& links_;
    const Args& args_;
    StagingFolder staging_;
    std::set<std::size_t> taken_;
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
        FileImporter importer(context, document->bank(), links, args);
        for (const editor::FolderWav& file : *files) {
            const FileResult result = importer.import(file);
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
