#include "editor/core/folder_importer.h"

#include <filesystem>
#include <system_error>

#include "audio/wav_convert.h"
#include "audio/wav_file.h"
#include "editor/core/bank_document.h"
#include "editor/core/headless_dialog_view.h"
#include "editor/core/newer_texts.h"
#include "editor/core/resource_edit_session.h"
#include "editor/core/ui_text.h"
#include "platform/path.h"

namespace calyx::editor {
namespace {

FolderFileResult skipped(std::string reason) { return {FolderImportOutcome::Skipped, std::move(reason)}; }
FolderFileResult refused(std::string reason, bool convertible = false) {
    return {FolderImportOutcome::Refused, std::move(reason), convertible};
}

// The name the copy takes: the record's file name, read from the bank and so
// kept to a plain name (no folder), where it is a WAV file's name as the
// import asks; else the file's own.
std::string stagedName(const bank::SoundResource& resource, const std::string& fileName) {
    const std::string recorded = latin1ToUtf8(resource.listFileName());
    const std::string plain(platform::lastComponent(recorded));
    return audio::hasWavExtension(plain) ? plain : fileName;
}

// Puts the user's file (converted, when asked) at `staged`; the reason when it cannot.
std::optional<std::string> stage(const std::string& from, const std::string& staged, bool convert) {
    if (convert) {
        const audio::ConvertResult result = audio::convertToEditorFormat(from, staged, nullptr);
        if (result != audio::ConvertResult::Ok) return std::string(audio::convertResultText(result));
        return std::nullopt;
    }
    std::error_code error;
    std::filesystem::copy_file(from, staged, std::filesystem::copy_options::overwrite_existing, error);
    if (error) return "the file cannot be read (" + error.message() + ")";
    return std::nullopt;
}

// `format` with "%1", "%2", ... replaced by `values` in order.
std::string filledIn(std::string_view format, const std::vector<std::string>& values) {
    std::string text(format);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string mark = "%" + std::to_string(i + 1);
        if (const auto at = text.find(mark); at != std::string::npos) text.replace(at, mark.size(), values[i]);
    }
    return text;
}

}  // namespace

FolderImporter::FolderImporter(bank::SoundBank& bank, LinkTable& links, const GameStrings& strings,
                               InterfaceLanguage language, FolderStaging staging)
    : bank_(bank), links_(links), strings_(strings), language_(language), staging_(std::move(staging)) {}

FolderFileResult FolderImporter::import(const FolderWav& file, bool convert, bool dryRun) {
    if (!file.index) return skipped("its name does not start with a resource index (as in 3_Horn.wav)");
    const std::size_t index = *file.index;
    bank::SoundResource* resource = bank_.resourceAt(index);
    if (!resource) return skipped("the bank has no resource " + std::to_string(index));
    if (!ResourceEditSession::opensDialogFor(*resource))
        return skipped("resource " + std::to_string(index) +
                       " is not a sample with a file of its own (a CD track or an empty slot)");
    if (!taken_.insert(index).second)
        return skipped("another file of the folder already gave resource " + std::to_string(index) + " its sound");
    const std::string folder = staging_.folderFor ? staging_.folderFor(index) : std::string();
    if (folder.empty()) return refused("no folder can be made for its copy");
    const auto notTaken = [&](FolderFileResult result) {
        if (staging_.notTaken) staging_.notTaken(folder);
        return result;
    };
    HeadlessDialogView view;
    view.trackbar = 0;
    ResourceEditSession session(view, links_, strings_, language_);
    session.bind(*resource, bank_, nullptr);
    if (!session.initialise()) return notTaken(refused("the resource cannot be edited"));
    // The user's own file is compared, before any conversion.
    if (holdsPresentSound(session, file.path, folder)) {
        session.cancel();
        return notTaken({FolderImportOutcome::Unchanged, {}});
    }
    const std::string staged = platform::hostPathIn(folder, stagedName(*resource, file.name));
    if (auto problem = stage(file.path, staged, convert)) {
        session.cancel();
        return notTaken(refused(*problem));
    }
    const ImportResult imported = session.importWav(staged, true);
    session.reportImportResult(imported);
    if (imported != ImportResult::Taken) {
        session.cancel();
        return notTaken(refused(view.said("not imported"), imported == ImportResult::FormatNotSupported && !convert));
    }
    if (dryRun) {
        session.cancel();
        return notTaken({FolderImportOutcome::Replaced, {}});
    }
    if (!session.ok()) return notTaken(refused(view.said("not imported")));
    if (staging_.taken) staging_.taken(staged, file.path);
    return {FolderImportOutcome::Replaced, {}};
}

