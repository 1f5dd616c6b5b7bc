#include "patcher/file_replacement.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "patcher/message_box.h"
#include "patcher/patch_texts.h"
#include "patcher/settings_updates.h"
#include "platform/file.h"
#include "platform/path.h"
#include "platform/read_file.h"
#include "platform/safe_replace.h"
#include "platform/temp_file.h"

namespace calyx::patcher {
namespace {

constexpr std::size_t copyBufferBytes = 512;
// The icon of a .ICO file starts after its directory and image header.
constexpr std::size_t iconHeaderBytes = 64;
// A game program is a few megabytes; anything far larger is not one.
constexpr std::size_t maxProgramBytes = std::size_t{256} << 20;
constexpr std::string_view oldIconName = "K73.ICO";
constexpr std::string_view newIconName = "K73A.ICO";

constexpr std::string_view englishFolder = "English\\";
constexpr std::string_view frenchFolder = "French\\";
constexpr std::string_view germanFolder = "German\\";
constexpr std::string_view euroFolder = "Euro\\";

using platform::File;


}  // namespace

CopyResult CopyFileRaw(std::string_view source, std::string_view destination, bool verbose) {
    if (verbose)
        showMessageBox(texts::fillIn(texts::copyAnnouncement, {source, destination}), texts::copyCaption,
                       MessageIcon::None);
    File in;
    if (!in.open(source, File::Mode::Read)) return CopyResult::SourceUnreadable;
    // A rename replaces even a read-only file, so the check comes first.
    if (!destinationWritable(destination)) return CopyResult::DestinationUnwritable;

    const std::string target = platform::replacementTarget(destination);
    File out;
    const platform::TempFileResult created = platform::createTempFile(out, platform::namesBeside(target, "patch"));
    if (!created) return CopyResult::DestinationUnwritable;
    const std::string& fresh = created.path;
    auto discard = [&](CopyResult result) {
        out.close();
        std::remove(fresh.c_str());
        return result;
    };

    char buffer[copyBufferBytes];
    for (;;) {
        const std::ptrdiff_t n = in.read(buffer, sizeof buffer);
        // A source that fails part-way would make a truncated game file.
        if (n < 0) return discard(CopyResult::SourceUnreadable);
        if (n == 0) break;
        if (out.write(buffer, static_cast<std::size_t>(n)) != n) return discard(CopyResult::WriteFailed);
    }
    if (!out.flush() || !out.close()) return discard(CopyResult::WriteFailed);
    if (!platform::moveIntoPlace(fresh, destination)) return discard(CopyResult::WriteFailed);
    return CopyResult::Copied;
}

bool CopyPatchFile(std::string_view name, std::string_view prefix, std::string_view folder,
                   const PatchContext& context) {
    const std::string source = std::string(prefix) + std::string(name);
    const std::string destination = std::string(folder) + std::string(name);
    switch (CopyFileRaw(source, destination, context.verbose)) {
    case CopyResult::Copied: return true;
    case CopyResult::SourceUnreadable:
        ShowAbort(texts::fillIn(texts::sourceMissing, {source}), texts::patchCorrupted);
        return false;
    default:
        ShowAbort(texts::fillIn(texts::unableToUpdate, {destination}),
                  std::string(texts::reinstallGame) + context.gameTitle);
        return false;
    }
}

void ReplaceProgramIcon(std::string_view gameDirectory, std::string_view programFile) {
    const std::string programPath = std::string(gameDirectory) + std::string(programFile);
    const platform::ReadFileResult oldIcon = platform::readFile(oldIconName, maxProgramBytes);
    const platform::ReadFileResult newIcon = platform::readFile(newIconName, maxProgramBytes);
    if (!oldIcon || !newIcon) return;
    platform::ReadFileResult program = platform::readFile(programPath, maxProgramBytes);
    if (!program) return;
    std::string& bytes = program.bytes;
    const std::string& oldBytes = oldIcon.bytes;
    const std::string& newBytes = newIcon.bytes;
    // The new image takes the old one's place and length, so it must be at
    // least as long; an old icon of no image has nothing to find.
    if (oldBytes.size() <= iconHeaderBytes || newBytes.size() < oldBytes.size()) return;
    const std::size_t imageLength = oldBytes.size() - iconHeaderBytes;
    if (bytes.size() < imageLength) return;
    if (!destinationWritable(programPath)) return;

    const auto oldImage = oldBytes.begin() + iconHeaderBytes;
    const auto newImage = newBytes.begin() + iconHeaderBytes;
    const std::boyer_moore_horspool_searcher searcher(oldImage, oldBytes.end());
    bool replaced = false;
    // The scan goes on after a match, so every occurrence is replaced.
    for (auto at = bytes.begin();;) {
        at = std::search(at, bytes.end(), searcher);
        if (at == bytes.end()) break;
        std::copy(newImage, newImage + static_cast<std::ptrdiff_t>(imageLength), at);
        replaced = true;
        ++at;
    }
    if (replaced) platform::replaceFileContents(programPath, bytes);
}

bool PatchInstallation(std::string_view gameDirectory, std::string_view iniPath,
                       const PatchContext& context) {
    const std::string d(gameDirectory);
    const std::string& language = context.language;
    const std::string languageFolder = language + "\\";
    auto copy = [&](std::initializer_list<std::string_view> names, std::string_view prefix,
                    const std::string& folder) {
        for (std::string_view name : names)
            if (!CopyPatchFile(name, prefix, folder, context)) return false;
        return true;
    };

    updateTripleBuffering(iniPath);
    UpdateRegistry(d, context.programFile, context.version);
    if (!copy({context.programFile}, "", d)) return false;
    if (language == texts::german) ReplaceProgramIcon(d, context.programFile);
    platform::createDirectory(d + "Save\\Retro\\Configs");
    platform::createDirectory(d + "Datab\\ANData");
    platform::createDirectory(d + "FAQ");
    if (!copy({"mn_scr.mrc", "realmag.bin"}, "", d + "Datab\\Menus\\")) return false;
    if (!copy({"mn_ldt.mrc"}, languageFolder, d + "Datab\\Menus\\" + languageFolder)) return false;
    if (!copy({"forgrnd.rsb"}, "", d + "Datab\\Scripts\\")) return false;
    if (!copy({"dic_mnu.bmd"}, languageFolder, d + "Datab\\Dicos\\" + languageFolder)) return false;
    if (!copy({"dxinput5.dll", "WAVd3BVR.dll"}, "", d + "KPE\\DLL\\")) return false;
    if (!copy({"calyx.exe"}, "", d + "Editors\\")) return false;
    platform::deleteFile(d + "Editors\\strings.dat");
    if (language == texts::french) {
        if (!copy({"bnk_1.bns", "strings.dat"}, frenchFolder, d + "Datab\\Resson\\")) return false;
    } else {
        if (!copy({"bnk_0.bns", "bnk_3.bns", "bnk_1.bns", "strings.dat"}, englishFolder,
                  d + "Datab\\Resson\\"))
            return false;
    }
    if (!copy({"createsession.jpg", "sessioninfo.jpg"}, "", d + "Datab\\ANData\\")) return false;
    const std::string_view onlineFolder = language == texts::german ? germanFolder : euroFolder;
    if (!copy({"Session.bmp", "config.anc"}, onlineFolder, d + "Datab\\ANData\\")) return false;
    if (!copy({"MenuInit.BSH"}, "", d + "Datab\\Scripts\\")) return false;
    updateSoundSettings(d);
    if (!copy({"whl.ifr", "Ffparams.bin"}, "", d)) return false;
    if (!copy({"Index.htm", "ornwick.JPG", "vlm2.JPG", "tq2.JPG", "dialog1.JPG", "dialog2.JPG",
               "ANError.JPG", "return.gif"},
              "", d + "FAQ\\"))
        return false;
    if (!copy({"NetRace.txt"}, "", d)) return false;
    if (!copy({"Scen11.scb", "Scen12.scb", "Scen13.scb", "Scen14.scb"}, languageFolder,
              d + "Datab\\Scenario\\" + languageFolder))
        return false;
    return true;
}

}  // namespace calyx::patcher
