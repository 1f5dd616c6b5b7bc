#include "editor/core/folder_import.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "audio/riff_chunks.h"
#include "audio/wav_file.h"
#include "editor/core/newer_texts.h"
#include "platform/file.h"

namespace calyx::editor {
namespace {

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

std::optional<std::size_t> exportedIndexOf(std::string_view fileName) {
    if (!audio::hasWavExtension(fileName)) return std::nullopt;
    const std::string_view stem = fileName.substr(0, fileName.size() - audio::wavExtension.size());
    std::size_t digits = 0;
    while (digits < stem.size() && isDigit(stem[digits])) ++digits;
    // Nine digits at most: far more resources than a bank can hold, and no overflow.
    if (digits == 0 || digits > 9) return std::nullopt;
    if (digits < stem.size() && stem[digits] != '_') return std::nullopt;
    std::size_t index = 0;
    for (std::size_t i = 0; i < digits; ++i) index = index * 10 + static_cast<std::size_t>(stem[i] - '0');
    return index;
}

std::optional<std::vector<FolderWav>> wavFilesIn(const std::string& hostFolder) {
    std::error_code error;
    std::filesystem::directory_iterator entries(hostFolder, error);
    if (error) return std::nullopt;
    std::vector<FolderWav> files;
    for (const auto& entry : entries) {
        std::error_code kindError;
        if (!entry.is_regular_file(kindError)) continue;
        std::string name = entry.path().filename().string();
        if (!audio::hasWavExtension(name)) continue;
        const std::optional<std::size_t> index = exportedIndexOf(name);
        files.push_back(FolderWav{std::move(name), entry.path().string(), index});
    }
    std::sort(files.begin(), files.end(), [](const FolderWav& a, const FolderWav& b) {
        if (a.index.has_value() != b.index.has_value()) return a.index.has_value();
        if (a.index != b.index) return *a.index < *b.index;
        return a.name < b.name;
    });
    return files;
}

std::optional<std::vector<std::uint8_t>> soundBytesOf(const std::string& hostPath, std::size_t maxBytes) {
    platform::File file;
    if (!file.open(hostPath, platform::File::Mode::Read)) return std::nullopt;
    audio::RiffChunkWalker walker(file);
    const audio::RiffForm form = walker.readForm();
    if (!form.riff || !form.wave) return std::nullopt;
    audio::RiffChunk chunk;
    while (walker.next(chunk) == audio::RiffChunkWalker::Step::Chunk) {
        if (!chunk.is("data")) continue;
        if (!chunk.heldWhole() || chunk.claimedLength > maxBytes) return std::nullopt;
        std::vector<std::uint8_t> bytes(chunk.claimedLength);
        if (!bytes.empty() && !walker.readBody(chunk, bytes.data(), bytes.size())) return std::nullopt;
        return bytes;
    }
    return std::nullopt;
}

void FolderImportCounts::add(FolderImportOutcome outcome) {
    switch (outcome) {
    case FolderImportOutcome::Replaced: ++replaced; break;
    case FolderImportOutcome::Unchanged: ++unchanged; break;
    case FolderImportOutcome::Skipped: ++skipped; break;
    case FolderImportOutcome::Refused: ++refused; break;
    }
}

std::string folderImportSummary(const FolderImportCounts& counts, InterfaceLanguage language) {
    std::string text(newer_text::folderImportCounts.in(language));
    const std::size_t values[] = {counts.replaced, counts.unchanged, counts.skipped, counts.refused};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        const std::string mark = "%" + std::to_string(i + 1);
        if (const auto at = text.find(mark); at != std::string::npos) text.replace(at, mark.size(), std::to_string(values[i]));
    }
    return text;
}

std::string_view folderImportWord(FolderImportOutcome outcome, bool dryRun) {
    switch (outcome) {
    case FolderImportOutcome::Replaced: return dryRun ? "would replace" : "replaced";
    case FolderImportOutcome::Unchanged: return "unchanged";
    case FolderImportOutcome::Skipped: return "skipped";
    case FolderImportOutcome::Refused: return "refused";
    }
    return {};
}

}  // namespace calyx::editor
