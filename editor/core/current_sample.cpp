#include "editor/core/current_sample.h"

#include <new>

#include "bank/sample_reading.h"

namespace calyx::editor {

WavError wavErrorFor(audio::WavResult result) {
    switch (result) {
    case audio::WavResult::Ok: return WavError::None;
    case audio::WavResult::NotSupported: return WavError::FormatNotSupported;
    case audio::WavResult::CannotOpen: return WavError::CannotOpen;
    case audio::WavResult::ReadFailed: return WavError::CannotRead;
    case audio::WavResult::WriteFailed: return WavError::CannotWrite;
    }
    return WavError::CannotRead;
}

WavError openAccepted(audio::WavFile& file, const std::string& path, audio::WaveFormat& format,
                      std::uint32_t& dataLength) {
    const audio::WavResult result = file.openWav(path, format, dataLength);
    if (result != audio::WavResult::Ok) return wavErrorFor(result);
    if (!audio::isAcceptedFormat(format)) {
        file.closeWav();
        return WavError::FormatNotSupported;
    }
    return WavError::None;
}

WavError readWavData(audio::WavFile& file, const std::string& path, audio::WaveFormat& format,
                     std::optional<std::uint32_t> limit, std::vector<std::uint8_t>& bytes) {
    std::uint32_t dataLength = 0;
    const WavError opened = openAccepted(file, path, format, dataLength);
    if (opened != WavError::None) return opened;
    if (limit && *limit < dataLength) dataLength = *limit;
    // Nothing is allocated for bytes the file does not hold.
    if (dataLength > file.remainingBytes()) {
        file.closeWav();
        return WavError::CannotRead;
    }
    try {
        bytes.resize(dataLength);
    } catch (const std::bad_alloc&) {
        file.closeWav();
        return WavError::NoSampleData;
    }
    const bool read = file.readData(dataLength, bytes.data());
    file.closeWav();
    return read ? WavError::None : WavError::CannotRead;
}

WavError writeSampleWav(const std::string& path, const std::vector<std::uint8_t>& sample) {
    audio::WavFile writer;
    audio::WaveFormat format = audio::editorFormat;
    return wavErrorFor(writer.writeWav(path, format, static_cast<std::uint32_t>(sample.size()), sample.data()));
}

SampleToRead presentSample(const bank::SoundResource& resource, bool replaced, const std::optional<std::string>& path,
                           std::uint32_t size, std::uint32_t linkFlags) {
    SampleToRead what;
    if (replaced && path && !(linkFlags & bank::pasted)) {
        what.pendingWav = path;
        what.pendingSize = size;
    } else {
        what.source = replaced ? resource.currentSource() : resource.storedSource();
    }
    return what;
}

WavError readSample(const bank::SoundBank& bank, const SampleToRead& what,
                    const bank::SoundBank::SourceBankResolver& otherBanks,
                    std::optional<std::vector<std::uint8_t>>& bytes) {
    bytes.reset();
    std::vector<std::uint8_t> buffer;
    if (what.pendingWav) {
        // A pending WAV file (chosen in this dialog or in an earlier one):
        // the first `pendingSize` bytes of its data.
        audio::WavFile file;
        audio::WaveFormat format;
        if (readWavData(file, *what.pendingWav, format, what.pendingSize, buffer) != WavError::None)
            return WavError::CannotRead;
        bytes = std::move(buffer);
        return WavError::None;
    }
    if (what.source.ownSize == 0) {
        // Nothing to read: a file the game lacks still means no sample.
        bool found = true;
        bank::sourceFilePath(bank, what.source, otherBanks, &found);
        return found ? WavError::CannotRead : WavError::None;
    }
    switch (bank::readSourceBytes(bank, what.source, otherBanks, buffer)) {
    case bank::SourceRead::Read: bytes = std::move(buffer); return WavError::None;
    // A sample the bank does not hold, whose file the game lacks.
    case bank::SourceRead::NoGameFile: return WavError::None;
    case bank::SourceRead::Failed: break;
    }
    return WavError::CannotRead;
}

WavError readCurrentSample(const bank::SoundResource& resource, const bank::SoundBank& bank,
                           const bank::SoundBank::SourceBankResolver& otherBanks,
                           std::optional<std::vector<std::uint8_t>>& bytes) {
    // A dialog takes a replacement as pending only with its file's name.
    const bool pending = resource.isReplaced() && resource.replacementPath();
    const SampleToRead what =
        presentSample(resource, pending, resource.replacementPath(), resource.dataSize(), resource.linkFlags());
    return readSample(bank, what, otherBanks, bytes);
}

WavError readCurrentSample(const bank::SoundResource& resource, const bank::SoundBank& bank,
                           std::optional<std::vector<std::uint8_t>>& bytes) {
    return readCurrentSample(resource, bank, bank.sourceBankResolver(), bytes);
}

}  // namespace calyx::editor
