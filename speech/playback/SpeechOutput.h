// Speech output: speaks prepared answers unit by unit on a sound sink, one voice per
// sound unit, and shows each unit's face frame.
//
//   SpeechOutput speech(sink, face, sliders, clock);
//   base::Status ready = speech.InitSpeech(speechEntryChecked);  // loads the pack, devices
//   bool sound = speech.SoundAvailable();
//   base::Status said = speech.Speak(answer);   // fails on a missing dictionary
//   while (speech.Speaking) { speech.SpeechTick(); sleep ~1 ms }   // the window's timer
//   speech.StopSpeech();
//
// Timing: each unit starts when the previous one has played (150 - speed) % of its bytes,
// so the rest of a unit sounds under the start of the next. SpeechTick is cheap when there
// is nothing to do: while a unit plays it reads one character and one voice position.
// The caller polls it from a 1-2 ms timer (not a zero-interval one, which would spin a
// core) and only while Speaking: the caller starts its timer after Speak and stops it when
// Speaking has turned false, so the output needs no hook of its own to drive the timer.
//
// Per unit: rate 22050 + (contour - 128) * intonation + PitchOffset (Hz, played as a pitch
// ratio to the recording's own rate); volume contour * 6 + volume - 1568 hundredths of a
// dB, held at 0 above; pan from where the main window stands on the screen.
//
// Without a usable sound device InitSpeech reports it through onMessage (when speech was
// on) and speech stays off for the run: Speak does nothing.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "speech/playback/FaceAnimator.h"
#include "speech/playback/PlaybackClock.h"
#include "speech/playback/SoundSink.h"
#include "speech/text/SpeechLevels.h"
#include "speech/text/SpeechText.h"
#include "speech/text/Units.h"
#include "speech/text/VoicePack.h"

namespace tamzel::speech {

// The three speech sliders, read afresh for every unit; their ranges are in SpeechLevels.h.
class SpeechSettings {
public:
    virtual ~SpeechSettings() = default;
    virtual int Volume() const = 0;
    virtual int Speed() const = 0;
    virtual int Intonation() const = 0;
};

// Fixed values (command line, tests); the window's sliders implement SpeechSettings too.
struct FixedSpeechSettings : SpeechSettings {
    int volume = kVolumeLevels.initial;
    int speed = kSpeedLevels.initial;
    int intonation = kIntonationLevels.initial;
    int Volume() const override { return volume; }
    int Speed() const override { return speed; }
    int Intonation() const override { return intonation; }
};

// Where the main window stands, in screen pixels; decides the pan.
struct ScreenPlacement {
    int windowLeft = 0;
    int windowWidth = 0;
    int screenWidth = 0;
};

// Hundredths of a dB: 0 with the window's centre at the screen's centre, -500 at the left
// edge, +500 at the right edge (rounded half to even).
int32_t PanOf(const ScreenPlacement& placement);

// One started unit, for logs, frame files and tests.
struct UnitStarted {
    int position = 0;      // PlayPosition, 1-based
    char character = 0;    // the unit-string character before any face code was overwritten
    char played = 0;       // the sound unit that plays for it
    double seconds = 0.0;  // clock time of the start
    int32_t frequency = 0;
    int32_t volume = 0;
    int32_t pan = 0;
};

class SpeechOutput {
public:
    SpeechOutput(SoundSink& sink, FaceAnimator& face, const SpeechSettings& settings,
                 const PlaybackClock& clock);
    ~SpeechOutput();

    // --- Hooks set by the owner -------------------------------------------------------
    // A message for the user (title, text; Windows-1250). Default: standard error.
    std::function<void(const std::string& title, const std::string& text)> onMessage;
    // The window's place on the screen; without it the pan is 0.
    std::function<ScreenPlacement()> placement;
    // The signed-in user's name and its pronunciation, read at every Speak.
    std::function<std::pair<std::string, std::string>()> userNames;
    // Called for every unit that starts sounding.
    std::function<void(const UnitStarted&)> onUnitStarted;
    std::string packFolder = kVoicePackFolder;
    std::string dictionaryPath = kDictionaryPath;

    // --- Operations -------------------------------------------------------------------
    // Opens the pack, loads the face frames and, when a device opens, the 41 unit voices.
    // Fails (Windows-1250 message naming the file or the output) when the pack or the
    // sound output cannot be used; SoundAvailable() then stays false.
    base::Status InitSpeech(bool speechChecked);
    // Fails when the text cannot be prepared (the dictionary); nothing is spoken then.
    base::Status Speak(const std::string& text);
    void SpeechTick();
    void StopSpeech();

    bool SoundAvailable() const { return soundAvailable_; }
    // Whether any unit voice still sounds (the end of an utterance outlasts Speaking).
    bool AnyVoicePlaying() const;
    SoundVoice& Voice(int unit) { return *UnitVoice.at(unit - 1); }
    const std::shared_ptr<const VoicePack>& pack() const { return pack_; }

    // --- State ------------------------------------------------------------------------
    std::array<std::unique_ptr<SoundVoice>, kSoundUnitCount> UnitVoice;
    std::string UnitString;
    tamzel::speech::Contour Contour;
    int PlayPosition = 0;
    int32_t PitchOffset = 0;
    bool Speaking = false;

private:
    void OpenSpeech(bool speechChecked);
    void StartUtterance(PreparedSpeech prepared);
    bool WaitingForCurrentUnit() const;
    void StartUnit(char c);

    SoundSink& sink_;
    FaceAnimator& face_;
    const SpeechSettings& settings_;
    const PlaybackClock& clock_;
    std::shared_ptr<const VoicePack> pack_;
    bool soundAvailable_ = false;
};

}  // namespace tamzel::speech
