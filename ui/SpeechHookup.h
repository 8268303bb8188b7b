// Connects the main window with the speech output and the face animation: owns the sound
// sink, the voice pack's face frames and the speech output for the whole run, gives the
// window its SpeechPort and FacePort, and is the face animation's drawing surface (the
// window's face picture) and the speech output's source of slider values and window place.
#pragma once

#include <functional>
#include <memory>

#include "ui/MainWindow.h"
#include "chrome/Ports.h"

namespace tamzel::ui {

class SpeechHookup {
public:
    SpeechHookup(MessagePort& messages, SettingsPort& settings, TalkPort& talk);
    ~SpeechHookup();
    SpeechPort& port();
    // Makes `window` the drawing surface of the face.
    void Attach(MainWindow& window);

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace tamzel::ui
