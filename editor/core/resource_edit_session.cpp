#include "editor/core/resource_edit_session.h"

#include <new>

#include "audio/playback.h"
#include "audio/wave_format.h"
#include "editor/core/converted_copies.h"
#include "editor/core/current_sample.h"
#include "editor/core/message_box.h"
#include "editor/core/messages.h"
#include "editor/core/resource_drop.h"
#include "platform/host_name.h"
#include "platform/path.h"

namespace calyx::editor {
namespace {

constexpr std::uint32_t linkFlagBits = bank::fromBank | bank::pasted | bank::sourceIsPlainFile;
// Beyond this a typed volume stops growing and counts as too large.
constexpr std::uint64_t volumeParseLimit = 268435454;

std::string trimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace

ResourceEditSession::ResourceEditSession(EditDialogView& view, LinkTable& links, const GameStrings& strings,
                                         InterfaceLanguage language)
    : view_(view), links_(links), strings_(strings), language_(language) {}

ResourceEditSession::~ResourceEditSession() { stopTest(); }

bool ResourceEditSession::opensDialogFor(const bank::SoundResource& resource) {
    return resource.isSample() && resource.record().fileName() != bank::noFileName;
}

void ResourceEditSession::bind(bank::SoundResource& resource, bank::SoundBank& bank,
                               const audio::WaveDeviceLink* deviceLink) {
    state_.resource = &resource;
    state_.pendingReplaced = resource.isReplaced();
    state_.pendingSize = resource.currentSize();
    if (resource.isReplaced() && resource.replacementPath()) {
        state_.pendingPath = resource.replacementPath();
    } else {
        state_.pendingPath.reset();
        state_.pendingReplaced = false;
    }
    state_.bound = true;
    state_.deviceLink = deviceLink;
    state_.bank = &bank;
}

bool ResourceEditSession::initialise() {
    bank::SoundResource* r = state_.resource;
    if (!r) return false;
    state_.pendingSize = r->dataSize();
    state_.openedLinkFlags = r->linkFlags() & linkFlagBits;
    state_.openedSourceOffset = (r->linkFlags() & bank::pasted) ? r->sourceOffset() : r->record().dataOffset();
    state_.resetPressed = false;

    view_.setTrackbarPosition(r->volume());
    view_.setVolumeText(std::to_string(r->volume()));
    view_.setCommentLine(UiText::fromGame(r->comment()));
    state_.openingFileText = r->displayFileName();
    showFileName(state_.openingFileText);
    if (r->isLooping()) {
        const auto text = strings_.AreGameStringsLoaded() ? strings_.GetGameString(edit_text::loopingId) : std::nullopt;
        view_.setLoopingLine(text ? UiText::fromGame(*text) : UiText::builtIn(edit_text::loopingFrench));
    } else {
        view_.setLoopingLine(UiText{});
    }
    showSizeLine(state_.pendingSize, false);
    return true;
}

void ResourceEditSession::showSizeLine(std::uint32_t size, bool chosenFile) {
    const std::string number = std::to_string(size);
    if (chosenFile) {
        view_.setSizeLine(UiText::builtIn(std::string(edit_text::sizeChosenBefore) + number +
                                          std::string(edit_text::sizeChosenAfter)));
        return;
    }
    if (size == 0) {
        view_.setSizeLine(UiText{});
        return;
    }
    if (strings_.AreGameStringsLoaded()) {
        const auto before = strings_.GetGameString(edit_text::sizeBeforeId);
        const auto after = strings_.GetGameString(edit_text::sizeAfterId);
        view_.setSizeLine(UiText::fromGame(before.value_or(std::string()) + number + after.value_or(std::string())));
        return;
    }
    view_.setSizeLine(UiText::builtIn(std::string(edit_text::sizeFrenchBefore) + number +
                                      std::string(edit_text::sizeFrenchAfter)));
}

std::string ResourceEditSession::fileNameBoxText() const {
    std::string text = trimSpaces(std::string_view(view_.fileNameText()).substr(0, fileNameBoxMax));
    if (state_.copyInBox) {
        if (auto original = ConvertedCopies::originalOf(*state_.copyInBox); original && platform::equalsNoCase(text, *original))
            return *state_.copyInBox;
    }
    return text;
}

void ResourceEditSession::warnOfShortenedName(const std::string& path) {
    const std::string recorded = platform::gameFileName(path).latin1;
    if (recorded.size() <= bank::ResourceRecord::fileNameMax) return;
    const std::string kept = latin1ToUtf8(recorded.substr(0, bank::ResourceRecord::fileNameMax));
    view_.showMessage(UiText::builtIn(formatWithArgument(UiText::builtIn(edit_text::nameShortened.in(language_)), kept)),
                      message_style::ok | message_style::information);
}

void ResourceEditSession::showFileName(const std::string& path) {
    const auto original = ConvertedCopies::originalOf(path);
    state_.copyInBox = original ? std::optional(path) : std::nullopt;
    view_.setFileNameText(original ? *original : path);
}

int ResourceEditSession::readVolumeField() {
    const std::string full = view_.volumeText();
    const std::string_view text = std::string_view(full).substr(0, volumeBoxMax);
    std::uint64_t value = 0;
    bool tooLarge = false;
    std::size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value > volumeParseLimit) {
            tooLarge = true;
            continue;
        }
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
    }
    // A number ends at the end of the text or at a space; a leading space
    // therefore reads 0.
    const bool valid = !text.empty() && (i == text.size() || text[i] == ' ');
    if (valid) {
        const int volume = tooLarge || value > audio::maxVolume ? audio::maxVolume : static_cast<int>(value);
        view_.setTrackbarPosition(volume);
        return volume;
    }
    int volume = 0;
    if (const auto position = view_.trackbarPosition()) {
        volume = *position;
    } else {
        volume = state_.resource ? state_.resource->volume() : 0;
        view_.setTrackbarPosition(volume);
    }
    view_.setVolumeText(std::to_string(volume));
    return volume;
}

