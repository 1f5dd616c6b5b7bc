#include "bank/sound_bank.h"

#include <algorithm>
#include <cctype>

#include "platform/file.h"
#include "platform/path.h"
#include "platform/read_file.h"
#include "platform/safe_replace.h"

namespace calyx::bank {
namespace {

// Buffer widths the name lookup fills (the list shows at most 19 and 99).
constexpr std::size_t nameLookupLength = 50;
constexpr std::size_t commentLookupLength = 100;

constexpr std::string_view firstGameDataWord = "K7datab";
constexpr std::string_view secondGameDataWord = "datab";
constexpr std::string_view soundFolder = "\\Resson";
// A companion holds a few kilobytes of names; a file far larger is not one
// and is not copied.
constexpr std::size_t maxCompanionBytes = std::size_t{256} << 20;

// The game root in `text`: everything before the first "k7datab\" (else
// "datab\"), letter case ignored and '/' counted as '\', provided a separator
// stands just before it; the empty text otherwise.
std::string cutAtDataFolder(const std::string& text) {
    std::string folded = platform::toLower(text);
    std::replace(folded.begin(), folded.end(), '/', '\\');
    std::size_t at = folded.find("k7datab\\");
    if (at == std::string::npos) at = folded.find("datab\\");
    if (at == std::string::npos || at == 0 || !platform::isSeparator(text[at - 1])) return {};
    return text.substr(0, at);
}

bool opensForReading(const std::string& path) {
    platform::File file;
    return file.open(path, platform::File::Mode::Read);
}

}  // namespace

SoundBank::~SoundBank() {
    resources_.clear();
    auxRecords_.clear();
    listeners_.clear();
}

void SoundBank::setGameInstallations(std::string k7Directory, std::string tq2Directory,
                                     std::string k7Language, std::string tq2Language) {
    k7Directory_ = std::move(k7Directory);
    tq2Directory_ = std::move(tq2Directory);
    k7Language_ = std::move(k7Language);
    tq2Language_ = std::move(tq2Language);
}

void SoundBank::chooseDirectories() {
    if (flavor() == BankFlavor::K7TQ) {
        gameDirectory_ = k7Directory_;
        languageDirectory_ = k7Language_;
        otherGameDirectory_.clear();
    } else {
        gameDirectory_ = tq2Directory_;
        otherGameDirectory_ = k7Directory_;
        languageDirectory_ = tq2Language_;
    }
}

std::uint32_t SoundBank::headerLength() const {
    return flavor() == BankFlavor::K7TQ ? k7HeaderLength : tq2HeaderLength;
}

bool SoundBank::takeError(BankError& code) {
    code = errorCode_;
    errorCode_ = BankError::None;
    return code != BankError::None;
}

void SoundBank::recordError(BankError code) {
    if (errorCode_ == BankError::None) errorCode_ = code;
}

bool SoundBank::forEachResource(const std::function<bool(SoundResource&)>& callback) {
    for (auto& r : resources_)
        if (!callback(*r)) return false;
    return true;
}

bool SoundBank::forEachAuxRecord(const std::function<bool(AuxRecord&)>& callback) {
    for (auto& a : auxRecords_)
        if (!callback(a)) return false;
    return true;
}

int SoundBank::addChangeListener(Listener listener) { return listeners_.add(std::move(listener)); }

void SoundBank::removeChangeListener(int handle) { listeners_.remove(handle); }

void SoundBank::notifyListeners(SoundResource& resource) { listeners_.notify(resource); }

void SoundBank::beginChangeGroup() {
    if (groupDepth_++ == 0) groupListeners_.notify(true);
}

void SoundBank::endChangeGroup() {
    if (groupDepth_ > 0 && --groupDepth_ == 0) groupListeners_.notify(false);
}

int SoundBank::indexOfResource(const SoundResource* resource) const {
    const std::size_t next = lastIndexFound_ + 1;
    if (next < resources_.size() && resources_[next].get() == resource) {
        lastIndexFound_ = next;
        return static_cast<int>(next);
    }
    for (std::size_t i = 0; i < resources_.size(); ++i)
        if (resources_[i].get() == resource) {
            lastIndexFound_ = i;
            return static_cast<int>(i);
        }
    return -1;
}

SoundResource* SoundBank::resourceAt(std::size_t i) {
    return i < resources_.size() ? resources_[i].get() : nullptr;
}

const SoundResource* SoundBank::resourceAt(std::size_t i) const {
    return i < resources_.size() ? resources_[i].get() : nullptr;
}

std::string SoundBank::nameAt(std::size_t i) const {
    auto* r = resourceAt(i);
    return r ? r->name() : std::string();
}

std::string SoundBank::commentAt(std::size_t i) const {
    auto* r = resourceAt(i);
    return r ? r->comment() : std::string();
}

std::string SoundBank::volumeTextAt(std::size_t i) const {
    auto* r = resourceAt(i);
    return r ? r->volumeText() : std::string();
}

int SoundBank::volumeAt(std::size_t i) const {
    auto* r = resourceAt(i);
    return r ? r->volume() : -1;
}

std::string SoundBank::fileNameAt(std::size_t i) const {
    auto* r = resourceAt(i);
    return r ? r->listFileName() : std::string();
}

std::string SoundBank::candidateDirectory(int index, unsigned char kindMark, bool* oneLess) const {
    if (oneLess) *oneLess = false;
    std::string text;
    const bool k7 = flavor() == BankFlavor::K7TQ;
    if (index == 1) {
        text = bankPath_.value_or(std::string());
    } else if (index == 0) {
        if (kindMark == graveMark) {
            text = k7 ? gameDirectory_ + "k7datab\\" : otherGameDirectory_ + "datab\\";
        } else if (kindMark == 'a') {
            if (k7) {
                text = bankPath_.value_or(std::string());
                if (oneLess) *oneLess = true;
            } else if (!gameDirectory_.empty()) {
                // The root of the game directory's drive: "X:\datab\" for a
                // drive letter, "\datab\" (the current drive) for a host path.
                const char first = gameDirectory_.front();
                text = std::isalpha(static_cast<unsigned char>(first))
                           ? std::string(1, first) + ":\\datab\\"
                           : std::string("\\datab\\");
            }
        } else {
            text = gameDirectory_;
        }
    } else {
        return {};
    }
    return cutAtDataFolder(text);
}

std::optional<std::string> SoundBank::findFile(std::string_view fileName,
                                               std::string_view directory,
                                               unsigned char kindMark) const {
    const bool firstGameWord =
        kindMark == graveMark || (kindMark == scriptMark && flavor() == BankFlavor::K7TQ);
    std::string_view word = firstGameWord ? firstGameDataWord : secondGameDataWord;
    bool switched = false;
    const std::string dir(directory);
    for (int count = 9; count >= 1; --count) {
        std::string folder;
        switch (count % 5) {
        case 0:
            folder.clear();  // the root of the current drive
            if (!switched) {
                word = word == firstGameDataWord ? secondGameDataWord : firstGameDataWord;
                switched = true;
            }
            break;
        case 1: folder = "."; break;
        case 2: folder = dir + std::string(firstGameDataWord); break;
        case 3: folder = dir + std::string(word) + std::string(soundFolder); break;
        case 4:
            folder = dir + std::string(word) + std::string(soundFolder) + "\\" + languageDirectory_;
            break;
        }
        std::string candidate = folder + "\\" + std::string(fileName);
        if (opensForReading(candidate)) return candidate;
    }
    return std::nullopt;
}

std::optional<std::string> SoundBank::findInCandidates(std::string_view fileName,
                                                       unsigned char candidateMark,
                                                       unsigned char searchMark) const {
    for (int index = 0; index < 2; ++index) {
        const std::string directory = candidateDirectory(index, candidateMark);
        if (directory.empty()) continue;
        if (auto found = findFile(fileName, directory, searchMark)) return found;
    }
    return std::nullopt;
}

void SoundBank::assignNames() {
    char name[nameLookupLength];
    char comment[commentLookupLength];
    for (auto& r : resources_) {
        const std::int64_t id = r->idOrNone();
        if (id < 0) continue;
        if (nameTable_.lookup(static_cast<int>(id & 0xFFFF), name, sizeof name, comment,
                              sizeof comment)) {
            r->setNames(name, comment);
        } else {
            r->setNames("", "");
        }
    }
    nameTable_.clear();
}

void SoundBank::readNames() {
    if (flavor() == BankFlavor::K7TQ) {
        // The bank script lies in the game tree; a bank without one keeps
        // empty names and no error.
        const auto script = findInCandidates("K7.csb", scriptMark, graveMark);
        if (!script) return;
        if (nameTable_.readK7Script(*script) != K7ScriptResult::CannotOpen) assignNames();
        return;
    }
    if (!bankPath_ || bankPath_->empty()) return;
    if (nameTable_.readCompanion(companionPath(*bankPath_)) == CompanionResult::Unreadable) recordError(BankError::CompanionUnreadable);
    assignNames();
}

int SoundBank::copyCompanionFile(const std::string& newBankPath) {
    if (!bankPath_ || bankPath_->empty() || newBankPath.empty()) return 0;
    const std::string from = companionPath(*bankPath_);
    const std::string to = companionPath(newBankPath);
    // Copying a file onto itself would empty it.
    if (platform::sameFile(from, to)) {
        bankPath_ = newBankPath;
        return 1;
    }
    const platform::ReadFileResult contents = platform::readFile(from, maxCompanionBytes);
    if (!contents || !platform::replaceFileContents(to, contents.bytes)) return 0;
    bankPath_ = newBankPath;
    return 1;
}

std::string SoundBank::companionPath(std::string_view bankPath) {
    std::string companion(bankPath);
    if (!companion.empty()) companion.back() = 's';
    return companion;
}

void SoundBank::appendResourceForTest(std::unique_ptr<SoundResource> resource) {
    resource->attachTo(this);
    resources_.emplace_back(resource.release(), ResourceDeleter{false});
}

void SoundBank::ResourceDeleter::operator()(SoundResource* resource) const {
    if (inBlock)
        resource->~SoundResource();
    else
        delete resource;
}

}  // namespace calyx::bank
