// Stand-ins used until (or when) the real speech output, message dialog and settings window
// are not part of the build: silent speech, a plain frameless message window, and slider
// levels kept in memory.
#pragma once

#include <QColor>

#include "ui/Ports.h"

namespace tamzel::ui {

class SilentSpeech : public SpeechPort {
public:
    bool InitSpeech(bool) override { return true; }
    void Speak(const std::string& text) override { lastSpoken = text; }
    void SpeechTick() override {}
    void StopSpeech() override {}
    bool Speaking() const override { return false; }
    void PlayWaveFile(const std::string&) override {}
    std::string lastSpoken;
};

// A small frameless window in the theme colour with the text and one or two buttons; the
// text also goes to standard error so that nothing is lost without a display.
class PlainMessages : public MessagePort {
public:
    void ShowMessageDialog(const std::string& title, const std::string& text) override;
    bool AskQuestion(const std::string& title, const std::string& text) override;
    QColor color{220, 220, 220};
};

class StoredLevels : public SettingsPort {
public:
    explicit StoredLevels(MessagePort& messages) : messages_(messages) {}
    int Volume() const override { return volume_; }
    int Speed() const override { return speed_; }
    int Intonation() const override { return intonation_; }
    void SetLevels(int volume, int speed, int intonation) override;
    void ShowSettings() override;

private:
    MessagePort& messages_;
    int volume_ = 10;
    int speed_ = 65;
    int intonation_ = 3;
};

}  // namespace tamzel::ui
