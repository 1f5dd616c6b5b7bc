#include "editor/core/export_all.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "audio/wav_file.h"
#include "audio/wav_header.h"
#include "editor/core/current_sample.h"
#include "editor/core/messages.h"
#include "platform/path.h"

namespace calyx::editor {
namespace {


// What lies behind a problem, and the summary; "%1" and "%2" stand for the
// values.
namespace export_text {
constexpr TwoLanguageText cannotRead{"l'échantillon est illisible", "the sample cannot be read"};
constexpr TwoLanguageText namesNoFile{" (pas de données : elle ne nomme aucun fichier)",
                                      " (no sample data: it names no file)"};
constexpr TwoLanguageText fileNotFound{" (pas de données : son fichier \"%1\" n'est pas dans les dossiers du jeu)",
                                       " (no sample data: its file \"%1\" is not in the game folders)"};
constexpr TwoLanguageText bytesUnreadable{" (ses %1 octets ne peuvent être lus)", " (its %1 bytes cannot be read)"};
constexpr TwoLanguageText bankBytesUnreadable{"ses %1 octets dans la banque ne peuvent être lus",
                                              "its %1 bytes in the bank cannot be read"};
constexpr TwoLanguageText summary{"%1 échantillon(s) exporté(s) dans %2", "exported %1 samples to %2"};
}  // namespace export_text

bool isSafeFileNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool hasSampleData(const bank::SoundResource& resource) {
    return resource.isSample() && resource.currentSize() != 0;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// A file that does not exist yet needs no safe replacement: it is written
// directly, and removed again when the write fails. Names are ours and the
// folder is a host path already, so the file is created as named, without
// the platform layer's look-up of each name in the folder (which would cost
// a folder listing per file).
bool writeNewWav(const std::string& path, const std::uint8_t* sample, std::uint32_t length, bool& existed) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wbx"));
    if (!file) {
        existed = errno == EEXIST;
        return false;
    }
    // Two whole writes, header and samples, straight to the file.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    const auto header = audio::canonicalWavHeader(audio::editorFormat, length);
    const bool written = std::fwrite(header.data(), 1, header.size(), file.get()) == header.size() &&
                         std::fwrite(sample, 1, length, file.get()) == length;
    if (std::fclose(file.release()) == 0 && written) return true;
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return false;
}

bool writeWav(const std::string& path, const std::vector<std::uint8_t>& sample, std::uint32_t length) {
    if (length > sample.size() || length > audio::maxWavDataLength) return false;
    bool existed = false;
    if (writeNewWav(path, sample.data(), length, existed)) return true;
    if (!existed) return false;
    // An earlier export (or any other file) is replaced safely.
    audio::WavFile file;
    audio::WaveFormat format = audio::editorFormat;
    return file.writeWav(path, format, length, sample.data()) == audio::WavResult::Ok;
}

}  // namespace

std::string exportFileName(std::size_t index, const bank::SoundResource& resource) {
    std::string label = resource.name();
    if (label.empty()) {
        label = resource.listFileName();
        if (audio::hasWavExtension(label)) label.resize(label.size() - audio::wavExtension.size());
    }
    for (char& c : label)
        if (!isSafeFileNameCharacter(c)) c = '_';
    std::string name = std::to_string(index);
    if (!label.empty()) name += "_" + label;
    return name + std::string(audio::wavExtension);
}

ExportProblem exportSampleInto(bank::SoundBank& bank, std::size_t index, const std::string& hostFolder) {
    const bank::SoundResource* resource = bank.resourceAt(index);
    if (!resource || !hasSampleData(*resource)) return {index, WavError::NoSampleData, {}};
    // The sample as the edit dialog's export button reads it.
    std::optional<std::vector<std::uint8_t>> sample;
    WavError error = readCurrentSample(*resource, bank, sample);
    if (error == WavError::None && !sample) error = WavError::NoSampleData;
    const std::string path = platform::hostPathIn(hostFolder, exportFileName(index, *resource));
    if (error == WavError::None && !writeWav(path, *sample, static_cast<std::uint32_t>(sample->size())))
        error = WavError::CannotWrite;
    return {index, error, path};
}

ExportAllReport exportAllSamples(bank::SoundBank& bank,
                                 const std::string& hostFolder,
                                 const std::function<void(const std::string&)>& written,
                                 const std::function<void(std::size_t, std::size_t)>& progress) {
    ExportAllReport report;
    std::size_t total = 0;
    for (std::size_t i = 0; i < bank.resourceCount(); ++i) total += hasSampleData(*bank.resourceAt(i));
    std::size_t done = 0;
    for (std::size_t i = 0; i < bank.resourceCount(); ++i) {
        if (!hasSampleData(*bank.resourceAt(i))) continue;
        ExportProblem result = exportSampleInto(bank, i, hostFolder);
        if (result.wavError == WavError::None) {
            ++report.exported;
            if (written) written(result.path);
        } else {
            if (result.wavError != WavError::CannotWrite) result.path.clear();
            report.problems.push_back(std::move(result));
        }
        if (progress) progress(++done, total);
    }
    return report;
}

std::string exportProblemText(const bank::SoundResource& resource, const ExportProblem& problem,
                              const GameStrings& strings, InterfaceLanguage language) {
    const auto message = wavErrorText(problem.wavError, strings, language);
    std::string text =
        message && !message->empty() ? message->utf8() : std::string(export_text::cannotRead.in(language));
    switch (problem.wavError) {
    case WavError::NoSampleData: {
        const std::string file = latin1ToUtf8(resource.listFileName());
        return text + (file.empty() ? std::string(export_text::namesNoFile.in(language))
                                    : withArguments(export_text::fileNotFound.in(language), {file}));
    }
    case WavError::CannotWrite:
    case WavError::CannotOpen: return text + " (" + problem.path + ")";
    default:
        // The game's words for this speak of a WAV file: a sample the bank
        // holds is said to be unreadable in words of its own.
        if (resource.currentSource().kind != bank::SourceKind::Wav)
            return withArguments(export_text::bankBytesUnreadable.in(language), {std::to_string(resource.dataSize())});
        return text + withArguments(export_text::bytesUnreadable.in(language), {std::to_string(resource.dataSize())});
    }
}

std::string exportSummary(std::size_t exported, const std::string& folder, InterfaceLanguage language) {
    return withArguments(export_text::summary.in(language), {std::to_string(exported), folder});
}

}  // namespace calyx::editor
