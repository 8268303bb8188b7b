// Themes: a .thm file whose first line holds the theme colour (blue*65536 + green*256 + red,
// leading blanks skipped, the rest ignored) and a folder of JPEG images beside it named
// after the file without its last 4 characters ("design/interface.thm" -> "design/interface/").
// Images are decoded with TurboJPEG.
#pragma once

#include <QColor>
#include <QImage>
#include <cstddef>
#include <optional>
#include <string>

#include "base/Result.h"
#include "chrome/WindowChrome.h"

namespace tamzel::ui {

struct Theme {
    std::string ThemeFile = "design/interface.thm";  // as chosen (relative or full path, UTF-8)
    std::string ThemeFolder = "design/interface/";
    int ThemeColor = 0xDCDCDC;
};

extern const char* const kDefaultThemeFile;

// The start windows and the main window read theme files alike.
using profiles::kMaxThemeFileBytes;
using profiles::ReadThemeColor;
using profiles::ThemeFolderOf;

using profiles::ThemeQColor;

// Opens a theme: folder, colour and file. On failure the Slovak message (UTF-8) names the
// file, and `theme` is unchanged.
base::Status OpenTheme(const std::string& themeFile, Theme& theme);

// Decodes a JPEG file; a null image when it is missing or not a JPEG.
QImage LoadJpeg(const std::string& path);
// Decodes JPEG bytes held in memory.
QImage DecodeJpeg(const unsigned char* data, size_t size);

}  // namespace tamzel::ui