void ResourceEditSession::trackbarMoved() {
    if (const auto position = view_.trackbarPosition()) view_.setVolumeText(std::to_string(*position));
}

void ResourceEditSession::reset() {
    bank::SoundResource* r = state_.resource;
    if (!r) return;
    state_.pendingReplaced = false;
    state_.pendingPath.reset();
    state_.openedLinkFlags = 0;
    state_.openedSourceOffset = r->record().dataOffset();
    state_.resetPressed = true;
    showFileName(r->listFileName());
    state_.pendingSize = r->storedSize();
    showSizeLine(state_.pendingSize, false);
    // The stored volume, not one set in an earlier edit.
    view_.setTrackbarPosition(r->record().volume());
    view_.setVolumeText(std::to_string(r->record().volume()));
}

ImportResult ResourceEditSession::importWav(const std::string& path, bool showInDialog) {
    if (!audio::hasWavExtension(path)) return ImportResult::NotWavName;
    audio::WavFile file;
    audio::WaveFormat format;
    std::uint32_t dataLength = 0;
    const audio::WavResult opened = file.openWav(path, format, dataLength);
    if (opened == audio::WavResult::NotSupported) return ImportResult::FormatNotSupported;
    if (opened != audio::WavResult::Ok) return ImportResult::CannotOpenOrRead;
    if (!audio::isAcceptedFormat(format)) return ImportResult::FormatNotSupported;
    // A data chunk that claims more than the file holds could never be
    // copied into the bank: the file counts as unreadable.
    if (dataLength > file.remainingBytes()) return ImportResult::CannotOpenOrRead;
    file.closeWav();

    const std::uint32_t size = dataLength & ~std::uint32_t{3};
    if (size == 0) {
        // The previous pending replacement stays.
        if (!state_.pendingPath) {
            state_.pendingReplaced = false;
            state_.pendingSize = 0;
        }
        return ImportResult::NotStored;
    }
    state_.pendingSize = size;
    state_.pendingPath = path;
    if (showInDialog) {
        showFileName(path);
        showSizeLine(size, true);
        warnOfShortenedName(path);
    }
    state_.pendingReplaced = true;
    return ImportResult::Taken;
}

std::optional<std::string> ResourceEditSession::convertRefused(const std::string& path,
                                                               const std::optional<UiText>& refusal, bool& answered) {
    answered = false;
    if (!conversionOffer_ || !refusal) return std::nullopt;
    ConversionAnswer answer = conversionOffer_(path, *refusal);
    answered = answer.outcome != ConversionAnswer::Outcome::NotOffered;
    if (answer.outcome != ConversionAnswer::Outcome::Converted) return std::nullopt;
    return std::move(answer.path);
}

