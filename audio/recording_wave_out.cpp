#include "audio/recording_wave_out.h"

namespace calyx::audio {

std::vector<std::string> DeviceLog::names() const {
    std::vector<std::string> out;
    for (const DeviceCall& call : calls) {
        switch (call.op) {
        case DeviceCall::Op::Open: out.emplace_back("open"); break;
        case DeviceCall::Op::Prepare: out.emplace_back("prepare"); break;
        case DeviceCall::Op::SetVolume: out.emplace_back("setVolume"); break;
        case DeviceCall::Op::Write: out.emplace_back("write"); break;
        case DeviceCall::Op::Reset: out.emplace_back("reset"); break;
        case DeviceCall::Op::Unprepare: out.emplace_back("unprepare"); break;
        case DeviceCall::Op::Close: out.emplace_back("close"); break;
        }
    }
    return out;
}

RecordingWaveOut::RecordingWaveOut(std::shared_ptr<DeviceLog> log) : log_(std::move(log)) {
    ++log_->devicesMade;
}

RecordingWaveOut::~RecordingWaveOut() {
    if (open_) close();
}

void RecordingWaveOut::record(DeviceCall::Op op, const PlayHeader* header, std::uint32_t volumeWord,
                              const WaveFormat& format) {
    DeviceCall call{op, header, header ? *header : PlayHeader{}, volumeWord, format};
    log_->calls.push_back(call);
}

DeviceResult RecordingWaveOut::open(const WaveFormat& format) {
    record(DeviceCall::Op::Open, nullptr, 0, format);
    open_ = log_->openResult == DeviceResult::Ok;
    return log_->openResult;
}

DeviceResult RecordingWaveOut::prepare(PlayHeader& header) {
    record(DeviceCall::Op::Prepare, &header);
    header.flags |= header_flag::prepared;
    return DeviceResult::Ok;
}

DeviceResult RecordingWaveOut::setVolume(std::uint32_t volumeWord) {
    record(DeviceCall::Op::SetVolume, nullptr, volumeWord);
    return DeviceResult::Ok;
}

DeviceResult RecordingWaveOut::write(PlayHeader& header) {
    record(DeviceCall::Op::Write, &header);
    header.flags = (header.flags & ~header_flag::done) | header_flag::inQueue;
    playing_ = &header;
    return DeviceResult::Ok;
}

DeviceResult RecordingWaveOut::reset() {
    record(DeviceCall::Op::Reset);
    finishPlaying();
    return log_->resetResult;
}

DeviceResult RecordingWaveOut::unprepare(PlayHeader& header) {
    record(DeviceCall::Op::Unprepare, &header);
    header.flags &= ~header_flag::prepared;
    return DeviceResult::Ok;
}

void RecordingWaveOut::close() {
    record(DeviceCall::Op::Close);
    // The header may be gone by now: it is not touched.
    playing_ = nullptr;
    open_ = false;
}

void RecordingWaveOut::finishPlaying() {
    if (playing_) playing_->flags = (playing_->flags | header_flag::done) & ~header_flag::inQueue;
    playing_ = nullptr;
}

}  // namespace calyx::audio
