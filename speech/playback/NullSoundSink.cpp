#include "speech/playback/NullSoundSink.h"

#include <algorithm>
#include <cmath>

namespace tamzel::speech {

class NullVoice : public SoundVoice {
public:
    NullVoice(NullSoundSink& sink, int index, const PcmView& pcm)
        : sink_(sink), index_(index), blockAlign_(std::max<size_t>(1, pcm.BlockAlign())),
          size_(static_cast<int64_t>(pcm.bytes / blockAlign_ * blockAlign_)) {}

    int64_t Size() const override { return size_; }

    int64_t Position() const override {
        if (!started_) return offset_;
        double frames = (sink_.clock_.Seconds() - startedAt_) * frequency_;
        int64_t played = offset_ + static_cast<int64_t>(std::floor(frames)) * static_cast<int64_t>(blockAlign_);
        return std::clamp<int64_t>(played, 0, size_);
    }

    void SetPosition(int64_t bytes) override {
        bool wasPlaying = Playing();
        offset_ = std::clamp<int64_t>(bytes, 0, size_) / blockAlign_ * blockAlign_;
        started_ = false;
        if (wasPlaying) Start(), restarted_ = true;
    }

    void SetFrequency(int32_t samplesPerSecond) override {
        // Keep the position continuous when the rate changes under a playing voice.
        if (Playing()) offset_ = Position(), startedAt_ = sink_.clock_.Seconds();
        frequency_ = std::max(1, samplesPerSecond);
    }
    void SetVolume(int32_t hundredthsOfDb) override { volume_ = std::min(0, hundredthsOfDb); }
    void SetPan(int32_t hundredthsOfDb) override { pan_ = hundredthsOfDb; }

    // Logs a start with the settings in force now, also for a voice that SetPosition
    // restarted just before (its settings are usually set between the two calls).
    void Play() override {
        if (!Playing()) {
            if (started_) offset_ = 0;  // a voice that played to its end starts over
            Start();
        } else if (!restarted_) {
            return;
        }
        restarted_ = false;
        sink_.starts_.push_back({index_, startedAt_, frequency_, volume_, pan_});
    }

    bool Playing() const override { return started_ && Position() < size_; }

private:
    void Start() {
        started_ = true;
        startedAt_ = sink_.clock_.Seconds();
    }

    NullSoundSink& sink_;
    int index_;
    size_t blockAlign_;
    int64_t size_;
    int64_t offset_ = 0;
    bool started_ = false;
    bool restarted_ = false;
    double startedAt_ = 0.0;
    int32_t frequency_ = 22050;
    int32_t volume_ = 0;
    int32_t pan_ = 0;
};

std::unique_ptr<SoundVoice> NullSoundSink::CreateVoice(const PcmView& pcm) {
    return std::make_unique<NullVoice>(*this, voicesCreated_++, pcm);
}

}  // namespace tamzel::speech