ImportResult ResourceEditSession::importReported(const std::string& path, bool dropped) {
    ImportResult result = importWav(path, true);
    if (result == ImportResult::FormatNotSupported) {
        bool answered = false;
        if (auto copy = convertRefused(path, importResultText(result, strings_, language_), answered)) {
            result = importWav(*copy, true);
        } else if (answered) {
            return result;
        }
    }
    reportImportResult(dropped && result == ImportResult::NotWavName ? ImportResult::NotWavNameDropped : result);
    return result;
}

bool ResourceEditSession::browse(const std::string& path) {
    return importReported(path, false) == ImportResult::Taken;
}

bool ResourceEditSession::dropFile(const std::string& path) {
    return importReported(path.substr(0, fileNameBoxMax), true) == ImportResult::Taken;
}

void ResourceEditSession::stopTest() {
    if (!state_.playBuffer) return;
    if (state_.resource) audio::stopSample(*state_.resource, state_.playHeader);
    state_.playLength = 0;
    state_.playBuffer.reset();
}

WavError ResourceEditSession::readWavIntoPlayBuffer(audio::WavFile& file, const std::string& path,
                                               audio::WaveFormat& format, std::optional<std::uint32_t> limit) {
    std::vector<std::uint8_t> buffer;
    const WavError read = readWavData(file, path, format, limit, buffer);
    if (read != WavError::None) return read;
    state_.playLength = static_cast<std::uint32_t>(buffer.size());
    state_.playBuffer = std::move(buffer);
    return WavError::None;
}

WavError ResourceEditSession::loadPlayBuffer(audio::WavFile& file, audio::WaveFormat& format) {
    bank::SoundResource* r = state_.resource;
    bank::SoundBank* b = state_.bank;
    if (!r || !b) return WavError::NotBound;
    const std::string text = fileNameBoxText();
    const bool edited = !platform::equalsNoCase(text, state_.openingFileText);

    // A new file named in the box: its own data, after the import's checks.
    if (edited && !(state_.openedLinkFlags & bank::fromBank) && !platform::equalsNoCase(text, r->listFileName())) {
        if (!(state_.openedLinkFlags & bank::pasted)) {
            const ImportResult imported = importWav(text, false);
            if (imported == ImportResult::FormatNotSupported) return WavError::FormatNotSupported;
            if (imported != ImportResult::Taken) return WavError::CannotOpen;
        }
        stopTest();
        return readWavIntoPlayBuffer(file, text, format, std::nullopt);
    }

    // The resource's own sample, as OK would leave it.
    stopTest();
    // After "Reset" the bank's own bytes, else the resource's present ones.
    const SampleToRead what = presentSample(*r, state_.pendingReplaced, state_.pendingPath, state_.pendingSize,
                                            state_.openedLinkFlags);
    std::optional<std::vector<std::uint8_t>> bytes;
    const WavError read =
        readSample(*b, what, [this](bank::LinkKey key) { return links_.pathOf(key); }, bytes);
    if (read != WavError::None) return read;
    if (bytes) {
        state_.playLength = static_cast<std::uint32_t>(bytes->size());
        state_.playBuffer = std::move(*bytes);
    }
    format = audio::editorFormat;
    return WavError::None;
}

WavError ResourceEditSession::exportWav(const std::string& path) {
    audio::WavFile reader;
    audio::WaveFormat format;
    const WavError loaded = loadPlayBuffer(reader, format);
    if (loaded != WavError::None) return loaded;
    if (!state_.resource) return WavError::None;
    if (!state_.playBuffer) return WavError::NoSampleData;
    audio::WavFile writer;
    return wavErrorFor(writer.writeWav(path, format, state_.playLength, state_.playBuffer->data()));
}

std::uint32_t ResourceEditSession::beginTest() {
    stopTest();
    return audio::volumeWord(readVolumeField());
}

void ResourceEditSession::testFile(const std::string& path, std::uint32_t volumeWord) {
    audio::WavFile file;
    audio::WaveFormat format;
    std::uint32_t dataLength = 0;
    const WavError opened = openAccepted(file, path, format, dataLength);
    if (opened != WavError::None) {
        reportWavError(opened);
        return;
    }
    if (!state_.resource || !state_.deviceLink) return;
    file.closeWav();
    const WavError read = readWavIntoPlayBuffer(file, path, format, std::nullopt);
    if (read != WavError::None) {
        reportWavError(read);
        return;
    }
    playBuffer(volumeWord);
}

void ResourceEditSession::playBuffer(std::uint32_t volumeWord) {
    // Without a device the header is left as it was and nothing is queued:
    // nothing to stop either, so a stop does not try the device (and say it
    // is missing) once more.
    state_.playHeader.data = nullptr;
    audio::playSample(*state_.resource, state_.playHeader, state_.playBuffer->data(), state_.playLength, volumeWord);
    if (!state_.playHeader.data) state_.playBuffer.reset();
}

