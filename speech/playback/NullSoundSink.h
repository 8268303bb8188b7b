// A sound sink without sound, for tests and machines without a sound card that still want
// the timing: each voice "plays" its recording at its set rate against a PlaybackClock, so
// its position advances as a real one would, and every start is logged with its settings.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "speech/playback/PlaybackClock.h"
#include "speech/playback/SoundSink.h"

namespace tamzel::speech {

class NullSoundSink : public SoundSink {
public:
    // One start of a voice: which voice (in creation order) and with what settings.
    struct Start {
        int voice = 0;
        double seconds = 0.0;
        int32_t frequency = 0;
        int32_t volume = 0;
        int32_t pan = 0;
    };

    // `devices` is what CountDevices reports, so the no-sound path can be tested.
    explicit NullSoundSink(const PlaybackClock& clock, int devices = 1)
        : clock_(clock), devices_(devices) {}

    int CountDevices() override { return devices_; }
    void Open() override { opened_ = true; }
    std::unique_ptr<SoundVoice> CreateVoice(const PcmView& pcm) override;

    bool opened() const { return opened_; }
    int voicesCreated() const { return voicesCreated_; }
    const std::vector<Start>& starts() const { return starts_; }

private:
    friend class NullVoice;
    const PlaybackClock& clock_;
    int devices_;
    bool opened_ = false;
    int voicesCreated_ = 0;
    std::vector<Start> starts_;
};

}  // namespace tamzel::speech
