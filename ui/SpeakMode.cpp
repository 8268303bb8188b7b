// --speak TEXT: speaks an answer outside the window, as the window would, with the voice
// pack of the program folder. With --wav OUT.wav it renders offline through the loopback
// device and writes a 44.1 kHz stereo 16-bit WAV file; without it, it plays on the default
// sound device and returns when the last unit has faded. --verbose prints the unit string,
// the contour and every face frame; --frames FILE writes the frames with their times.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Files.h"
#include "base/Codepage.h"
#include "profiles/ProfileStore.h"
#include "speech/playback/OpenAlSink.h"
#include "speech/playback/SpeechDriver.h"
#include "speech/playback/SpeechOutput.h"
#include "speech/playback/WaveFile.h"
#include "speech/text/SpeechLevels.h"
#include "ui/Modes.h"

namespace tamzel::ui {
namespace {

using base::FromUtf8Lossy;
using base::ToUtf8;

// What the face would draw, with the time and the unit that drew it.
class FrameLog : public speech::FaceSurface {
public:
    struct Frame {
        double seconds = 0;
        std::string name;
        int x = 0, y = 0;
        char unit = 0;
    };
    explicit FrameLog(const speech::PlaybackClock& clock) : clock_(clock) {}
    speech::FaceView View() const override { return {}; }
    void DrawFrame(const std::string& name, const speech::JpegImage&, int x, int y) override {
        frames.push_back({clock_.Seconds(), name, x, y, 0});
    }
    void RepaintWindow() override {}
    void RepaintLabel() override {}
    std::vector<Frame> frames;

private:
    const speech::PlaybackClock& clock_;
};

struct SpeakOptions {
    std::string text;  // Windows-1250
    speech::FixedSpeechSettings settings;
    std::string userName, pronunciation;
};

bool ReadLevel(const CommandLine& cl, const char* key, const speech::LevelRange& levels,
               int& level) {
    auto value = cl.GetInt(key, level);
    if (!value || !levels.Contains(*value)) {
        std::fprintf(stderr, "Voľba %s potrebuje celé číslo od %d do %d.\n", key, levels.min,
                     levels.max);
        return false;
    }
    level = static_cast<int>(*value);
    return true;
}

// The signed-in user's levels and name first, then what the command line sets.
std::optional<SpeakOptions> ReadOptions(const CommandLine& cl) {
    SpeakOptions o;
    o.text = base::FromUtf8Lossy(*cl.Get("--speak"));
    if (auto user = cl.Get("--user")) {
        auto profile = profiles::ProfileStore().LoadSignIn(base::FromUtf8Lossy(*user));
        if (!profile) {
            std::fprintf(stderr, "%s\n", base::ToUtf8(profile.message()).c_str());
            return std::nullopt;
        }
        o.userName = profile->data.name;
        o.pronunciation = profile->data.pronunciation;
        o.settings.volume = profile->config.volume;
        o.settings.speed = profile->config.speed;
        o.settings.intonation = profile->config.intonation;
    }
    if (!ReadLevel(cl, "--volume", speech::kVolumeLevels, o.settings.volume) ||
        !ReadLevel(cl, "--speed", speech::kSpeedLevels, o.settings.speed) ||
        !ReadLevel(cl, "--intonation", speech::kIntonationLevels, o.settings.intonation))
        return std::nullopt;
    return o;
}

void PrintPrepared(const speech::SpeechOutput& s) {
    std::printf("Jednotky: %s\nIntonácia:", base::ToUtf8(s.UnitString).c_str());
    for (uint8_t v : s.Contour) std::printf(" %u", v);
    std::printf("\n");
}

std::string FramesText(const std::vector<FrameLog::Frame>& frames) {
    std::string text = "# sekundy\tsnímka\tx\ty\tjednotka\n";
    char line[160];
    for (const auto& f : frames) {
        std::string unit = f.unit ? base::ToUtf8(std::string(1, f.unit)) : "";
        std::snprintf(line, sizeof line, "%.4f\t%s\t%d\t%d\t%s\n", f.seconds, f.name.c_str(), f.x, f.y,
                      unit.c_str());
        text += line;
    }
    return text;
}

// Speaks on `sink`, rendering offline when `loopback` is given, and reports what happened.
int SpeakOn(const CommandLine& cl, const SpeakOptions& o, speech::SoundSink& sink,
            speech::OpenAlLoopbackSink* loopback, const speech::PlaybackClock& clock) {
    speech::FaceAnimator face;
    FrameLog frames(clock);
    face.SetSurface(&frames);
    speech::SpeechOutput speech(sink, face, o.settings, clock);
    speech.userNames = [&o] { return std::make_pair(o.userName, o.pronunciation); };
    speech.onUnitStarted = [&frames](const speech::UnitStarted& u) {
        if (!frames.frames.empty() && frames.frames.back().unit == 0) frames.frames.back().unit = u.character;
    };
    base::Status ready = speech.InitSpeech(true);
    if (ready) ready = speech.Speak(o.text);
    if (!ready) return std::fprintf(stderr, "%s\n", base::ToUtf8(ready.message()).c_str()), 1;
    if (!speech.SoundAvailable()) return 1;
    if (cl.Has("--verbose")) PrintPrepared(speech);
    std::vector<int16_t> samples;
    if (loopback) {
        speech::OfflineRender render = speech::RenderUntilSilent(speech, *loopback);
        samples = std::move(render.samples);
        if (cl.Has("--verbose"))
            std::printf("Dĺžka: %.3f s, reč skončila po %.3f s, %ld tikov\n",
                        static_cast<double>(samples.size()) / 2.0 /
                            speech::OpenAlLoopbackSink::kSampleRate,
                        render.speakingSeconds, render.ticks);
    } else {
        speech::PlayUntilSilent(speech);
    }
    if (cl.Has("--verbose")) std::fputs(FramesText(frames.frames).c_str(), stdout);
    if (auto path = cl.Get("--frames")) {
        base::Status written = base::WriteFileAtomically(*path, FramesText(frames.frames));
        if (!written) return std::fprintf(stderr, "%s\n", written.message().c_str()), 1;
    }
    if (auto path = cl.Get("--wav")) {
        base::Status written = base::WriteFileAtomically(
            *path, speech::EncodeWave(samples, speech::OpenAlLoopbackSink::kChannels,
                                      speech::OpenAlLoopbackSink::kSampleRate));
        if (!written) return std::fprintf(stderr, "%s\n", written.message().c_str()), 1;
    }
    return 0;
}

}  // namespace

void ResolveSpeakOutputs(CommandLine& cl) {
    for (const char* key : {"--wav", "--frames"}) {
        auto it = cl.options.find(key);
        if (it == cl.options.end() || it->second.empty()) continue;
        std::error_code ec;
        auto absolute = std::filesystem::absolute(std::filesystem::path(it->second), ec);
        if (!ec) it->second = absolute.string();
    }
}

int RunSpeak(const CommandLine& cl) {
    auto options = ReadOptions(cl);
    if (!options) return 2;
    try {
        if (cl.Get("--wav")) {
            speech::OpenAlLoopbackSink sink;
            speech::LoopbackClock clock(sink);
            return SpeakOn(cl, *options, sink, &sink, clock);
        }
        speech::OpenAlDeviceSink sink;
        speech::SteadyPlaybackClock clock;
        return SpeakOn(cl, *options, sink, nullptr, clock);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", base::ToUtf8(e.what()).c_str());
        return 1;
    }
}

}  // namespace tamzel::ui
