// Driving an utterance to its end outside the window: offline through the loopback device
// (the speech tick runs at a simulated idle-loop rate against the rendered time, so the
// result is the same on every machine and takes a fraction of real time), or live on the
// sound device with a short sleep between ticks instead of a busy loop.
//
//   OpenAlLoopbackSink sink;  LoopbackClock clock(sink);
//   SpeechOutput speech(sink, face, settings, clock);
//   speech.InitSpeech(true);  speech.Speak(text);
//   OfflineRender r = RenderUntilSilent(speech, sink);   // r.samples: 44.1 kHz stereo
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "speech/playback/OpenAlSink.h"
#include "speech/playback/PlaybackClock.h"
#include "speech/playback/SpeechOutput.h"

namespace tamzel::speech {

// The loopback device's rendered time as a clock.
class LoopbackClock : public PlaybackClock {
public:
    explicit LoopbackClock(const OpenAlLoopbackSink& sink) : sink_(sink) {}
    double Seconds() const override { return sink_.RenderedSeconds(); }

private:
    const OpenAlLoopbackSink& sink_;
};

struct OfflineRender {
    std::vector<int16_t> samples;  // interleaved stereo, OpenAlLoopbackSink::kSampleRate
    double speakingSeconds = 0.0;  // rendered time when Speaking went off
    long ticks = 0;
    bool cutOff = false;           // stopped by the time limit
};

struct OfflineTiming {
    double tickSeconds = 0.001;    // the simulated idle loop
    double limitSeconds = 600.0;   // never render more than this
};

// Ticks and renders from the loopback's current time until the utterance has ended and no
// unit voice sounds any more.
OfflineRender RenderUntilSilent(SpeechOutput& speech, OpenAlLoopbackSink& sink, OfflineTiming timing = {});

// Ticks every `poll` of real time while speaking, then waits for the last units to fade.
void PlayUntilSilent(SpeechOutput& speech, std::chrono::microseconds poll = std::chrono::milliseconds(1));

}  // namespace tamzel::speech
