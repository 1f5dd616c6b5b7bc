#include "audio/wave_out_win.h"

#include "audio/system_wave_out.h"

#include "platform/win32.h"
// After windows.h, which it needs.
#include <mmsystem.h>

namespace calyx::audio {
namespace {

DeviceResult resultOf(MMRESULT result) {
    switch (result) {
        case MMSYSERR_NOERROR: return DeviceResult::Ok;
        case MMSYSERR_BADDEVICEID:
        case MMSYSERR_NODRIVER:
        case MMSYSERR_ALLOCATED: return DeviceResult::NoDevice;
        case MMSYSERR_INVALHANDLE: return DeviceResult::NotOpen;
        case MMSYSERR_INVALPARAM: return DeviceResult::InvalidParam;
        case WAVERR_BADFORMAT: return DeviceResult::BadFormat;
        case WAVERR_STILLPLAYING: return DeviceResult::StillPlaying;
        case WAVERR_UNPREPARED: return DeviceResult::Unprepared;
        default: return DeviceResult::Error;
    }
}

// The system writes a queued header's flags from its own thread.
DWORD flagsOf(const WAVEHDR& header) { return static_cast<const volatile DWORD&>(header.dwFlags); }

constexpr std::uint32_t stateFlags = header_flag::done | header_flag::inQueue;

}  // namespace

struct WinWaveOut::SystemHeaders {
    HWAVEOUT device = nullptr;
    std::map<PlayHeader*, std::unique_ptr<WAVEHDR>> byHeader;

    WAVEHDR* find(const PlayHeader& header) {
        auto found = byHeader.find(const_cast<PlayHeader*>(&header));
        return found == byHeader.end() ? nullptr : found->second.get();
    }
    // Copies the system's done and queued bits into the caller's header.
    static void readBack(PlayHeader& header, const WAVEHDR& system) {
        const DWORD flags = flagsOf(system);
        header.flags = (header.flags & ~stateFlags) | (flags & WHDR_DONE ? header_flag::done : 0) |
                       (flags & WHDR_INQUEUE ? header_flag::inQueue : 0);
    }
};

WinWaveOut::WinWaveOut() : headers_(std::make_unique<SystemHeaders>()) {}

WinWaveOut::~WinWaveOut() { close(); }

DeviceResult WinWaveOut::open(const WaveFormat& format) {
    close();
    if (format.formatTag != pcmFormatTag || !isAcceptedFormat(format)) return DeviceResult::BadFormat;
    WAVEFORMATEX wanted{};
    wanted.wFormatTag = WAVE_FORMAT_PCM;
    wanted.nChannels = format.channels;
    wanted.nSamplesPerSec = format.samplesPerSec;
    wanted.nAvgBytesPerSec = format.avgBytesPerSec;
    wanted.nBlockAlign = format.blockAlign;
    wanted.wBitsPerSample = format.bitsPerSample;
    HWAVEOUT device = nullptr;
    const MMRESULT result = ::waveOutOpen(&device, WAVE_MAPPER, &wanted, 0, 0, CALLBACK_NULL);
    if (result != MMSYSERR_NOERROR) {
        const DeviceResult answer = resultOf(result);
        return answer == DeviceResult::BadFormat ? answer : DeviceResult::NoDevice;
    }
    headers_->device = device;
    return DeviceResult::Ok;
}

void WinWaveOut::close() {
    if (!headers_->device) return;
    ::waveOutReset(headers_->device);
    for (auto& [header, system] : headers_->byHeader) {
        ::waveOutUnprepareHeader(headers_->device, system.get(), sizeof(WAVEHDR));
        header->flags = (header->flags | header_flag::done) & ~(header_flag::inQueue | header_flag::prepared);
    }
    headers_->byHeader.clear();
    ::waveOutClose(headers_->device);
    headers_->device = nullptr;
}

DeviceResult WinWaveOut::prepare(PlayHeader& header) {
    if (!headers_->device) return DeviceResult::NotOpen;
    if (headers_->find(header)) return DeviceResult::Ok;
    auto system = std::make_unique<WAVEHDR>();
    system->lpData = reinterpret_cast<LPSTR>(const_cast<std::uint8_t*>(header.data));
    system->dwBufferLength = header.data ? header.bufferLength : 0;
    const MMRESULT result = ::waveOutPrepareHeader(headers_->device, system.get(), sizeof(WAVEHDR));
    if (result != MMSYSERR_NOERROR) return resultOf(result);
    headers_->byHeader.emplace(&header, std::move(system));
    header.flags |= header_flag::prepared;
    return DeviceResult::Ok;
}

DeviceResult WinWaveOut::setVolume(std::uint32_t volumeWord) {
    if (!headers_->device) return DeviceResult::NotOpen;
    return resultOf(::waveOutSetVolume(headers_->device, volumeWord));
}

DeviceResult WinWaveOut::write(PlayHeader& header) {
    if (!headers_->device) return DeviceResult::NotOpen;
    WAVEHDR* system = headers_->find(header);
    if (!system || !(header.flags & header_flag::prepared)) return DeviceResult::Unprepared;
    // The caller may have changed the loop bits and count since preparing.
    system->dwFlags = (flagsOf(*system) & ~(WHDR_BEGINLOOP | WHDR_ENDLOOP)) |
                      (header.flags & header_flag::beginLoop ? WHDR_BEGINLOOP : 0) |
                      (header.flags & header_flag::endLoop ? WHDR_ENDLOOP : 0);
    system->dwLoops = header.loops;
    const MMRESULT result = ::waveOutWrite(headers_->device, system, sizeof(WAVEHDR));
    SystemHeaders::readBack(header, *system);
    return resultOf(result);
}

DeviceResult WinWaveOut::reset() {
    if (!headers_->device) return DeviceResult::NotOpen;
    const MMRESULT result = ::waveOutReset(headers_->device);
    for (auto& [header, system] : headers_->byHeader) SystemHeaders::readBack(*header, *system);
    return resultOf(result);
}

DeviceResult WinWaveOut::unprepare(PlayHeader& header) {
    if (!headers_->device) return DeviceResult::NotOpen;
    WAVEHDR* system = headers_->find(header);
    if (!system) {
        header.flags &= ~header_flag::prepared;
        return DeviceResult::Ok;
    }
    const MMRESULT result = ::waveOutUnprepareHeader(headers_->device, system, sizeof(WAVEHDR));
    SystemHeaders::readBack(header, *system);
    if (result != MMSYSERR_NOERROR) return resultOf(result);
    header.flags &= ~header_flag::prepared;
    headers_->byHeader.erase(&header);
    return DeviceResult::Ok;
}

bool WinWaveOut::isPlaying() const {
    if (!headers_->device) return false;
    for (const auto& [header, system] : headers_->byHeader) {
        const DWORD flags = flagsOf(*system);
        if ((flags & WHDR_INQUEUE) && !(flags & WHDR_DONE)) return true;
    }
    return false;
}

std::unique_ptr<WaveOutDevice> makeSystemWaveOut() { return std::make_unique<WinWaveOut>(); }

}  // namespace calyx::audio
