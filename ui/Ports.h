// What the main window needs from the rest of the program, as small interfaces, so that the
// speech output, the face animation, the themed message dialog and the settings window plug
// in without the window knowing their classes, and tests replace them with recorders.
//
// All texts are Windows-1250.
#pragma once

#include <string>

#include "base/ProfileValues.h"
#include "base/Result.h"
#include "engine/Turn.h"

namespace tamzel::ui {

// Speech output: the sound device, the utterance and its polling tick.
class SpeechPort {
public:
    virtual ~SpeechPort() = default;
    // Opens the voice pack and the sound output; false when there is no sound device (the
    // port tells the user so when `speechChecked`).
    virtual bool InitSpeech(bool speechChecked) = 0;
    virtual void Speak(const std::string& text) = 0;
    virtual void SpeechTick() = 0;
    virtual void StopSpeech() = 0;
    virtual bool Speaking() const = 0;
    // Plays a wave file by name without waiting (dialog and theme sounds); silent when missing.
    virtual void PlayWaveFile(const std::string& path) = 0;
};

// Face animation: frames by name, drawn only while animation is on.
class FacePort {
public:
    virtual ~FacePort() = default;
    virtual void ShowFaceFrame(const std::string& name) = 0;
};

// The themed message dialog.
class MessagePort {
public:
    virtual ~MessagePort() = default;
    // A plain message with one button.
    virtual void ShowMessageDialog(const std::string& title, const std::string& text) = 0;
    // A yes/no question; true for yes.
    virtual bool AskQuestion(const std::string& title, const std::string& text) = 0;
};

// The speech sliders of the settings window (volume 0..800, speed 51..100, intonation 0..18)
// and the window itself.
class SettingsPort {
public:
    virtual ~SettingsPort() = default;
    virtual int Volume() const = 0;
    virtual int Speed() const = 0;
    virtual int Intonation() const = 0;
    virtual void SetLevels(int volume, int speed, int intonation) = 0;
    // "Iné": shows the settings window (which fades the main window out and back in).
    virtual void ShowSettings() = 0;
};

}  // namespace tamzel::ui

namespace tamzel::ui {

// The conversation engine as the window uses it.
class TalkPort {
public:
    virtual ~TalkPort() = default;
    // Loads the brain (again, for a new conversation). A failure is a Slovak message
    // naming the file; so is a turn's failure (the brain file vanished or became unreadable).
    virtual base::Status InitEngine() = 0;
    virtual base::Result<engine::TurnResult> OpeningLine() = 0;
    // Idle and hover turns are started by the window itself, with an empty text.
    virtual base::Result<engine::TurnResult> AnswerSentence(const std::string& text,
                                                            engine::TurnKind kind) = 0;
    virtual base::ProfileValues Profile() const = 0;
    virtual void SetProfile(const base::ProfileValues& values) = 0;
};

}  // namespace tamzel::ui
