// Writes the seed inputs of every fuzz target into corpus/<target>/ below the
// folder given (the source tree's fuzz/ folder): small files of each format
// in the shapes the game and the editor write them, built by the test
// fixtures. Run it again after a builder changes; crash inputs stay.
//
// calyx-fuzz-seeds <fuzz folder>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fixtures/bank_builder.h"
#include "fixtures/name_scripts.h"
#include "fixtures/strings_dat.h"
#include "fixtures/temp_dir.h"
#include "fixtures/wav_builder.h"
#include "fixtures/wine_registry_sample.h"

namespace {

using namespace calyx::fixtures;

class Seeds {
public:
    Seeds(std::filesystem::path root, const char* target) : folder_(std::move(root) / "corpus" / target) {
        std::filesystem::create_directories(folder_);
    }
    void add(const std::string& name, const Bytes& bytes) { writeBytes((folder_ / ("seed-" + name)).string(), bytes); }
    void add(const std::string& name, const std::string& text) { writeFile((folder_ / ("seed-" + name)).string(), text); }

private:
    std::filesystem::path folder_;
};

ResourceSpec sample(std::uint32_t id, std::size_t size) {
    ResourceSpec r;
    r.id = id;
    r.data = patternBytes(size, static_cast<std::uint8_t>(id));
    r.fileName = "res" + std::to_string(id) + ".wav";
    return r;
}

void bankSeeds(const std::filesystem::path& root) {
    Seeds seeds(root, "bank");
    BankSpec second;
    second.aux = {{}};
    second.aux[0].fill(0x21);
    ResourceSpec looping = sample(2, 24);
    looping.looping = true;
    looping.loopStart = 4;
    looping.loopEnd = 20;
    looping.padMode = 2;
    ResourceSpec external = sample(3, 12);
    external.external = true;
    ResourceSpec notStored = sample(4, 0);
    notStored.stored = 0;
    ResourceSpec other;
    other.kind = 0;
    second.resources = {sample(1, 16), looping, external, notStored, other};
    seeds.add("second-game.bnm", buildBank(second));

    BankSpec first;
    first.k7 = true;
    ResourceSpec firstExternal = sample(6, 0);
    firstExternal.external = true;
    firstExternal.stored = 0;
    first.resources = {sample(5, 10), firstExternal};
    seeds.add("first-game.bnm", buildBank(first));

    seeds.add("empty.bnm", buildBank(BankSpec{}));
}

void wavSeeds(const std::filesystem::path& root) {
    Seeds seeds(root, "wav");
    const Bytes samples = pcm16({0, 1000, -1000, 32767, -32768, 5});
    seeds.add("plain.wav", simpleWav(samples));
    seeds.add("chunks.wav", WavBuilder()
                                .chunk("LIST", {'I', 'N', 'F', 'O', 1})
                                .format({}, {0, 0})
                                .chunk("fact", {6, 0, 0, 0})
                                .data(samples)
                                .bytes());
    seeds.add("short-data.wav", WavBuilder().format().chunkClaiming("data", 4000, samples).bytes());
    seeds.add("no-data.wav", WavBuilder().format().bytes());
}

void wavConvertSeeds(const std::filesystem::path& root) {
    Seeds seeds(root, "wav_convert");
    const Bytes frames = patternBytes(96, 7);
    seeds.add("stereo-44100.wav", simpleWav(frames, {1, 2, 44100, 176400, 4, 16}));
    seeds.add("u8-11025.wav", simpleWav(patternBytes(40, 3), {1, 1, 11025, 11025, 1, 8}));
    seeds.add("s24-48000.wav", simpleWav(frames, {1, 1, 48000, 144000, 3, 24}));
    seeds.add("float-32000.wav", simpleWav(frames, {3, 2, 32000, 256000, 8, 32}));
    seeds.add("double-22050.wav", simpleWav(frames, {3, 1, 22050, 176400, 8, 64}));
    // A WAVE_FORMAT_EXTENSIBLE block: size 22, valid bits, channel mask, and
    // the sub-format GUID of integer PCM.
    Bytes extensible = {22, 0, 24, 0, 3, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0x10, 0,
                        0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    seeds.add("extensible.wav", WavBuilder()
                                    .format({0xFFFE, 2, 8000, 64000, 8, 32}, extensible)
                                    .data(frames)
                                    .bytes());
}

void scriptSeeds(const std::filesystem::path& root) {
    const std::vector<NameEntry> entries = {
        {12, "EngineLoop", "Engine idle loop"},
        {13, "Horn with spaces", ""},
        {0, "Zero", "first"},
        {9999999, "Last", "a \"quoted\" comment"},
        {12, "Again", "second entry of an id"},
    };
    Seeds(root, "k7_script").add("K7.csb", k7ScriptText(entries));
    Seeds(root, "companion").add("names.bns", companionText(entries));
}

void stringsDatSeeds(const std::filesystem::path& root) {
    Seeds seeds(root, "strings_dat");
    std::vector<StringsDatEntry> entries = {{2, "Nom"}, {3, "Volume"}, {37, "first"}, {40, "second"},
                                            {100, stringsDatEscape("two\r\nlines\tand \\")}};
    seeds.add("short.dat", stringsDatText(entries));
    seeds.add("full.dat", stringsDatText(stringsDatFiller(128), false));
    seeds.add("unended.dat", stringsDatText(stringsDatFiller(3), false));
}

void iniSeeds(const std::filesystem::path& root) {
    Seeds seeds(root, "ini");
    seeds.add("game.ini", std::string("TQ2\nDirectory\nGames\nK7\nDirectory\n") +
                              "; comment\r\n[K7]\r\nDirectory = \"C:\\K7\\\"  \r\n"
                              "[TQ2]\r\nLanguage=English\r\nCount=-12x\r\n");
    seeds.add("new-section.ini", std::string("Calyx\nWidth\n640\na\nb\n") + "\xEF\xBB\xBF[a]\nb=c\n[ c ]\nkey\n[a]\nb=again");
}

void registrySeeds(const std::filesystem::path& root) {
    Seeds seeds(root, "registry");
    seeds.add("wine.reg", "Software\\Test\n" + std::string(calyx::testing::wineSystemReg));
    seeds.add("new-key.reg", std::string("Software\\Calyx\\Paths\n") +
                                 "WINE REGISTRY Version 2\r\n;; All keys relative to REGISTRY\\\\Machine\r\n\r\n"
                                 "#arch=win64\r\n\r\n[Software\\\\Calyx] 1700000000\r\n#time=1d9f0b0c0d0e0f0\r\n"
                                 "\"Bin\"=hex:01,02,\\\r\n  03\r\n\r\n[Software\\\\Zeta] 1700000000\r\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: calyx-fuzz-seeds <fuzz folder>\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    bankSeeds(root);
    wavSeeds(root);
    wavConvertSeeds(root);
    scriptSeeds(root);
    stringsDatSeeds(root);
    iniSeeds(root);
    registrySeeds(root);
    return 0;
}
