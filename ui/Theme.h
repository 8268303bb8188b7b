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

namespace tamzel::ui {

struct Theme {
    std::string ThemeFile = "design/interface.thm";  // as chosen (relative or full path, UTF-8)
    std::string ThemeFolder = "design/interface/";
    int ThemeColor = 0xDCDCDC;
};

extern const char* const kDefaultThemeFile;

// The theme file's path without its last 4 characters, plus "/".
std::string ThemeFolderOf(const std::string& themeFile);

// A theme file holds one short line; a longer one (a device, a huge download) is refused
// without being read whole.
inline constexpr size_t kMaxThemeFileBytes = 4096;

// The colour on the first line of the theme file; nothing when the file cannot be read, is
// longer than kMaxThemeFileBytes or its first line does not start with an integer.
std::optional<int> ReadThemeColor(const std::string& themeFile);

// Opens a theme: folder, colour and file. Returns an empty text on success, otherwise a
// Slovak message (UTF-8); `theme` is then unchanged.
std::string OpenTheme(const std::string& themeFile, Theme& theme);

// The toolkit colour encoding (blue*65536 + green*256 + red) as a QColor; system-colour
// codes (negative values) give light grey.
QColor ThemeQColor(int encoded);

// Decodes a JPEG file; a null image when it is missing or not a JPEG.
QImage LoadJpeg(const std::string& path);
// Decodes JPEG bytes held in memory.
QImage DecodeJpeg(const unsigned char* data, size_t size);

}  // namespace tamzel::ui
