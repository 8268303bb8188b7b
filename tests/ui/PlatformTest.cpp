#include "ui/Platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace tamzel::ui {
namespace {

TEST(ChooseQtPlatform, RunsThroughXwaylandWhenTheSessionOffersIt) {
    struct Case {
        const char* name;
        PlatformEnvironment env;
        std::optional<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"X11 session", {"", "", ":0", "x11"}, std::nullopt},
        {"X11 without a session type", {"", "", ":0", ""}, std::nullopt},
        {"Wayland with Xwayland", {"", "wayland-0", ":0", "wayland"}, "xcb"},
        {"Wayland socket only, Xwayland", {"", "wayland-1", ":1", ""}, "xcb"},
        {"Wayland session type, Xwayland", {"", "", ":0", "wayland"}, "xcb"},
        {"Wayland without Xwayland", {"", "wayland-0", "", "wayland"}, "wayland"},
        // No compositor socket to reach: forcing "wayland" would only fail differently.
        {"Wayland session type only", {"", "", "", "wayland"}, std::nullopt},
        {"the user's choice under Wayland", {"wayland", "wayland-0", ":0", "wayland"},
         std::nullopt},
        {"the user's choice offscreen", {"offscreen", "wayland-0", ":0", ""}, std::nullopt},
        {"the user's choice under X11", {"xcb", "", ":0", "x11"}, std::nullopt},
        {"no window system at all", {"", "", "", ""}, std::nullopt},
        {"a tty session", {"", "", "", "tty"}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseQtPlatform(c.env), c.expected) << c.name;
    }
}

// The choice must reach Qt through the environment before the application object exists,
// and leave a variable the user set alone.
TEST(ApplyQtPlatformChoice, SetsTheVariableOnlyWhenItChooses) {
    struct Case {
        const char* qpa;  // nullptr: unset
        const char* wayland;
        const char* display;
        const char* expected;  // nullptr: still unset
    };
    const std::vector<Case> cases = {
        {nullptr, "wayland-0", ":0", "xcb"},
        {nullptr, "wayland-0", nullptr, "wayland"},
        {nullptr, nullptr, ":0", nullptr},
        {"offscreen", "wayland-0", ":0", "offscreen"},
    };
    const char* saved = std::getenv("QT_QPA_PLATFORM");
    std::string savedValue = saved ? saved : "";
    auto set = [](const char* name, const char* value) {
        value ? setenv(name, value, 1) : unsetenv(name);
    };
    for (const Case& c : cases) {
        set("QT_QPA_PLATFORM", c.qpa);
        set("WAYLAND_DISPLAY", c.wayland);
        set("DISPLAY", c.display);
        unsetenv("XDG_SESSION_TYPE");
        ApplyQtPlatformChoice();
        const char* now = std::getenv("QT_QPA_PLATFORM");
        if (c.expected) {
            EXPECT_STREQ(now, c.expected) << (c.wayland ? c.wayland : "-");
        } else {
            EXPECT_EQ(now, nullptr) << (c.display ? c.display : "-");
        }
    }
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("DISPLAY");
    set("QT_QPA_PLATFORM", saved ? savedValue.c_str() : nullptr);
}

}  // namespace
}  // namespace tamzel::ui
