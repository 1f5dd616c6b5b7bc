#include "audio/sdl_wave_out.h"

#include <algorithm>

#include "audio/sdl_library_posix.h"
#include "audio/system_wave_out.h"

#include "platform/byte_order.h"

namespace calyx::audio {
namespace {

// Frames per callback: about 23 ms, so a stop is heard at once.
constexpr Uint16 callbackFrames = 512;
constexpr std::int32_t fullVolume = 0xFFFF;

// Holds the device lock: the callback does not run meanwhile.
class DeviceLock {
public:
    DeviceLock(const SdlLibrary* sdl, SDL_AudioDeviceID device) : sdl_(sdl), device_(device) {
        if (device_) sdl_->lockAudioDevice(device_);
    }
    ~DeviceLock() {
        if (device_) sdl_->unlockAudioDevice(device_);
    }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    const SdlLibrary* sdl_;
    SDL_AudioDeviceID device_;
};

std::int16_t sampleAt(const std::uint8_t* bytes) {
    return static_cast<std::int16_t>(platform::readLe16(bytes));
}

}  // namespace

SdlWaveOut::SdlWaveOut(LibraryLoader loadLibrary) : loadLibrary_(loadLibrary) {}

SdlWaveOut::~SdlWaveOut() { close(); }

SdlWaveOut::LibraryLoader SdlWaveOut::defaultLoader() { return &SdlLibrary::system; }

DeviceResult SdlWaveOut::open(const WaveFormat& format) {
    close();
    if (format.formatTag != pcmFormatTag || !isAcceptedFormat(format)) return DeviceResult::BadFormat;
    const SdlLibrary* sdl = loadLibrary_();
    if (!sdl) return DeviceResult::NoDevice;
    // The programs handle their own signals.
    sdl->setHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl->initSubSystem(SDL_INIT_AUDIO) != 0) return DeviceResult::NoDevice;
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(format.samplesPerSec);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = callbackFrames;
    wanted.callback = &SdlWaveOut::callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No format changes allowed: SDL converts for the hardware if it must.
    device_ = sdl->openAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (!device_) {
        sdl->quitSubSystem(SDL_INIT_AUDIO);
        return DeviceResult::NoDevice;
    }
    sdl_ = sdl;
    volume_ = fullVolume;
    sdl_->pauseAudioDevice(device_, 0);
    return DeviceResult::Ok;
}

void SdlWaveOut::close() {
    if (!device_) return;
    // Waits for a running callback; none runs afterwards.
    sdl_->closeAudioDevice(device_);
    device_ = 0;
    queue_.clear();
    sdl_->quitSubSystem(SDL_INIT_AUDIO);
    sdl_ = nullptr;
}

DeviceResult SdlWaveOut::prepare(PlayHeader& header) {
    if (!device_) return DeviceResult::NotOpen;
    header.flags |= header_flag::prepared;
    return DeviceResult::Ok;
}

DeviceResult SdlWaveOut::setVolume(std::uint32_t volumeWord) {
    if (!device_) return DeviceResult::NotOpen;
    DeviceLock lock(sdl_, device_);
    // A mono device follows the left channel.
    volume_ = static_cast<std::uint16_t>(volumeWord & 0xFFFF);
    return DeviceResult::Ok;
}

DeviceResult SdlWaveOut::write(PlayHeader& header) {
    if (!device_) return DeviceResult::NotOpen;
    if (!(header.flags & header_flag::prepared)) return DeviceResult::Unprepared;
    if (isQueued(header)) return DeviceResult::StillPlaying;
    const std::uint32_t sampleCount = header.data ? header.bufferLength / 2 : 0;
    if (sampleCount == 0) {
        header.flags = (header.flags | header_flag::done) & ~header_flag::inQueue;
        return DeviceResult::Ok;
    }
    constexpr std::uint32_t wholeLoop = header_flag::beginLoop | header_flag::endLoop;
    const std::uint32_t plays =
        (header.flags & wholeLoop) == wholeLoop ? std::max<std::uint32_t>(header.loops, 1) : 1;
    header.flags = (header.flags & ~header_flag::done) | header_flag::inQueue;
    DeviceLock lock(sdl_, device_);
    queue_.push_back(Queued{&header, header.data, sampleCount, 0, plays});
    return DeviceResult::Ok;
}

DeviceResult SdlWaveOut::reset() {
    if (!device_) return DeviceResult::NotOpen;
    std::deque<Queued> stopped;
    {
        DeviceLock lock(sdl_, device_);
        stopped.swap(queue_);
    }
    for (const Queued& q : stopped)
        q.header->flags = (q.header->flags | header_flag::done) & ~header_flag::inQueue;
    return DeviceResult::Ok;
}

DeviceResult SdlWaveOut::unprepare(PlayHeader& header) {
    if (!device_) return DeviceResult::NotOpen;
    if (isQueued(header)) return DeviceResult::StillPlaying;
    if (header.flags & header_flag::inQueue)  // finished on its own
        header.flags = (header.flags | header_flag::done) & ~header_flag::inQueue;
    header.flags &= ~header_flag::prepared;
    return DeviceResult::Ok;
}

bool SdlWaveOut::isPlaying() const {
    if (!device_) return false;
    DeviceLock lock(sdl_, device_);
    return !queue_.empty();
}

bool SdlWaveOut::isQueued(const PlayHeader& header) const {
    DeviceLock lock(sdl_, device_);
    return std::any_of(queue_.begin(), queue_.end(), [&](const Queued& q) { return q.header == &header; });
}

void SdlWaveOut::callback(void* self, std::uint8_t* stream, int length) {
    static_cast<SdlWaveOut*>(self)->fill(reinterpret_cast<std::int16_t*>(stream),
                                         static_cast<std::size_t>(length) / sizeof(std::int16_t));
}

// Runs on the audio thread with the device lock held.
void SdlWaveOut::fill(std::int16_t* out, std::size_t count) {
    const std::int32_t volume = volume_;
    std::size_t i = 0;
    while (i < count && !queue_.empty()) {
        Queued& q = queue_.front();
        while (i < count && q.next < q.sampleCount) {
            const std::int32_t sample = sampleAt(q.data + 2 * static_cast<std::size_t>(q.next++));
            out[i++] = static_cast<std::int16_t>(sample * volume / fullVolume);
        }
        if (q.next < q.sampleCount) break;
        if (q.playsLeft > 1) {
            --q.playsLeft;
            q.next = 0;
        } else {
            queue_.pop_front();
        }
    }
    std::fill(out + i, out + count, std::int16_t{0});
}

std::unique_ptr<WaveOutDevice> makeSystemWaveOut() { return std::make_unique<SdlWaveOut>(); }

}  // namespace calyx::audio
