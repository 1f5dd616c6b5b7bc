// What calyx-cli does, command by command, kept as a record in the
// repository: on a fresh copy of the demo installation, with the hostile WAV
// files and banks the other tests build, every command and option, refused
// inputs and usage errors run in one fixed order. For each the record holds
// the exit status, both outputs and every file made, changed or removed
// (size and checksum); at the end, every file left.
//
// The test fails on any difference and shows it as a diff. A change of bytes
// or texts made on purpose is recorded by running the test with
// CALYX_UPDATE_RECORD=1, which rewrites cli_record.txt beside this file:
//
//   CALYX_UPDATE_RECORD=1 ctest --preset default -R CliRecord
//
// and the change then shows in the commit's diff.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "batch_cli_runner.h"
#include "calyx_version.h"
#include "fixtures/bank_builder.h"
#include "fixtures/file_size_limit.h"
#include "fixtures/temp_dir.h"
#include "fixtures/wav_builder.h"

namespace calyx::cli {
namespace {

namespace fs = std::filesystem;
using fixtures::Bytes;
using fixtures::PcmFormat;
using fixtures::WavBuilder;
using fixtures::patternBytes;

constexpr const char* updateVariable = "CALYX_UPDATE_RECORD";
constexpr const char* recordFile = CALYX_CLI_RECORD;
// Paths below the test's temporary folder are written from this mark.
constexpr const char* tempMark = "<tmp>";

// FNV-1a, 64 bits: a stable checksum of a file's bytes.
std::uint64_t checksum(const std::string& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : bytes) hash = (hash ^ c) * 0x100000001b3ull;
    return hash;
}

std::string hex(std::uint64_t value) {
    std::ostringstream out;
    out << std::hex;
    out.width(16);
    out.fill('0');
    out << value;
    return out.str();
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// What a snapshot keeps of one file: its size, checksum and time, so that
// only files whose size or time changed are read again.
struct FileState {
    std::uintmax_t size = 0;
    fs::file_time_type modified;
    std::string text;  // "<size> <checksum>", "folder" or "-> <link target>"
};

// Every file, folder and symbolic link below `root`, by path relative to
// `root`; `previous` lends the checksums of files unchanged since.
std::map<std::string, FileState> snapshot(const std::string& root, const std::map<std::string, FileState>& previous) {
    std::map<std::string, FileState> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const std::string relative = it->path().lexically_relative(root).string();
        FileState state;
        if (it->is_symlink()) {
            state.text = "-> " + fs::read_symlink(it->path()).string();
        } else if (it->is_directory()) {
            files[relative + "/"].text = "folder";
            continue;
        } else if (it->is_regular_file()) {
            state.size = it->file_size();
            state.modified = it->last_write_time();
            const auto before = previous.find(relative);
            if (before != previous.end() && before->second.size == state.size &&
                before->second.modified == state.modified) {
                state.text = before->second.text;
            } else {
                const std::string bytes = fixtures::readFile(it->path().string());
                state.text = std::to_string(bytes.size()) + " " + hex(checksum(bytes));
            }
        }
        files[relative] = std::move(state);
    }
    return files;
}

class Recorder {
public:
    Recorder(std::string root, std::string workingDir) : root_(std::move(root)), workingDir_(std::move(workingDir)) {
        files_ = snapshot(root_, {});
    }

    void section(const std::string& title) { out_ << "\n## " << title << "\n"; }

    void cli(const std::vector<std::string>& arguments) {
        out_ << "$ calyx-cli";
        for (const auto& argument : arguments) out_ << ' ' << shown(argument);
        out_ << '\n';
        const auto run = testing::runCli(arguments, workingDir_);
        out_ << "exit " << run.exitCode << '\n';
        lines("1> ", run.out);
        lines("2> ", run.err);
        changes();
    }

    // Notes files the record's own set-up made or changed.
    void changes() {
        auto now = snapshot(root_, files_);
        for (const auto& [path, state] : now) {
            const auto before = files_.find(path);
            if (before == files_.end())
                out_ << "+ " << path << ' ' << state.text << '\n';
            else if (before->second.text != state.text)
                out_ << "~ " << path << ' ' << state.text << '\n';
        }
        for (const auto& [path, state] : files_)
            if (!now.count(path)) out_ << "- " << path << '\n';
        files_ = std::move(now);
    }

