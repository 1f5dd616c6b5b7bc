// calyx-make-demo: writes a complete demo installation of both games into a
// Wine-like prefix, so that the programs can be tried without the game.
//
// The prefix holds the drive links, the maker's INI file naming both games,
// a registry with the maker's key, a game tree with one sound bank of each
// flavour, their name scripts and an English strings.dat, and an update
// folder for the patcher. Every sound is synthesised here; the update's files
// are placeholders, except its texts and name files, which the game reads.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "fixtures/bank_builder.h"
#include "fixtures/name_scripts.h"
#include "fixtures/strings_dat.h"
#include "fixtures/temp_dir.h"
#include "fixtures/update_folder.h"
#include "fixtures/wav_builder.h"

namespace {

namespace fs = std::filesystem;
using calyx::fixtures::BankSpec;
using calyx::fixtures::NameEntry;
using calyx::fixtures::ResourceSpec;
using calyx::fixtures::StringsDatEntry;

#ifdef CALYX_DEMO_PREFIX
constexpr const char* defaultPrefix = CALYX_DEMO_PREFIX;
#else
constexpr const char* defaultPrefix = "demo/prefix";
#endif

constexpr double sampleRate = 22050.0;
constexpr double pi = 3.14159265358979323846;

// Where the INI file says the games are, and the folders below them.
constexpr const char* iniText =
    "[TQ2]\r\nDirectory=C:\\Jeux\\VLM2\\\r\nLanguage=English\r\n"
    "[K7TQ]\r\nDirectory=C:\\Jeux\\K7\\\r\nLanguage=English\r\n";
constexpr const char* secondGameSoundFolder = "drive_c/Jeux/VLM2/Datab/Resson";
constexpr const char* firstGameSoundFolder = "drive_c/Jeux/K7/K7datab/Resson";
constexpr const char* secondGameBank = "VLM2Snd.bnm";
constexpr const char* secondGameCompanion = "VLM2Snd.bns";
constexpr const char* firstGameBank = "K7Snd.bnm";
constexpr const char* secondGameDirectory = "drive_c/Jeux/VLM2";
constexpr const char* secondGameLanguage = "English";
constexpr const char* secondGameProgram = "vlm_v.exe";
// The patcher's update folder, C:\VLM2-106.
constexpr const char* updateFolder = "drive_c/VLM2-106";
// Wine's registry of a 64-bit prefix, as wine64 wants it, with the maker's
// key in the 32-bit programs' view (Software\Wow6432Node), under which the
// patcher writes the game's entry; and the user's, empty. Wine fills in the
// rest the first time it runs in the prefix.
constexpr const char* registryText =
    "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
    "[Software\\\\Wow6432Node\\\\Ornwick] 1796767410\n#time=1dd875ff5ddeeae\n\n";
constexpr const char* userRegistryText =
    "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n\n";

using Samples = std::vector<double>;

std::vector<std::uint8_t> toPcm16(const Samples& samples) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(samples.size() * 2);
    for (double s : samples) {
        const double clamped = std::fmax(-1.0, std::fmin(1.0, s));
        const auto value = static_cast<std::int16_t>(std::lround(clamped * 32767.0));
        const auto bits = static_cast<std::uint16_t>(value);
        calyx::fixtures::appendU16(bytes, bits);
    }
    return bytes;
}

std::size_t frames(double seconds) { return static_cast<std::size_t>(seconds * sampleRate); }

// A low engine note: a few harmonics of `hertz` with a slow throb. A whole
// number of throbs and cycles fills the sound, so it loops without a click.
Samples engine(double hertz, double seconds) {
    Samples out(frames(seconds));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = i / sampleRate;
        double v = 0;
        for (int h = 1; h <= 6; ++h) v += std::sin(2 * pi * hertz * h * t) / h;
        const double throb = 0.75 + 0.25 * std::sin(2 * pi * 4.0 * t);
        out[i] = 0.35 * v * throb;
    }
    return out;
}

double envelope(double t, double seconds, double attack, double release) {
    if (t < attack) return t / attack;
    if (t > seconds - release) return std::fmax(0.0, (seconds - t) / release);
    return 1.0;
}

// Two square-ish tones a third apart, as a car horn.
Samples horn(double seconds) {
    Samples out(frames(seconds));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = i / sampleRate;
        const double a = std::tanh(4 * std::sin(2 * pi * 370 * t));
        const double b = std::tanh(4 * std::sin(2 * pi * 466 * t));
        out[i] = 0.3 * (a + b) * envelope(t, seconds, 0.02, 0.05);
    }
    return out;
}