// True when the file's sound is the resource's present sample, byte for
// byte, as export writes it.
bool FolderImporter::holdsPresentSound(ResourceEditSession& session, const std::string& path,
                                       const std::string& folder) {
    const std::string present = platform::hostPathIn(folder, "present.wav");
    const bool exported = session.exportWav(present) == WavError::None;
    const auto ours = exported ? soundBytesOf(present, audio::maxWavDataLength) : std::nullopt;
    std::error_code ignored;
    std::filesystem::remove(present, ignored);
    const auto theirs = ours ? soundBytesOf(path, audio::maxWavDataLength) : std::nullopt;
    return ours && theirs && *ours == *theirs;
}

FolderImportReport importFolder(BankDocument& document, const std::string& hostFolder, const GameStrings& strings,
                                InterfaceLanguage language, const std::function<bool(std::size_t count)>& askToConvert) {
    FolderImportReport report;
    const auto files = wavFilesIn(hostFolder);
    if (!files) {
        report.folderRead = false;
        return report;
    }
    ConvertedCopies& copies = document.convertedCopies();
    FolderStaging staging;
    staging.folderFor = [&copies](std::size_t) {
        std::error_code error;
        const std::string base =
            copies.baseFolder().empty() ? std::filesystem::temp_directory_path(error).string() : copies.baseFolder();
        return base.empty() ? std::string() : makePrivateFolder(base);
    };
    staging.taken = [&copies](const std::string& staged, const std::string& original) { copies.keep(staged, original); };
    staging.notTaken = [](const std::string& folder) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    };

    // The whole folder is one change, undone as one.
    const bank::ChangeGroup group(document.bank());
    const std::string folderName(platform::lastComponent(hostFolder));
    document.history().nameStep({StepKind::FolderImport, folderName.empty() ? hostFolder : folderName});
    FolderImporter importer(document.bank(), document.links(), strings, language, std::move(staging));
    std::vector<FolderFileResult> results;
    std::vector<std::size_t> convertible;
    for (const FolderWav& file : *files) {
        results.push_back(importer.import(file, false, false));
        // Offered only for a WAV file the converter reads, as everywhere.
        audio::SampleFormat format;
        if (results.back().convertible && audio::readSampleFormat(file.path, format) == audio::ConvertResult::Ok)
            convertible.push_back(results.size() - 1);
    }
    if (!convertible.empty() && askToConvert && askToConvert(convertible.size())) {
        for (const std::size_t i : convertible) {
            importer.release(*(*files)[i].index);
            results[i] = importer.import((*files)[i], true, false);
        }
    }
    for (std::size_t i = 0; i < results.size(); ++i) {
        report.counts.add(results[i].outcome);
        if (results[i].outcome == FolderImportOutcome::Refused) report.refused.emplace_back((*files)[i].name, results[i].reason);
    }
    return report;
}

std::string folderImportMessage(const FolderImportReport& report, const std::string& folder,
                                InterfaceLanguage language) {
    if (!report.folderRead) return filledIn(newer_text::folderNotRead.in(language), {folder});
    std::string text = folderImportSummary(report.counts, language);
    if (report.refused.empty()) return text;
    text += "\n\n" + std::string(newer_text::refusedFiles.in(language));
    constexpr std::size_t listed = 20;
    for (std::size_t i = 0; i < report.refused.size() && i < listed; ++i)
        text += "\n" + report.refused[i].first + ": " + report.refused[i].second;
    if (report.refused.size() > listed)
        text += "\n" + filledIn(newer_text::moreProblems.in(language), {std::to_string(report.refused.size() - listed)});
    return text;
}

}  // namespace calyx::editor
