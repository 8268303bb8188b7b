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

base::Status OpenTheme(const std::string& themeFile, Theme& theme) {
    auto color = ReadThemeColor(themeFile);
    if (!color) {
        return base::Fail("Súbor vzhľadu " + themeFile +
                              " sa nedá prečítať alebo nezačína číslom farby.",
                          base::Encoding::Utf8);
    }
    theme.ThemeFile = themeFile;
    theme.ThemeFolder = ThemeFolderOf(themeFile);
    theme.ThemeColor = *color;
    return base::Ok();
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