// A wavering high whistle over noise, as a tyre losing grip.
Samples squeal(double seconds) {
    Samples out(frames(seconds));
    std::uint32_t noise = 12345;
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = i / sampleRate;
        noise = noise * 1664525u + 1013904223u;
        const double white = (noise >> 8) / 8388608.0 - 1.0;
        phase += 2 * pi * (2300 + 250 * std::sin(2 * pi * 7 * t)) / sampleRate;
        out[i] = (0.5 * std::sin(phase) + 0.15 * white) * envelope(t, seconds, 0.05, 0.2);
    }
    return out;
}

Samples beep(double hertz, double seconds) {
    Samples out(frames(seconds));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = i / sampleRate;
        out[i] = 0.5 * std::sin(2 * pi * hertz * t) * envelope(t, seconds, 0.005, 0.01);
    }
    return out;
}

// Filtered noise, as a distant crowd.
Samples crowd(double seconds) {
    Samples out(frames(seconds));
    std::uint32_t noise = 777;
    double low = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        noise = noise * 1664525u + 1013904223u;
        low += 0.05 * (((noise >> 8) / 8388608.0 - 1.0) - low);
        out[i] = 2.0 * low;
    }
    return out;
}

ResourceSpec sample(std::uint32_t id, const Samples& sound, const std::string& fileName, std::uint8_t volume,
                    bool looping = false) {
    ResourceSpec r;
    r.id = id;
    r.data = toPcm16(sound);
    r.volume = volume;
    r.fileName = fileName;
    r.looping = looping;
    if (looping) {
        r.loopStart = 0;
        r.loopEnd = static_cast<std::uint32_t>(r.data.size());
    }
    return r;
}

ResourceSpec cdTrack(std::uint32_t id) {
    ResourceSpec r;
    r.id = id;
    r.kind = 3;
    r.stored = 0;
    r.volume = 127;
    return r;
}

ResourceSpec emptySlot(std::uint32_t id) {
    ResourceSpec r;
    r.id = id;
    r.kind = 0;
    r.stored = 0;
    r.volume = 0;
    return r;
}

struct DemoBank {
    BankSpec spec;
    std::vector<NameEntry> names;
};

DemoBank secondGameDemo() {
    DemoBank bank;
    auto& r = bank.spec.resources;
    r.push_back(sample(200, engine(55, 1.0), "ENGIDLE.WAV", 100, true));
    r.push_back(sample(201, engine(110, 1.0), "ENGHIGH.WAV", 110, true));
    r.push_back(sample(202, horn(0.6), "HORN.WAV", 120));
    r.push_back(sample(203, squeal(0.8), "SQUEAL.WAV", 90));
    r.push_back(cdTrack(204));
    r.push_back(emptySlot(205));
    r.push_back(sample(206, beep(880, 0.12), "BEEP1.WAV", 80));
    r.push_back(sample(207, beep(440, 0.3), "COUNTDN.WAV", 100));
    ResourceSpec ambience = sample(208, crowd(1.5), "CROWD.WAV", 70, true);
    ambience.external = true;  // kept in the bank's external area
    r.push_back(ambience);
    bank.names = {
        {200, "EngineIdle", "Engine at idle, looped"},
        {201, "EngineHigh", "Engine at high revs, looped"},
        {202, "Horn", "Car horn"},
        {203, "TyreSqueal", "Tyres losing grip in a bend"},
        {204, "RaceMusic", "Music of the race, from CD track 2"},
        {205, "Unused", "Free slot"},
        {206, "MenuBeep", "Menu selection"},
        {207, "Countdown", "Start countdown beep"},
        {208, "Crowd", "Crowd by the track, looped (external area)"},
    };
    return bank;
}

DemoBank firstGameDemo() {
    DemoBank bank;
    bank.spec.k7 = true;
    auto& r = bank.spec.resources;
    r.push_back(sample(1, engine(65, 1.0), "K7ENGINE.WAV", 100, true));
    r.push_back(sample(2, horn(0.4), "K7HORN.WAV", 120));
    r.push_back(sample(3, squeal(0.5), "K7SKID.WAV", 90));
    r.push_back(sample(4, beep(660, 0.1), "K7BEEP.WAV", 80));
    r.push_back(cdTrack(5));
    bank.names = {
        {1, "Engine", "Engine, looped"},
        {2, "Horn", "Horn"},
        {3, "Skid", "Skid on tarmac"},
        {4, "Beep", "Menu beep"},
        {5, "Music", "Music from CD track 2"},
    };
    return bank;
}

