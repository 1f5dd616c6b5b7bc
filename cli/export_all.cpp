#include "cli/export_all.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "audio/wav_file.h"
#include "audio/wav_header.h"
#include "editor/core/headless_dialog_view.h"
#include "editor/core/link_table.h"
#include "editor/core/resource_edit_session.h"
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
    return file.writeWav(path, format, length, sample.data()) ==
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

ExportAllReport exportAllSamples(bank::SoundBank& bank, const editor::GameStrings& strings,
                                 const std::string& hostFolder,
                                 const std::function<void(const std::string&)>& written,
                                 const std::function<void(std::size_t, std::size_t)>& progress) {
    ExportAllReport report;
    std::size_t total = 0;
    for (std::size_t i = 0; i < bank.resourceCount(); ++i) total += hasSampleData(*bank.resourceAt(i));
    std::size_t done = 0;
    // What the dialog would show goes nowhere; the caller reports the codes.
    editor::HeadlessDialogView view;
    editor::LinkTable links;
    for (std::size_t i = 0; i < bank.resourceCount(); ++i) {
        auto& resource = *bank.resourceAt(i);
        if (!hasSampleData(resource)) continue;
        // The edit dialog opened on the resource, as its export button reads it.
        editor::ResourceEditSession session(view, links, strings);
        session.bind(resource, bank, nullptr);
        session.initialise();
        audio::WavFile reader;
        audio::WaveFormat format;
        int error = session.loadPlayBuffer(reader, format);
        const auto& sample = session.state().playBuffer;
        if (error == editor::wav_error::none && !sample) error = editor::wav_error::noSampleData;
        const std::string path = hostFolder + "/" + exportFileName(i, resource);
        if (error == editor::wav_error::none && !writeWav(path, *sample, session.state().playLength))
            error = editor::wav_error::cannotWrite;
        if (error == editor::wav_error::none) {
            ++report.exported;
            if (written) written(path);
        } else {
            report.problems.push_back({i, error, error == editor::wav_error::cannotWrite ? path : std::string()});
        }
        if (progress) progress(++done, total);
    }
    return report;
}

}  // namespace calyx::cli
