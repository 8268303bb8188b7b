// How the five windows of the program find each other. The program creates the start
// window, the main window, the settings window, the message dialog and the registration
// window in this order and then fills one ProfileLinks that all profile windows share.
// The main window is reached only through MainLink, the engine's profile values through
// ui::TalkPort, so tests put recorders in their place.
#pragma once

#include <functional>
#include <string>

#include "profiles/ProfileStore.h"
#include "chrome/WindowChrome.h"
#include "chrome/Ports.h"

namespace tamzel::profiles {

class TWelcomeForm;
class TOptionsForm;
class TWarningForm;
class TRegisterForm;

// What the profile windows do to the main window.
class MainLink {
public:
    virtual ~MainLink() = default;
    // The four switches that user.cfg holds.
    virtual void SetSwitches(bool records, bool speech, bool animation, bool infoBar) = 0;
    virtual bool Autolog() const = 0;
    virtual void SetAutolog(bool on) = 0;
    // Theme chosen at start (file as chosen, folder, colour).
    virtual void SetTheme(const WindowTheme& theme) = 0;
    // Sign-in: shows the main window (which greets and speaks).
    virtual void ShowMain() = 0;
    // The settings window fades the main window out (fadeIn false) and back in.
    virtual void StartFade(bool fadeIn) = 0;
    virtual void SetMainEnabled(bool enabled) = 0;
};

struct ProfileLinks {
    ProfileStore* store = nullptr;
    MainLink* main = nullptr;
    ui::TalkPort* talk = nullptr;  // the signed-in user's profile values
    ThemeSource theme;             // the current theme, asked at every show
    std::function<void(const std::string& path)> playWave;  // asynchronous, silent on failure
    std::function<void()> quit;        // ends the event loop (start window's close button)
    std::function<void()> minimize;    // minimises every window of the program
    TWelcomeForm* welcome = nullptr;
    TOptionsForm* options = nullptr;
    TWarningForm* warning = nullptr;
    TRegisterForm* registration = nullptr;

    WindowTheme CurrentTheme() const { return theme ? theme() : WindowTheme{}; }
};

}  // namespace tamzel::profiles
