// The theme (.thm) reader on arbitrary file contents: the colour line, opening the theme
// and the colour conversion. A refused theme leaves the current one as it was.
#include <cstdint>

#include "fuzz/FuzzSupport.h"
#include "ui/Theme.h"

using namespace tamzel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::UseProgramFolder();
    fuzz::PutFile("fuzz.thm", std::string(reinterpret_cast<const char*>(data), size));
    ui::Theme theme;
    const ui::Theme before = theme;
    auto color = ui::ReadThemeColor("fuzz.thm");
    std::string problem = ui::OpenTheme("fuzz.thm", theme);
    if (problem.empty() != color.has_value()) __builtin_trap();
    if (!problem.empty() && (theme.ThemeFile != before.ThemeFile || theme.ThemeColor != before.ThemeColor))
        __builtin_trap();
    if (color) ui::ThemeQColor(*color);
    return 0;
}
