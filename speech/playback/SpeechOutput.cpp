#include "speech/playback/SpeechOutput.h"

#include <cmath>
#include <cstdio>

#include "base/Codepage.h"

namespace tamzel::speech {
namespace {

constexpr int32_t kNeutralRate = 22050;
constexpr int32_t kPitchStep = 500;

void PrintToStandardError(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", base::ToUtf8(title).c_str(), base::ToUtf8(text).c_str());
}

PcmView ViewOf(const WaveSound& sound) {
    PcmView pcm;
    pcm.channels = 1;
    pcm.bitsPerSample = 16;
    pcm.sampleRate = static_cast<int>(sound.sampleRate);
    pcm.data = reinterpret_cast<const uint8_t*>(sound.samples.data());
    pcm.bytes = sound.samples.size() * sizeof(int16_t);
    return pcm;
}

}  // namespace

int32_t PanOf(const ScreenPlacement& p) {
    if (p.screenWidth <= 0) return 0;
    double centre = p.windowLeft + p.windowWidth / 2.0 - p.screenWidth / 2.0;
    return static_cast<int32_t>(std::nearbyint(centre / p.screenWidth * 1000.0));
}

SpeechOutput::SpeechOutput(SoundSink& sink, FaceAnimator& face, const SpeechSettings& settings,
                           const PlaybackClock& clock)
    : onMessage(PrintToStandardError), sink_(sink), face_(face), settings_(settings), clock_(clock) {}

SpeechOutput::~SpeechOutput() = default;

base::Status SpeechOutput::InitSpeech(bool speechChecked) {
    soundAvailable_ = false;
    return Guarded([&] { OpenSpeech(speechChecked); });
}

void SpeechOutput::OpenSpeech(bool speechChecked) {
    pack_ = std::make_shared<const VoicePack>(packFolder);
    if (base::Status loaded = face_.Load(pack_); !loaded) throw SpeechError(loaded.message());
    if (sink_.CountDevices() == 0) {
        if (speechChecked && onMessage)
            onMessage(base::Cp1250("Pozor"),
                      base::Cp1250("Na tomto počítači nie je nainštalovaná zvuková karta. "
                                 "Syntéza reči bola automaticky deaktivovaná."));
        return;
    }
    Speaking = false;
    PlayPosition = 0;
    sink_.Open();
    for (int k = 1; k <= kSoundUnitCount; ++k) {
        WaveSound sound = pack_->ReadUnitSound(UnitAlphabet[k - 1]);
        UnitVoice[k - 1] = sink_.CreateVoice(ViewOf(sound));
        UnitVoice[k - 1]->SetPosition(0);
        UnitVoice[k - 1]->SetVolume(0);
        UnitVoice[k - 1]->SetFrequency(kNeutralRate);
    }
    soundAvailable_ = true;
}

// Prepares first and changes nothing until that succeeded: a missing dictionary must not
// disturb an utterance that is still playing.
base::Status SpeechOutput::Speak(const std::string& text) {
    if (!soundAvailable_) return base::Ok();
    SpeechRequest request;
    request.text = text;
    if (userNames) std::tie(request.userName, request.userNamePronunciation) = userNames();
    request.dictionaryPath = dictionaryPath;
    base::Result<PreparedSpeech> prepared = PrepareSpeechText(request);
    if (!prepared) return prepared.error();
    StartUtterance(std::move(*prepared));
    return base::Ok();
}

void SpeechOutput::StartUtterance(PreparedSpeech prepared) {
    PitchOffset = 0;
    UnitString = std::move(prepared.unitString);
    Contour = std::move(prepared.contour);
    Speaking = true;
    PlayPosition = 0;
}

void SpeechOutput::SpeechTick() {
    if (!Speaking || WaitingForCurrentUnit()) return;
    ++PlayPosition;
    if (PlayPosition > static_cast<int>(UnitString.size())) {
        Speaking = false;
        return;
    }
    char c = UnitString[PlayPosition - 1];
    if (c == kPitchMark) {
        if (PitchOffset == 0) PitchOffset = kPitchStep;
        PitchOffset = -PitchOffset;
    }
    if (UnitAlphabet.find(c) == std::string_view::npos) return;
    StartUnit(c);
}

void SpeechOutput::StopSpeech() {
    Speaking = false;
    face_.ShowUnitFrame(kShortPause);
}

bool SpeechOutput::AnyVoicePlaying() const {
    for (const auto& voice : UnitVoice)
        if (voice && voice->Playing()) return true;
    return false;
}

// The unit started last holds the next one back until it has played far enough. A
// recording without samples never gets a position above 0, so it is not waited for.
bool SpeechOutput::WaitingForCurrentUnit() const {
    if (PlayPosition <= 0 || PlayPosition > static_cast<int>(UnitString.size())) return false;
    int k = UnitNumber(UnitString[PlayPosition - 1]);
    if (k == 0) return false;
    const SoundVoice& voice = *UnitVoice[k - 1];
    int64_t size = voice.Size();
    if (size == 0) return false;
    return static_cast<double>(voice.Position()) <=
           static_cast<double>(size) * (150.0 - settings_.Speed()) / 100.0;
}

void SpeechOutput::StartUnit(char c) {
    face_.ShowUnitFrame(c);
    char played = PlayedUnit(c);
    UnitString[PlayPosition - 1] = played;  // face codes are overwritten by their pause
    SoundVoice& voice = *UnitVoice[UnitNumber(played) - 1];
    int contour = PlayPosition <= static_cast<int>(Contour.size()) ? Contour[PlayPosition - 1] : 128;
    UnitStarted started{PlayPosition, c, played, clock_.Seconds(), 0, 0, 0};
    started.pan = placement ? PanOf(placement()) : 0;
    started.frequency = kNeutralRate + (contour - 128) * settings_.Intonation() + PitchOffset;
    started.volume = std::min(0, contour * 6 + settings_.Volume() - 1568);
    voice.SetPan(started.pan);
    voice.SetPosition(0);
    voice.SetFrequency(started.frequency);
    voice.SetVolume(started.volume);
    voice.Play();
    if (onUnitStarted) onUnitStarted(started);
}

}  // namespace tamzel::speech
