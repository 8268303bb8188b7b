#include "ui/Platform.h"

#include <cstdlib>

namespace tamzel::ui {
namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool IsWaylandSession(const PlatformEnvironment& env) {
    return !env.waylandDisplay.empty() || env.sessionType == "wayland";
}

}  // namespace

PlatformEnvironment ReadPlatformEnvironment() {
    return {Variable("QT_QPA_PLATFORM"), Variable("WAYLAND_DISPLAY"), Variable("DISPLAY"),
            Variable("XDG_SESSION_TYPE")};
}

std::optional<std::string> ChooseQtPlatform(const PlatformEnvironment& env) {
    if (!env.qtPlatform.empty() || !IsWaylandSession(env)) return std::nullopt;
    if (!env.display.empty()) return "xcb";
    // Without Xwayland the X11 plugin cannot start at all; Qt must not fall back to it.
    if (!env.waylandDisplay.empty()) return "wayland";
    // A session type left over (a shell opened with su, a text console) names no server:
    // Qt's own choice and its own message then.
    return std::nullopt;
}

void ApplyQtPlatformChoice() {
    if (auto platform = ChooseQtPlatform(ReadPlatformEnvironment()))
        setenv("QT_QPA_PLATFORM", platform->c_str(), 1);
}

}  // namespace tamzel::ui
