#include "speech/playback/SpeechDriver.h"

#include <cmath>
#include <thread>

namespace tamzel::speech {

OfflineRender RenderUntilSilent(SpeechOutput& speech, OpenAlLoopbackSink& sink, OfflineTiming timing) {
    OfflineRender result;
    const uint64_t start = sink.RenderedFrames();
    const double rate = OpenAlLoopbackSink::kSampleRate;
    const auto limit = static_cast<uint64_t>(timing.limitSeconds * rate);
    long steps = 0;
    while (speech.Speaking || speech.AnyVoicePlaying()) {
        uint64_t done = sink.RenderedFrames() - start;
        if (done >= limit) {
            result.cutOff = true;
            break;
        }
        if (speech.Speaking) {
            speech.SpeechTick();
            ++result.ticks;
            if (!speech.Speaking) result.speakingSeconds = static_cast<double>(done) / rate;
        }
        // Frames up to the next tick, rounded from the step count so no drift builds up.
        ++steps;
        auto next =
            static_cast<uint64_t>(std::llround(static_cast<double>(steps) * timing.tickSeconds * rate));
        sink.Render(next > done ? next - done : 1, result.samples);
    }
    return result;
}

void PlayUntilSilent(SpeechOutput& speech, std::chrono::microseconds poll) {
    while (speech.Speaking) {
        speech.SpeechTick();
        std::this_thread::sleep_for(poll);
    }
    while (speech.AnyVoicePlaying()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

}  // namespace tamzel::speech