// The game's texts in English, in our own words: list titles, messages,
// menus and prompts ("status line\ntooltip"), buttons.
std::vector<StringsDatEntry> englishStrings() {
    return {
        {2, "Name"}, {3, "Volume"}, {4, "File"}, {5, "Description"},
        {20, "Sound "}, {21, "Volume"}, {22, "Looping sound"}, {23, "Size: "}, {24, " bytes"},
        {25, " (0 to 127)"}, {26, "Sample file"}, {27, "OK"}, {28, "Cancel"}, {29, "Browse..."},
        {30, "Play current"}, {31, "Play a file"}, {32, "Replace the sound of"}, {33, "Export WAV"},
        {34, "WAV files (*.wav)|*.WAV||"}, {35, "Export the WAV file"}, {36, "Open a sound file to play"},
        {37, "What this sound is used for in the game."},
        {41, "The WAV file that replaces this sound (22050 Hz, mono, 16-bit)."},
        {42, "The game plays this sound over and over."}, {43, "Size of the sound's data."},
        {44, "Back to the sound stored in the bank."}, {45, "Keep the changes."}, {46, "Forget the changes."},
        {47, "Choose a WAV file."}, {48, "Play the current sound."}, {49, "Play a WAV file."},
        {50, "Only .wav files can be used"}, {51, "Only .wav files can be dropped here"},
        {52, "Out of memory"}, {53, "The file does not exist"}, {54, "Internal error"},
        {55, "Volume"}, {56, "Type a volume from 0 to 127."}, {57, "Drag to set the volume."},
        {58, "The sound is too large or has no data"},
        {59, "Unsupported WAV format (must be 22 kHz mono 16-bit)"}, {60, "Error reading the WAV file"},
        {61, "Error opening the WAV file"}, {62, "Error writing the WAV file"},
        {70, "&File"}, {71, "&New"}, {72, "&Open...\\tCtrl+O"}, {73, "Print Set&up..."}, {74, "E&xit"},
        {75, "&Close"}, {76, "&Save\\tCtrl+S"}, {77, "Save &As..."}, {78, "&Print...\\tCtrl+P"},
        {79, "Print Pre&view"}, {80, "&Edit"}, {81, "&Undo\\tCtrl+Z"}, {82, "Cu&t\\tCtrl+X"},
        {83, "&Copy\\tCtrl+C"}, {84, "&Paste\\tCtrl+V"}, {85, "&View"}, {86, "&Toolbar"},
        {87, "&Status Bar"}, {88, "&Window"}, {89, "&Cascade"}, {90, "&Tile"}, {91, "&Arrange Icons"},
        {92, "&Help"}, {93, "&Help Topics"}, {94, "&About Calyx..."}, {95, "&Delete"},
        {96, "Select &All"}, {97, "About "}, {98, "Author:"},
        {100, "Create a new bank\\nNew"}, {101, "Open a sound bank\\nOpen"},
        {102, "Close the bank\\nClose"}, {103, "Save the bank\\nSave"},
        {104, "Save the bank under a new name\\nSave As"}, {105, "Save all banks\\nSave All"},
        {106, "Change the printer and its options\\nPrint Setup"}, {107, "Print the list\\nPrint"},
        {108, "Show the printout on screen\\nPrint Preview"}, {109, "About the program\\nAbout"},
        {110, "Quit the program\\nExit"}, {111, "List the help topics\\nHelp Index"},
        {112, "Open the help\\nHelp Topics"}, {113, "How to use the help\\nUsing Help"},
        {114, "Help on a button or menu\\nHelp"}, {115, "Help on the current task\\nHelp"},
        {116, "Open this bank"}, {117, "Next window pane\\nNext Pane"},
        {118, "Previous window pane\\nPrevious Pane"}, {119, "Open a new window on the bank\\nNew Window"},
        {120, "Arrange the icons of the windows\\nArrange Icons"},
        {121, "Arrange the windows one behind the other\\nCascade"},
        {122, "Arrange the windows side by side\\nTile"}, {123, "Tile the windows across\\nTile Horizontally"},
        {124, "Tile the windows down\\nTile Vertically"}, {125, "Delete the selection\\nDelete"},
        {126, "Delete everything\\nDelete All"}, {127, "Copy the selection\\nCopy"},
        {128, "Cut the selection\\nCut"}, {129, "Find a text\\nFind"}, {130, "Paste\\nPaste"},
        {131, "Repeat the last action\\nRepeat"}, {132, "Replace a text\\nReplace"},
        {133, "Select everything\\nSelect All"}, {134, "Undo the last action\\nUndo"},
        {135, "Redo the last action\\nRedo"}, {136, "Show or hide the toolbar\\nToolbar"},
        {137, "Show or hide the status bar\\nStatus Bar"}, {138, "Ready"},
        {139, "Click a button or menu for help"}, {140, "The sound device cannot be opened"},
        {141, "%1\\nThe file cannot be found."}, {142, "%1\\nThe disk is full."},
        {143, "%1\\nAccess denied: the file cannot be read."},
        {144, "%1\\nAccess denied: the file cannot be written."}, {145, "%1\\nThe file cannot be read."},
        {146, "%1\\nThe file cannot be written."}, {147, "Save the changes to %1?"},
        {148, "OK"}, {149, "Yes"}, {150, "No"}, {151, "Cancel"},
        {152, "The .bns name file cannot be saved"}, {153, "The .bns name file cannot be read"},
    };
}

