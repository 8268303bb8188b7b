// Sound sinks on OpenAL Soft: the default output device, and a loopback device that mixes
// into memory on request (offline rendering and tests without a sound card).
//
// Panning: OpenAL pans a mono source by its position, which spreads sound over both
// channels and does not give "far channel at -|pan| dB, near channel at 0 dB". Each voice
// therefore plays its recording through two sources with direct channels: one holds a
// stereo buffer with the samples in the left channel only, the other the same samples in
// the right channel only. Both start together (alSourcePlayv) and share pitch; each gets
// its own gain, so the two channels are attenuated exactly and independently.
//
// All calls come from one thread. Each sink owns its own context and makes it current
// before touching OpenAL, so several sinks may live in one process.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "speech/playback/SoundSink.h"

namespace tamzel::speech {

struct AlOutput;  // device + context, shared by a sink and its voices

class OpenAlSink : public SoundSink {
public:
    ~OpenAlSink() override;
    std::unique_ptr<SoundVoice> CreateVoice(const PcmView& pcm) override;

protected:
    std::shared_ptr<AlOutput> output_;
};

// The system's default output (or the first one that opens).
class OpenAlDeviceSink : public OpenAlSink {
public:
    int CountDevices() override;
    void Open() override;
};

// A device without speakers: Render() mixes the next frames into memory.
class OpenAlLoopbackSink : public OpenAlSink {
public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2;

    int CountDevices() override;
    void Open() override;
    // Mixes `frames` stereo frames of 16-bit samples and appends them to `out`.
    void Render(size_t frames, std::vector<int16_t>& out);
    // Frames mixed since Open(); the loopback's own clock.
    uint64_t RenderedFrames() const { return rendered_; }
    double RenderedSeconds() const { return static_cast<double>(rendered_) / kSampleRate; }

private:
    uint64_t rendered_ = 0;
};

// Names of the output devices OpenAL lists (some of which may fail to open).
std::vector<std::string> ListedOutputDevices();

}  // namespace tamzel::speech
