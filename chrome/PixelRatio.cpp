#include "chrome/PixelRatio.h"

namespace tamzel::profiles {

std::string DoubleSizePath(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && dot != 0 &&
                              (slash == std::string::npos || dot > slash + 1);
    if (!hasExtension) return path + "@2x";
    return path.substr(0, dot) + "@2x" + path.substr(dot);
}

// The plain picture is always read: it decides whether the picture exists at all (a theme's
// missing picture is replaced from the default theme) and what size the double one must have.
QImage PictureForRatio(const std::string& path, double ratio, const PictureLoader& load) {
    QImage plain = load(path);
    if (plain.isNull() || ratio < kDoublePictureRatio) return plain;
    QImage sharp = load(DoubleSizePath(path));
    if (sharp.isNull() || sharp.size() != plain.size() * kDoublePictureScale) return plain;
    sharp.setDevicePixelRatio(kDoublePictureScale);
    return sharp;
}

}  // namespace tamzel::profiles
