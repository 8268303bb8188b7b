// Which Qt window system the desktop program uses. A native Wayland client may not place
// its own window, read the pointer outside it or fade itself, and the borderless window
// relies on all three; under Wayland the program therefore runs through Xwayland when a
// session offers it, and natively (with those features degraded) when it does not.
#pragma once

#include <optional>
#include <string>

namespace tamzel::ui {

// The environment variables the choice reads; an empty value counts as unset.
struct PlatformEnvironment {
    std::string qtPlatform;      // QT_QPA_PLATFORM: the user's own choice, always kept
    std::string waylandDisplay;  // WAYLAND_DISPLAY
    std::string display;         // DISPLAY: X11, or Xwayland inside a Wayland session
    std::string sessionType;     // XDG_SESSION_TYPE
};

PlatformEnvironment ReadPlatformEnvironment();

// The QT_QPA_PLATFORM value to set before Qt starts, or nothing to leave Qt's own choice:
// "xcb" in a Wayland session with Xwayland, "wayland" in one without.
std::optional<std::string> ChooseQtPlatform(const PlatformEnvironment& env);

// Sets QT_QPA_PLATFORM from ChooseQtPlatform; call before the application object exists.
void ApplyQtPlatformChoice();

}  // namespace tamzel::ui
