#include "cli/export_all.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "audio/wav_file.h"
#include "audio/wav_header.h"
#include "editor/core/ui_text.h"
#include "platform/file.h"
#include "platform/path.h"

namespace calyx::cli {
namespace {

constexpr std::string_view wavExtension = ".wav";

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
bool writeNewWav(const std::string& path, const std::vector<std::uint8_t>& sample, bool& existed) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wbx"));
    if (!file) {
        existed = errno == EEXIST;
        return false;
    }
    const auto header = audio::canonicalWavHeader(audio::editorFormat, static_cast<std::uint32_t>(sample.size()));
    const bool written = std::fwrite(header.data(), 1, header.size(), file.get()) == header.size() &&
                         std::fwrite(sample.data(), 1, sample.size(), file.get()) == sample.size();
    if (std::fclose(file.release()) == 0 && written) return true;
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return false;
}

bool writeWav(const std::string& path, const std::vector<std::uint8_t>& sample) {
    if (sample.size() > audio::maxWavDataLength) return false;
    bool existed = false;
    if (writeNewWav(path, sample, existed)) return true;
    if (!existed) return false;
    // An earlier export (or any other file) is replaced safely.
    audio::WavFile file;
    audio::WaveFormat format = audio::editorFormat;
    return file.writeWav(path, format, static_cast<std::uint32_t>(sample.size()), sample.data()) ==
           audio::wav_result::ok;
}

}  // namespace

std::string exportFileName(std::size_t index, const bank::SoundResource& resource) {
    std::string label = resource.name();
    if (label.empty()) {
        label = resource.listFileName();
        if (platform::hasExtension(label, wavExtension)) label.resize(label.size() - wavExtension.size());
    }
    for (char& c : label)
        if (!isSafeFileNameCharacter(c)) c = '_';
    std::string name = std::to_string(index);
    if (!label.empty()) name += "_" + label;
    return name + std::string(wavExtension);
}

bool readResourceSample(bank::SoundBank& bank, bank::SoundResource& resource, std::vector<std::uint8_t>& sample,
                        std::string& problem) {
    const std::uint32_t flags = resource.linkFlags();
    std::string source;
    std::uint32_t dataStart = 0;
    if (resource.isStored() && !(flags & bank::sourceIsPlainFile)) {
        source = bank.bankPath().value_or(std::string());
        if (!resource.isExternal()) dataStart = bank.header()[7];
    } else {
        // A sample kept outside the bank: the file its record names.
        const unsigned char mark = resource.isExternal() ? bank::graveMark : bank::scriptMark;
        const std::string fileName = resource.listFileName();
        const auto found = fileName.empty() ? std::nullopt : bank.findInCandidates(fileName, mark, mark);
        if (!found) {
            problem = "its sample file \"" + editor::latin1ToUtf8(fileName) + "\" is not in the game folders";
            return false;
        }
        source = *found;
    }
    std::uint32_t length = 0;
    if (!resource.readSample(dataStart, source, sample, length, 0, resource.sourceOffset(), flags,
                             resource.isReplaced())) {
        problem = "its " + std::to_string(resource.dataSize()) + " bytes cannot be read from " +
                  editor::latin1ToUtf8(source);
        return false;
    }
    return true;
}

ExportAllReport exportAllSamples(bank::SoundBank& bank, const std::string& hostFolder,
                                 const std::function<void(const std::string&)>& written,
                                 const std::function<void(std::size_t, std::size_t)>& progress) {
    ExportAllReport report;
    std::size_t total = 0;
    for (std::size_t i = 0; i < bank.resourceCount(); ++i) total += hasSampleData(*bank.resourceAt(i));
    std::size_t done = 0;
    std::vector<std::uint8_t> sample;
    for (std::size_t i = 0; i < bank.resourceCount(); ++i) {
        auto& resource = *bank.resourceAt(i);
        if (!hasSampleData(resource)) continue;
        const std::string path = hostFolder + "/" + exportFileName(i, resource);
        std::string problem;
        if (!readResourceSample(bank, resource, sample, problem)) {
            report.problems.push_back("resource " + std::to_string(i) + ": " + problem);
        } else if (!writeWav(path, sample)) {
            report.problems.push_back("resource " + std::to_string(i) + ": " + path + " cannot be written");
        } else {
            ++report.exported;
            if (written) written(path);
        }
        if (progress) progress(++done, total);
    }
    return report;
}

}  // namespace calyx::cli