    std::string finish() {
        out_ << "\n## every file left\n";
        for (const auto& [path, state] : files_) out_ << path << ' ' << state.text << '\n';
        return out_.str();
    }

private:
    std::string shown(const std::string& argument) const {
        const std::string text = replaceAll(argument, root_, tempMark);
        if (!text.empty() && text.find_first_of(" '\"\\*") == std::string::npos) return text;
        return testing::shellQuoted(text);
    }

    void lines(const char* mark, const std::string& text) {
        // The version carries the commit built from: the record keeps the release.
        const std::string version = replaceAll(text, std::string("calyx-cli ") + CALYX_VERSION,
                                               std::string("calyx-cli ") + CALYX_RELEASE);
        std::istringstream in(replaceAll(version, root_, tempMark));
        std::string line;
        while (std::getline(in, line)) out_ << mark << line << '\n';
        if (!text.empty() && text.back() != '\n') out_ << mark << "(no newline at the end)\n";
    }

    std::string root_;
    std::string workingDir_;
    std::map<std::string, FileState> files_;
    std::ostringstream out_;
};

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

// The WAV files of the record: the editor's own format in several shapes,
// other formats the converter takes, and files that lie about themselves.
void writeWavFiles(const std::string& folder) {
    fixtures::makeDirs(folder);
    const Bytes samples = fixtures::pcm16({0, 1000, -1000, 32767, -32768, 5, 7, -7, 300, -300});
    auto put = [&](const std::string& name, const Bytes& bytes) { fixtures::writeBytes(folder + "/" + name, bytes); };
    put("plain.wav", fixtures::simpleWav(samples));
    put("UPPER.WAV", fixtures::simpleWav(fixtures::pcm16({1, 2, 3, 4})));
    put("chunks.wav",
        WavBuilder().chunk("LIST", {'I', 'N', 'F', 'O', 1}).format({}, {0, 0}).chunk("fact", {6, 0, 0, 0}).data(samples).bytes());
    put("odd-data.wav", WavBuilder().format().data(patternBytes(7, 3)).bytes());
    put("riff-too-long.wav", WavBuilder().format().data(samples).riffLength(1000).bytes());
    put("riff-too-short.wav", WavBuilder().chunk("LIST", {1, 2}).format().data(samples).riffLength(14).bytes());
    put("empty-data.wav", WavBuilder().format().data({}).bytes());
    put("rifx.wav", WavBuilder().riffId("RIFX").format().data(samples).bytes());
    put("avi.wav", WavBuilder().formId("AVI ").format().data(samples).bytes());
    put("short-format.wav", WavBuilder().chunkClaiming("fmt ", 14, Bytes(16, 1)).data(samples).bytes());
    put("no-data.wav", WavBuilder().format().chunk("fact", {1, 2, 3, 4}).bytes());
    put("data-claims-more.wav", WavBuilder().format().chunkClaiming("data", 1000000, samples).bytes());
    put("data-claims-4g.wav", WavBuilder().format().chunkClaiming("data", 0xFFFFFFF0, samples).bytes());
    put("list-claims-4g.wav", WavBuilder().chunkClaiming("LIST", 0xFFFFFFFF, {1, 2}).format().data(samples).bytes());
    put("format-claims-4g.wav", WavBuilder().chunkClaiming("fmt ", 0xFFFFFFFF, Bytes(16, 0)).bytes());
    put("fact-claims-2g.wav", WavBuilder().format().chunkClaiming("fact", 0x7FFFFFFF, {}).bytes());
    put("stereo-44100.wav", fixtures::simpleWav(patternBytes(96, 7), {1, 2, 44100, 176400, 4, 16}));
    put("u8-11025.wav", fixtures::simpleWav(patternBytes(40, 3), {1, 1, 11025, 11025, 1, 8}));
    put("s24-48000.wav", fixtures::simpleWav(patternBytes(96, 7), {1, 1, 48000, 144000, 3, 24}));
    put("float-32000.wav", fixtures::simpleWav(patternBytes(96, 7), {3, 2, 32000, 256000, 8, 32}));
    put("double-22050.wav", fixtures::simpleWav(patternBytes(96, 7), {3, 1, 22050, 176400, 8, 64}));
    put("nan-float.wav", fixtures::simpleWav(Bytes{0, 0, 0xC0, 0x7F, 0, 0, 0x80, 0x3F}, {3, 1, 22050, 88200, 4, 32}));
    put("adpcm.wav", fixtures::simpleWav(fixtures::pcm16({1, 2}), {2, 1, 22050, 44100, 2, 16}));
    const Bytes extensible = {22, 0, 24, 0, 3, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    put("extensible.wav", WavBuilder().format({0xFFFE, 2, 8000, 64000, 8, 32}, extensible).data(patternBytes(96, 7)).bytes());
    put("empty.wav", {});
    put("text.wav", bytesOf("this is not a sound\n"));
    Bytes headOnly = fixtures::simpleWav(samples);
    headOnly.resize(12);
    put("head-only.wav", headOnly);
    Bytes cut = fixtures::simpleWav(samples);
    cut.resize(cut.size() - 9);
    put("cut-in-data.wav", cut);
    put("plain.txt", fixtures::simpleWav(samples));
    put("no-extension", fixtures::simpleWav(samples));
    fixtures::makeDirs(folder + "/folder.wav");
}

// Banks beside the demo's: samples that pad to 8, share their bytes, have odd
// sizes or lie outside their file, and files that are no complete bank.
void writeBanks(const std::string& folder) {
    fixtures::makeDirs(folder);
    fixtures::BankSpec second;
    auto eight = fixtures::sample(1, patternBytes(10, 1), "EIGHT.WAV");
    eight.padMode = 2;
    auto odd = fixtures::sample(2, patternBytes(7, 2), "ODD.WAV");
    auto same = fixtures::sample(3, patternBytes(16, 3), "SAME.WAV");
    auto sameAgain = fixtures::sample(4, {}, "SAME.WAV");
    sameAgain.dataOffset = 17;  // the bytes of `same`, after EIGHT and ODD
    sameAgain.dataSize = 16;
    auto external = fixtures::sample(5, patternBytes(12, 5), "OUT.WAV", true);
    auto unstored = fixtures::sample(6, {}, "GONE.WAV");
    unstored.stored = 0;
    // Two records of one sample that differ only in their padding.
    auto twin = fixtures::sample(12, patternBytes(12, 12), "TWIN.WAV");
    auto twinEight = fixtures::sample(13, {}, "TWIN.WAV");
    twinEight.padMode = 2;
    twinEight.dataOffset = 33;
    twinEight.dataSize = 12;
    second.resources = {eight, odd, same, sameAgain, external, unstored, twin, twinEight};
    const Bytes secondBytes = fixtures::buildBank(second);
    fixtures::writeBytes(folder + "/extra.bnm", secondBytes);
    fixtures::writeFile(folder + "/extra.bns",
                        "[HEADER]\nRes = 2\n[RES 0]\nId = 1\nName = Eight\nComment = pads to eight\n"
                        "[RES 1]\nId = 3\nName = Same\nComment = one copy\n");

    fixtures::BankSpec first;
    first.k7 = true;
    auto plain = fixtures::sample(7, {}, "PLAIN.WAV", true);
    plain.stored = 0;
    first.resources = {fixtures::sample(8, patternBytes(6, 8), "K7A.WAV"), plain};
    fixtures::writeBytes(folder + "/k7extra.bnm", fixtures::buildBank(first));
    fixtures::writeBytes(folder + "/PLAIN.WAV", patternBytes(30, 9));

    auto beyond = fixtures::sample(9, patternBytes(8, 9), "FAR.WAV");
    beyond.dataSize = 100000;
    fixtures::BankSpec lying;
    lying.resources = {beyond};
    fixtures::writeBytes(folder + "/beyond.bnm", fixtures::buildBank(lying));
    auto overlapA = fixtures::sample(10, patternBytes(16, 1), "A.WAV");
    auto overlapB = fixtures::sample(11, patternBytes(16, 2), "B.WAV");
    overlapB.dataOffset = 8;
    fixtures::BankSpec overlapping;
    overlapping.resources = {overlapA, overlapB};
    fixtures::writeBytes(folder + "/overlap.bnm", fixtures::buildBank(overlapping));

    Bytes truncated = secondBytes;
    truncated.resize(60);
    fixtures::writeBytes(folder + "/truncated.bnm", truncated);
    Bytes cutData = secondBytes;
    cutData.resize(cutData.size() - 20);
    fixtures::writeBytes(folder + "/cut-data.bnm", cutData);
    Bytes counts = secondBytes;
    counts[16] = 0xFF;  // the resource count: more records than the file holds
    counts[17] = 0xFF;
    fixtures::writeBytes(folder + "/counts.bnm", counts);
    fixtures::writeBytes(folder + "/empty.bnm", {});
    fixtures::writeFile(folder + "/text.bnm", "not a bank at all\n");
    fixtures::writeBytes(folder + "/.bnm", secondBytes);
    fixtures::writeBytes(folder + "/bank.dat", secondBytes);
    fixtures::makeDirs(folder + "/folder.bnm");
}

const std::vector<std::string> wavNames = {
    "plain.wav", "UPPER.WAV", "chunks.wav", "odd-data.wav", "riff-too-long.wav", "riff-too-short.wav",
    "empty-data.wav", "rifx.wav", "avi.wav", "short-format.wav", "no-data.wav", "data-claims-more.wav",
    "data-claims-4g.wav", "list-claims-4g.wav", "format-claims-4g.wav", "fact-claims-2g.wav", "stereo-44100.wav",
    "u8-11025.wav", "s24-48000.wav", "float-32000.wav", "double-22050.wav", "nan-float.wav", "adpcm.wav",
    "extensible.wav", "empty.wav", "text.wav", "head-only.wav", "cut-in-data.wav", "plain.txt", "no-extension",
    "folder.wav", "missing.wav"};

const std::vector<std::string> commandNames = {"info", "list", "check", "resave", "export", "import", "volume",
                                               "copy", "play", "where", "export-all", "convert", "help"};

void usageAndHelp(Recorder& r) {
    r.section("usage and help");
    r.cli({});
    r.cli({"--help"});
    r.cli({"--version"});
    r.cli({"help"});
    for (const auto& command : commandNames) r.cli({"help", command});
    r.cli({"help", "nosuch"});
    r.cli({"nosuch"});
    r.cli({"list"});
    r.cli({"list", "a.bnm", "b.bnm"});
    r.cli({"export", "bank.bnm"});
    r.cli({"export", "bank.bnm", "two", "out.wav"});
    r.cli({"volume", "bank.bnm", "2", "200"});
    r.cli({"volume", "bank.bnm", "2", "loud"});
    r.cli({"list", "--json", "--csv", "bank.bnm"});
    r.cli({"info", "--nosuch", "bank.bnm"});
    r.cli({"export", "", "2", "out.wav"});
    r.cli({"export", "bank.bnm", "2", "  "});
    r.cli({"convert", "../wavs/plain.wav", "out.raw"});
}

void lookingAtBanks(Recorder& r) {
    r.section("where");
    r.cli({"where"});
    r.cli({"where", "--json"});
    r.cli({"--tq2-dir", "C:\\Jeux\\Ailleurs", "--k7-language", "French", "where"});
    r.cli({"--k7-dir", "../banks", "--tq2-dir", "Q:\\nowhere", "--tq2-language", "Klingon", "where", "--json"});

    r.section("info, list, check");
    for (const std::string bank : {"bank.bnm", "k7.bnm", "../banks/extra.bnm", "../banks/k7extra.bnm"}) {
        r.cli({"info", bank});
        r.cli({"info", "--json", bank});
        r.cli({"list", bank});
        r.cli({"list", "--json", bank});
        r.cli({"list", "--csv", bank});
        r.cli({"check", bank});
    }
    r.cli({"list", "C:\\JEUX\\vlm2\\datab\\resson\\vlm2snd.BNM"});
    r.cli({"--tq2-dir", "../banks", "list", "bank.bnm"});
    // The program's options in their joined form, an unknown one before the
    // command, and a further command's name after it.
    r.cli({"--tq2-dir=../banks", "--k7-language=French", "import-all", "bank.bnm"});
    r.cli({"--quiet", "list", "bank.bnm"});
    r.cli({"list", "bank.bnm", "import-all"});
    for (const std::string bank : {"../banks/beyond.bnm", "../banks/overlap.bnm", "../banks/truncated.bnm",
                                   "../banks/cut-data.bnm", "../banks/counts.bnm", "../banks/empty.bnm",
                                   "../banks/text.bnm", "../banks/.bnm", "../banks/bank.dat",
                                   "../banks/folder.bnm", "../banks/missing.bnm", "Q:\\bank.bnm"}) {
        r.cli({"info", bank});
        r.cli({"check", bank});
    }
    r.cli({"list", "../banks/cut-data.bnm"});
}

void exporting(Recorder& r) {
    r.section("export");
    for (int index = 0; index < 9; ++index) r.cli({"export", "bank.bnm", std::to_string(index), "out/" + std::to_string(index) + ".wav"});
    r.cli({"export", "bank.bnm", "-1", "out/x.wav"});
    r.cli({"export", "bank.bnm", "99", "out/x.wav"});
    for (int index = 0; index < 6; ++index) r.cli({"export", "k7.bnm", std::to_string(index), "out/k7-" + std::to_string(index) + ".wav"});
    for (int index = 0; index < 8; ++index)
        r.cli({"export", "../banks/extra.bnm", std::to_string(index), "out/extra-" + std::to_string(index) + ".wav"});
    r.cli({"export", "../banks/k7extra.bnm", "1", "out/plain.wav"});
    r.cli({"export", "../banks/beyond.bnm", "0", "out/beyond.wav"});
    r.cli({"export", "../banks/cut-data.bnm", "4", "out/cut.wav"});
    r.cli({"export", "bank.bnm", "2", "bank.bnm"});
    r.cli({"export", "bank.bnm", "2", "BANK.BNM", "--force"});
    r.cli({"export", "bank.bnm", "2", "bank.bns"});
    r.cli({"export", "bank.bnm", "2", "notes.txt", "--force"});
    r.cli({"export", "bank.bnm", "2", "no/such/folder/x.wav"});
    r.cli({"export", "bank.bnm", "2", "out/2.wav"});

    r.section("export-all");
    r.cli({"export-all", "bank.bnm", "all"});
    r.cli({"export-all", "k7.bnm", "C:\\Jeux\\K7\\Samples"});
    r.cli({"export-all", "../banks/extra.bnm", "extra-all"});
    r.cli({"export-all", "../banks/cut-data.bnm", "cut-all"});
    r.cli({"export-all", "bank.bnm", "notes.txt/inside"});
}

void importing(Recorder& r) {
    r.section("import");
    for (const auto& wav : wavNames) r.cli({"import", "bank.bnm", "2", "../wavs/" + wav, "-o", "imported.bnm"});
    r.section("import --convert");
    for (const auto& wav : wavNames) r.cli({"import", "--convert", "bank.bnm", "3", "../wavs/" + wav, "-o", "converted.bnm"});
    r.section("import into other resources and banks");
    r.cli({"import", "bank.bnm", "4", "../wavs/plain.wav", "-o", "cd.bnm"});
    r.cli({"import", "bank.bnm", "5", "../wavs/plain.wav", "-o", "slot.bnm"});
    r.cli({"import", "bank.bnm", "8", "../wavs/chunks.wav", "-o", "external.bnm"});
    r.cli({"check", "external.bnm"});
    r.cli({"list", "external.bnm"});
    r.cli({"import", "k7.bnm", "1", "../wavs/odd-data.wav"});
    r.cli({"check", "k7.bnm"});
    r.cli({"import", "../banks/k7extra.bnm", "1", "../wavs/plain.wav", "-o", "k7extra-imported.bnm"});
    r.cli({"import", "../banks/extra.bnm", "0", "../wavs/odd-data.wav", "-o", "extra-imported.bnm"});
    r.cli({"list", "--csv", "extra-imported.bnm"});
    r.cli({"import", "bank.bnm", "2", "C:\\Jeux\\..\\..\\wavs\\plain.wav", "-o", "drive.bnm"});
    r.cli({"import", "imported.bnm", "1", "../wavs/UPPER.WAV"});
    r.cli({"export", "imported.bnm", "1", "out/upper-back.wav"});
}

void editing(Recorder& r) {
    r.section("volume");
    r.cli({"volume", "bank.bnm", "2", "0", "-o", "quiet.bnm"});
    r.cli({"volume", "bank.bnm", "2", "127"});
    r.cli({"volume", "bank.bnm", "4", "50", "-o", "cd-volume.bnm"});
    r.cli({"volume", "bank.bnm", "5", "50", "-o", "slot-volume.bnm"});
    r.cli({"volume", "k7.bnm", "0", "1"});
    r.cli({"volume", "bank.bnm", "9", "1"});
    for (const std::string out : {"", "  ", "noext", "bank.bns", "other.bnm.wav", ".bnm", "LOUD.BNM", "sub/x.bnm"})
        r.cli({"volume", "bank.bnm", "1", "5", "-o", out});

    r.section("copy");
    r.cli({"copy", "bank.bnm", "1", "bank.bnm", "2", "-o", "copy-same.bnm"});
    r.cli({"copy", "bank.bnm", "2", "bank.bnm", "2"});
    r.cli({"copy", "k7.bnm", "2", "bank.bnm", "1", "-o", "copy-k7.bnm"});
    r.cli({"copy", "bank.bnm", "2", "k7.bnm", "3", "-o", "copy-into-k7.bnm"});
    r.cli({"copy", "bank.bnm", "4", "bank.bnm", "2"});
    r.cli({"copy", "bank.bnm", "2", "bank.bnm", "4"});
    r.cli({"copy", "bank.bnm", "8", "bank.bnm", "0", "-o", "copy-external.bnm"});
    r.cli({"copy", "bank.bnm", "0", "bank.bnm", "8", "-o", "copy-into-external.bnm"});
    r.cli({"check", "copy-into-external.bnm"});
    r.cli({"copy", "../banks/k7extra.bnm", "1", "bank.bnm", "2", "-o", "copy-plain.bnm"});
    r.cli({"copy", "../banks/extra.bnm", "0", "bank.bnm", "2", "-o", "copy-eight.bnm"});
    r.cli({"copy", "../banks/cut-data.bnm", "4", "bank.bnm", "2", "-o", "copy-cut.bnm"});
    r.cli({"copy", "../banks/missing.bnm", "1", "bank.bnm", "2"});
    r.cli({"copy", "bank.bnm", "1", "bank.bnm", "99"});
    r.cli({"copy", "copy-k7.bnm", "1", "copy-same.bnm", "3", "-o", "copy-of-copy.bnm"});
    r.cli({"export", "copy-of-copy.bnm", "3", "out/copy-of-copy.wav"});

    r.section("resave");
    r.cli({"resave", "bank.bnm", "-o", "resaved.bnm"});
    r.cli({"resave", "resaved.bnm"});
    r.cli({"resave", "k7.bnm", "-o", "k7-resaved.bnm"});
    r.cli({"resave", "../banks/extra.bnm", "-o", "extra-resaved.bnm"});
    r.cli({"resave", "extra-resaved.bnm"});
    r.cli({"list", "--json", "extra-resaved.bnm"});
    r.cli({"resave", "../banks/beyond.bnm", "-o", "beyond-resaved.bnm"});
    r.cli({"resave", "../banks/overlap.bnm", "-o", "overlap-resaved.bnm"});
    r.cli({"check", "overlap-resaved.bnm"});
    r.cli({"resave", "../banks/cut-data.bnm", "-o", "cut-resaved.bnm"});
    r.cli({"resave", "bank.bnm", "-o", "no/such/folder/x.bnm"});
    r.cli({"resave", "bank.bnm", "-o", "notes.txt/x.bnm"});
    r.cli({"resave", "bank.bnm", "-o", "all"});
    r.cli({"resave", "bank.bnm", "-o", "folder-in-the-way.bnm"});
    r.cli({"resave", "../banks/text.bnm", "-o", "text-resaved.bnm"});
    {
        // A disk that fills up: no write beyond 4 KiB succeeds.
        fixtures::FileSizeLimit full(4096);
        r.cli({"resave", "bank.bnm", "-o", "full.bnm"});
        r.cli({"volume", "bank.bnm", "2", "3"});
        r.cli({"convert", "../wavs/stereo-44100.wav", "out/full.wav"});
    }
}

void convertingAndPlaying(Recorder& r) {
    r.section("convert");
    for (const auto& wav : wavNames) r.cli({"convert", "../wavs/" + wav, "out/converted-" + wav + ".wav"});
    r.cli({"convert", "../wavs/stereo-44100.wav", "no/such/folder/x.wav"});
    r.cli({"convert", "../wavs/stereo-44100.wav", "OUT/UPPER.WAV"});

    r.section("play");
    r.cli({"play", "bank.bnm", "2"});
    r.cli({"play", "bank.bnm", "4"});
    r.cli({"play", "bank.bnm", "99"});
    r.cli({"play", "../banks/missing.bnm", "0"});
    fixtures::ScopedEnv dummy("SDL_AUDIODRIVER", "dummy");
    r.cli({"play", "k7.bnm", "3"});
    r.cli({"play", "../banks/beyond.bnm", "0"});
}

std::string makeRecord() {
    fixtures::TempDir dir;
    const std::string root = dir.path();
    const std::string prefix = dir / "prefix";
    fixtures::ScopedEnv winePrefix("WINEPREFIX", prefix);
    fixtures::ScopedEnv temporary("TMPDIR", dir / "system-temp");
    // No sound device unless a command says otherwise.
    fixtures::ScopedEnv driver("SDL_AUDIODRIVER", "none-such");
    fixtures::makeDirs(dir / "system-temp");
    const auto made = testing::runProgram("calyx-make-demo", {prefix});
    EXPECT_EQ(made.exitCode, 0) << made.err;
    // The user's own folder: copies of the demo's banks, a text file, a
    // folder in the way of a bank's name.
    const std::string work = dir / "work";
    fixtures::makeDirs(work + "/out");
    fixtures::makeDirs(work + "/folder-in-the-way.bnm");
    const std::string secondGame = prefix + "/drive_c/Jeux/VLM2/Datab/Resson/";
    fs::copy_file(secondGame + "VLM2Snd.bnm", work + "/bank.bnm");
    fs::copy_file(secondGame + "VLM2Snd.bns", work + "/bank.bns");
    fs::copy_file(prefix + "/drive_c/Jeux/K7/K7datab/Resson/K7Snd.bnm", work + "/k7.bnm");
    fixtures::writeFile(work + "/notes.txt", "my notes\n");
    writeWavFiles(dir / "wavs");
    writeBanks(dir / "banks");

    Recorder recorder(root, work);
    usageAndHelp(recorder);
    lookingAtBanks(recorder);
    exporting(recorder);
    importing(recorder);
    editing(recorder);
    convertingAndPlaying(recorder);
    return recorder.finish();
}

TEST(CliRecord, EveryCommandDoesWhatTheRecordSays) {
    CALYX_SKIP_FOR_WINDOWS_PROGRAMS("the record holds the Linux program's host paths; "
                                    "tests/windows/same-results compares the two programs");
    const std::string actual = makeRecord();
    if (std::getenv(updateVariable)) {
        fixtures::writeFile(recordFile, actual);
        GTEST_SKIP() << "record rewritten: " << recordFile;
    }
    const std::string expected = fs::exists(recordFile) ? fixtures::readFile(recordFile) : std::string();
    if (actual == expected) return;
    const std::string actualFile = fs::absolute("cli_record.actual.txt").string();
    fixtures::writeFile(actualFile, actual);
    const auto diff = testing::runProgram("/usr/bin/diff", {"-u", recordFile, actualFile});
    ADD_FAILURE() << "calyx-cli no longer does what " << recordFile << " records (the whole run is in "
                  << actualFile << "; " << updateVariable << "=1 records a change made on purpose):\n"
                  << diff.out.substr(0, 20000);
}

}  // namespace
}  // namespace calyx::cli
