// Time as seen by speech playback: seconds from an arbitrary start, never going back.
// The window and the speaker use the steady clock; tests and offline rendering drive a
// manual one, so timing can be checked without waiting.
#pragma once

#include <chrono>

namespace tamzel::speech {

class PlaybackClock {
public:
    virtual ~PlaybackClock() = default;
    virtual double Seconds() const = 0;
};

class SteadyPlaybackClock : public PlaybackClock {
public:
    double Seconds() const override {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

class ManualPlaybackClock : public PlaybackClock {
public:
    double Seconds() const override { return now_; }
    void Advance(double seconds) { now_ += seconds; }

private:
    double now_ = 0.0;
};

}  // namespace tamzel::speech