void makeDriveLink(const fs::path& link, const fs::path& target) {
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(link, error))) fs::remove(link, error);
    fs::create_directory_symlink(target, link);
}

// The update folder, and what the patcher needs of the installed game: its
// program, the folders it copies into, the maker's registry key.
void writePatchDemo(const fs::path& prefix) {
    namespace fx = calyx::fixtures;
    const fs::path game = prefix / secondGameDirectory;
    for (const auto& folder : fx::patchedGameFolders(secondGameLanguage)) fx::makeDirs((game / folder).string());
    fx::writeFile((game / secondGameProgram).string(), "demo game program, version 1.05\r\n");
    // A 64-bit prefix Wine has already taken on keeps its registry (and the
    // game's entry a patcher wrote there); an older demo's 32-bit one is
    // replaced.
    for (const auto& [name, text] : {std::pair{"system.reg", registryText}, std::pair{"user.reg", userRegistryText}}) {
        const std::string path = (prefix / name).string();
        if (!fs::exists(path) || fx::readFile(path).find("\n#arch=win64\n") == std::string::npos)
            fx::writeFile(path, text);
    }

    const fs::path update = prefix / updateFolder;
    fx::writeUpdateFolder(update.string(), secondGameLanguage, [](const std::string& path) {
        if (path.ends_with(".bns")) return fx::companionText({});
        return "demo update file " + path + "\r\n";
    });
    for (const char* language : {"English", "French"})
        fx::writeStringsDat((update / language / "strings.dat").string(), englishStrings());
}

void writeDemo(const fs::path& prefix) {
    namespace fx = calyx::fixtures;
    fx::makeDirs((prefix / "dosdevices").string());
    fx::makeDirs((prefix / "drive_c/windows/system32").string());
    makeDriveLink(prefix / "dosdevices/c:", "../drive_c");
    makeDriveLink(prefix / "dosdevices/z:", "/");
    fx::makeDirs((prefix / "drive_c/windows/Ornwick").string());
    fx::writeFile((prefix / "drive_c/windows/Ornwick/Ornwick.Ini").string(), iniText);

    const fs::path secondGame = prefix / secondGameSoundFolder;
    fx::makeDirs(secondGame.string());
    const DemoBank second = secondGameDemo();
    fx::writeBytes((secondGame / secondGameBank).string(), fx::buildBank(second.spec));
    fx::writeFile((secondGame / secondGameCompanion).string(), fx::companionText(second.names));
    fx::writeStringsDat((secondGame / "strings.dat").string(), englishStrings());

    const fs::path firstGame = prefix / firstGameSoundFolder;
    fx::makeDirs(firstGame.string());
    const DemoBank first = firstGameDemo();
    fx::writeBytes((firstGame / firstGameBank).string(), fx::buildBank(first.spec));
    fx::writeFile((firstGame / "K7.csb").string(), fx::k7ScriptText(first.names));
    fx::writeStringsDat((firstGame / "strings.dat").string(), englishStrings());
    writePatchDemo(prefix);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string argument = argc > 1 ? argv[1] : "";
    if (argc > 2 || argument == "-h" || argument == "--help") {
        std::printf(
            "Usage: calyx-make-demo [PREFIX]\n\n"
            "Writes a demo installation of both games into the Wine-like prefix PREFIX (default\n"
            "%s): drive links, the maker's INI file and registry, a sound bank of each game\n"
            "with its names, an English strings.dat, and an update folder for the patcher\n"
            "(C:\\VLM2-106). Existing demo files are overwritten.\n"
            "Then try: WINEPREFIX=PREFIX calyx-cli where\n",
            defaultPrefix);
        return argc > 2 ? 2 : 0;
    }
    const fs::path prefix = fs::absolute(argument.empty() ? defaultPrefix : argument);
    try {
        writeDemo(prefix);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "calyx-make-demo: %s: %s\n", prefix.c_str(), e.what());
        return 1;
    }
    std::printf("demo installation written to %s\n", prefix.c_str());
    std::printf("  TQ2 bank:  %s\n", (prefix / secondGameSoundFolder / secondGameBank).c_str());
    std::printf("  K7TQ bank: %s\n", (prefix / firstGameSoundFolder / firstGameBank).c_str());
    std::printf("  update:    %s\n", (prefix / updateFolder).c_str());
    return 0;
}
