#include "ui/Theme.h"

#include <turbojpeg.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "base/Files.h"
#include "speech/playback/JpegImage.h"  // kMaxJpegPixels, kSafeJpegDecodeFlags

namespace tamzel::ui {

const char* const kDefaultThemeFile = "design/interface.thm";

std::string ThemeFolderOf(const std::string& themeFile) {
    std::string base = themeFile.size() > 4 ? themeFile.substr(0, themeFile.size() - 4) : "";
    return base + "/";
}

std::optional<int> ReadThemeColor(const std::string& themeFile) {
    std::string text;
    if (base::ReadFileAtMost(themeFile, kMaxThemeFileBytes, text) != base::BoundedRead::Ok)
        return std::nullopt;
    std::string first = text.substr(0, text.find('\n'));
    size_t i = 0;
    while (i < first.size() && (first[i] == ' ' || first[i] == '\t')) ++i;
    size_t start = i;
    if (i < first.size() && (first[i] == '-' || first[i] == '+')) ++i;
    size_t digits = i;
    while (i < first.size() && std::isdigit(static_cast<unsigned char>(first[i]))) ++i;
    if (i == digits) return std::nullopt;
    // Too many digits for an int is no colour (strtol would clamp, and the cast wrap, to -1).
    errno = 0;
    long value = std::strtol(first.c_str() + start, nullptr, 10);
    if (errno == ERANGE || value < INT_MIN || value > INT_MAX) return std::nullopt;
    return static_cast<int>(value);
}

std::string OpenTheme(const std::string& themeFile, Theme& theme) {
    auto color = ReadThemeColor(themeFile);
    if (!color) {
        return "Súbor vzhľadu " + themeFile + " sa nedá prečítať alebo nezačína číslom farby.";
    }
    theme.ThemeFile = themeFile;
    theme.ThemeFolder = ThemeFolderOf(themeFile);
    theme.ThemeColor = *color;
    return "";
}

QColor ThemeQColor(int encoded) {
    if (encoded < 0) return QColor(220, 220, 220);
    return QColor(encoded & 0xFF, (encoded >> 8) & 0xFF, (encoded >> 16) & 0xFF);
}

static_assert(speech::kSafeJpegDecodeFlags == (TJFLAG_LIMITSCANS | TJFLAG_STOPONWARNING));

QImage DecodeJpeg(const unsigned char* data, size_t size) {
    tjhandle handle = tjInitDecompress();
    if (!handle) return {};
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    QImage image;
    if (tjDecompressHeader3(handle, data, static_cast<unsigned long>(size), &width, &height,
                            &subsampling, &colorspace) == 0 &&
        width > 0 && height > 0 && int64_t{width} * height <= speech::kMaxJpegPixels &&
        speech::CountJpegScans(data, size) <= speech::kMaxJpegScans) {
        image = QImage(width, height, QImage::Format_RGB888);
        if (tjDecompress2(handle, data, static_cast<unsigned long>(size), image.bits(), width,
                          static_cast<int>(image.bytesPerLine()), height, TJPF_RGB,
                          speech::kSafeJpegDecodeFlags) != 0) {
            image = QImage();
        }
    }
    tjDestroy(handle);
    return image;
}

QImage LoadJpeg(const std::string& path) {
    std::string bytes;
    if (base::ReadFileAtMost(path, speech::kMaxJpegFileBytes, bytes) != base::BoundedRead::Ok ||
        bytes.empty())
        return {};
    return DecodeJpeg(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

}  // namespace tamzel::ui