void ResourceEditSession::testCurrent() {
    audio::WavFile file;
    audio::WaveFormat format;
    const WavError loaded = loadPlayBuffer(file, format);
    reportWavError(loaded);
    if (!state_.resource || !state_.deviceLink) return;
    if (state_.playBuffer) {
        const std::uint32_t word = audio::volumeWord(readVolumeField());
        playBuffer(word);
    } else if (loaded == WavError::None) {
        reportWavError(WavError::NoSampleData);
    }
}

bool ResourceEditSession::ok() {
    bank::SoundResource* r = state_.resource;
    if (!r) return false;
    // Volume and sample change as one, undone as one.
    std::optional<bank::ChangeGroup> group;
    if (state_.bank) group.emplace(*state_.bank);
    r->setVolume(readVolumeField());
    std::string text = fileNameBoxText();
    bool closes = false;
    if (!state_.resetPressed && platform::equalsNoCase(text, state_.openingFileText)) {
        state_.pendingPath.reset();
        closes = true;
    } else if (platform::equalsNoCase(text, r->listFileName())) {
        commit();
        closes = true;
    } else if (r->linkFlags() & bank::fromBank) {
        const ImportResult imported = importReported(text, false);
        if (imported == ImportResult::Taken) {
            r->setSourceOffset(state_.openedSourceOffset);
            releaseLinkKey(*r, links_);
            r->setFromBank(false);
            state_.openedLinkFlags = 0;
            commit();
            closes = true;
        }
    } else {
        audio::WavFile file;
        audio::WaveFormat format;
        std::uint32_t dataLength = 0;
        WavError result = openAccepted(file, text, format, dataLength);
        bool answered = false;
        if (result == WavError::FormatNotSupported) {
            if (auto copy = convertRefused(text, wavErrorText(result, strings_, language_), answered)) {
                // The converted copy takes the refused file's place in the box.
                text = *copy;
                showFileName(text);
                result = openAccepted(file, text, format, dataLength);
                answered = false;
            }
        }
        const bool newFile = !state_.pendingPath || !platform::equalsNoCase(text, *state_.pendingPath);
        if (result == WavError::None && newFile && dataLength > file.remainingBytes()) {
            file.closeWav();
            result = WavError::CannotRead;
        }
        if (result != WavError::None) {
            if (!answered) reportWavError(result);
        } else {
            std::int64_t firstSampleByte = 0;
            file.tell(firstSampleByte);
            if (newFile) {
                state_.pendingPath = text;
                state_.pendingSize = dataLength & ~std::uint32_t{3};
                state_.pendingReplaced = true;
            }
            // A resource given a new file takes its data from that file
            // alone: whatever it was pasted from no longer counts.
            state_.openedLinkFlags = 0;
            r->setSourceOffset(firstSampleByte);
            file.closeWav();
            commit();
            closes = true;
        }
    }
    stopTest();
    return closes;
}

void ResourceEditSession::commit() {
    bank::SoundResource& r = *state_.resource;
    const std::uint32_t flags = state_.openedLinkFlags;
    if (!(flags & bank::pasted)) {
        // Not pasted: the data is the resource's own (in its bank, or the
        // pending file), wherever a paste had placed it before.
        r.setSourceArea(r.ownArea());
        r.setSourceIsWav(false);
        if (!state_.pendingReplaced) r.setSourceOffset(r.record().dataOffset());
    }
    r.setLinkFlags((r.linkFlags() & ~linkFlagBits) | flags);
    // A paste given up (by "Reset" or a file of its own) gives up its key.
    if (!(flags & bank::pasted)) releaseLinkKey(r, links_);
    std::optional<std::string> path = std::move(state_.pendingPath);
    state_.pendingPath.reset();
    r.setReplacement(state_.pendingReplaced, state_.pendingSize, std::move(path));
}

void ResourceEditSession::cancel() {
    stopTest();
    state_.pendingPath.reset();
}

void ResourceEditSession::reportWavError(WavError error) {
    if (auto text = wavErrorText(error, strings_, language_)) view_.showMessage(*text, message_style::exclamation);
}

void ResourceEditSession::reportImportResult(ImportResult result) {
    if (auto text = importResultText(result, strings_, language_)) view_.showMessage(*text, message_style::exclamation);
}

}  // namespace calyx::editor
