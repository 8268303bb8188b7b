// Connects the main window with the speech output and the face animation: owns them for the
// whole run, gives the window its SpeechPort and FacePort, and gives the face animation the
// window as its drawing surface.
#pragma once

#include <memory>

#include "ui/MainWindow.h"
#include "ui/Ports.h"

namespace tamzel::ui {

class SpeechHookup {
public:
    explicit SpeechHookup(MessagePort& messages);
    ~SpeechHookup();
    SpeechPort& port();
    // Makes `window` the drawing surface of the face and shows the face picture.
    void Attach(MainWindow& window);

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace tamzel::ui
