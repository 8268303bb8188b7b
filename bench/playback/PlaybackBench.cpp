// Speech playback figures:
//   SpeakToFirstUnit  Speak of a 200-character answer plus the tick that starts its first
//                     unit (preparation, dictionary read, voice start).
//   IdleTick          a tick while nothing is spoken.
//   WaitingTick       a tick while the current unit still plays (one position query).
//   PollingWhileSpeaking  a real-time utterance polled every millisecond: CPU against wall
//                     time is the share of a core the polling costs.
//   OfflineRender     Speak and render through the loopback device, counter "audio_s" is
//                     the length of the rendered speech.
// The voice pack and dictionary come from TAMZEL_HOME (environment) or the build's
// program folder.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "base/Codepage.h"
#include "speech/playback/NullSoundSink.h"
#include "speech/playback/SpeechDriver.h"

namespace tamzel::speech {
namespace {

std::string Home() {
    const char* home = std::getenv("TAMZEL_HOME");
    return home ? home : TAMZEL_HOME_DIR;
}


// An answer of about `chars` characters made of ordinary sentences.
std::string Answer(size_t chars) {
    const std::string sentences[] = {base::Cp1250("Dobrý deň, volám sa Tamzel. "), base::Cp1250("Ako sa dnes máš? "),
                                     base::Cp1250("Mám rád dlhé rozhovory o počasí a o knihách. ")};
    std::string text;
    for (size_t i = 0; text.size() < chars; ++i) text += sentences[i % 3];
    return text.substr(0, chars);
}

struct Rig {
    explicit Rig(SoundSink& sink, const PlaybackClock& clock) : speech(sink, face, settings, clock) {
        speech.packFolder = Home() + "/gorvin";
        speech.dictionaryPath = Home() + "/files/slovnik.vox";
        speech.onMessage = nullptr;
        if (!speech.InitSpeech(true) || !speech.SoundAvailable()) throw SoundError("no sound output");
    }
    FaceAnimator face;
    FixedSpeechSettings settings;
    SpeechOutput speech;
};

void SpeakToFirstUnit(benchmark::State& state) {
    OpenAlLoopbackSink sink;
    LoopbackClock clock(sink);
    Rig rig(sink, clock);
    const std::string text = Answer(200);
    for (auto _ : state) {
        if (!rig.speech.Speak(text)) std::abort();
        rig.speech.SpeechTick();
        benchmark::DoNotOptimize(rig.speech.PlayPosition);
    }
    state.counters["chars"] = static_cast<double>(text.size());
}
BENCHMARK(SpeakToFirstUnit)->Unit(benchmark::kMicrosecond);

void IdleTick(benchmark::State& state) {
    ManualPlaybackClock clock;
    NullSoundSink sink(clock);
    Rig rig(sink, clock);
    for (auto _ : state) {
        rig.speech.SpeechTick();
        benchmark::DoNotOptimize(rig.speech.Speaking);
    }
}
BENCHMARK(IdleTick);

void WaitingTick(benchmark::State& state) {
    OpenAlLoopbackSink sink;
    LoopbackClock clock(sink);
    Rig rig(sink, clock);
    if (!rig.speech.Speak(Answer(200))) std::abort();
    rig.speech.SpeechTick();  // the first unit plays and is not rendered on: every tick waits
    for (auto _ : state) {
        rig.speech.SpeechTick();
        benchmark::DoNotOptimize(rig.speech.PlayPosition);
    }
    if (rig.speech.PlayPosition != 1) state.SkipWithError("the tick did not wait");
}
BENCHMARK(WaitingTick);

void PollingWhileSpeaking(benchmark::State& state) {
    SteadyPlaybackClock clock;
    NullSoundSink sink(clock);
    Rig rig(sink, clock);
    for (auto _ : state) {
        if (!rig.speech.Speak(Answer(30))) std::abort();
        PlayUntilSilent(rig.speech);
    }
}
BENCHMARK(PollingWhileSpeaking)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void OfflineRender(benchmark::State& state) {
    const std::string text = Answer(static_cast<size_t>(state.range(0)));
    double audio = 0;
    for (auto _ : state) {
        OpenAlLoopbackSink sink;
        LoopbackClock clock(sink);
        Rig rig(sink, clock);
        if (!rig.speech.Speak(text)) std::abort();
        audio = RenderUntilSilent(rig.speech, sink).samples.size() / 2.0 / OpenAlLoopbackSink::kSampleRate;
    }
    state.counters["audio_s"] = audio;
}
BENCHMARK(OfflineRender)->Arg(75)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tamzel::speech

BENCHMARK_MAIN();
