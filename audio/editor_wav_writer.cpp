#include "audio/editor_wav_writer.h"

#include <algorithm>

#include "audio/nearest_integer.h"
#include "audio/wav_header.h"
#include "platform/byte_order.h"
#include "platform/path.h"
#include "platform/safe_replace.h"
#include "platform/temp_file.h"

namespace calyx::audio {
namespace {

constexpr int tempNameCount = 20;
constexpr std::string_view tempPrefix = "~CalyxConvert";

}  // namespace

EditorWavWriter::~EditorWavWriter() {
    if (!tempHost_.empty()) {
        file_.close();
        platform::deleteFile(tempHost_);
    }
}

bool EditorWavWriter::create(std::string_view target) {
    target_ = std::string(target);
    std::string folder(platform::directoryPart(platform::replacementTarget(target)));
    if (folder.empty()) folder = ".";
    const auto names = platform::numberedNames(folder, tempPrefix, ".tmp", tempNameCount);
    if (!platform::createTempFile(file_, names, platform::OnRefusal::TryNextName)) return false;
    tempHost_ = file_.fullPath();
    const auto header = canonicalWavHeader(editorFormat, 0);
    return write(header.data(), header.size());
}

bool EditorWavWriter::fits(std::size_t moreFrames) const {
    return dataBytes_ + std::uint64_t{moreFrames} * editorBlockAlign <= maxWavDataLength;
}

bool EditorWavWriter::append(const std::vector<float>& samples, std::size_t count) {
    pcm_.resize(count * editorBlockAlign);
    for (std::size_t i = 0; i < count; ++i) {
        const double scaled = nearestInteger(double{samples[i]} * 32768.0);
        const auto value = static_cast<std::int16_t>(std::clamp(scaled, -32768.0, 32767.0));
        platform::writeLe16(&pcm_[2 * i], static_cast<std::uint16_t>(value));
    }
    dataBytes_ += pcm_.size();
    return write(pcm_.data(), pcm_.size());
}

bool EditorWavWriter::finish() {
    const auto header = canonicalWavHeader(editorFormat, static_cast<std::uint32_t>(dataBytes_));
    if (file_.seek(0, platform::File::Origin::Start) != 0 || !write(header.data(), header.size())) return false;
    if (!file_.flush() || !file_.close()) return false;
    if (!platform::moveIntoPlace(tempHost_, target_)) return false;
    tempHost_.clear();
    return true;
}

bool EditorWavWriter::write(const void* data, std::size_t length) {
    return length == 0 || file_.write(data, length) == static_cast<std::ptrdiff_t>(length);
}

}  // namespace calyx::audio
