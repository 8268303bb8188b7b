// Pictures for screens with more than one device pixel per logical pixel. Beside every
// picture NAME.jpg a theme or voice pack may hold NAME@2x.jpg drawn at twice the size; on a
// screen scaled by 1.5 or more that one is shown, marked with a device pixel ratio of 2, so
// that widgets still lay it out in logical pixels. A theme made with only the plain pictures
// keeps working: the plain picture is used whenever the double one is missing or does not
// have exactly twice its size.
#pragma once

#include <QImage>
#include <functional>
#include <string>

namespace tamzel::profiles {

// From this device pixel ratio on, the double-size pictures are used.
inline constexpr double kDoublePictureRatio = 1.5;
inline constexpr int kDoublePictureScale = 2;

using PictureLoader = std::function<QImage(const std::string& path)>;

// "design/interface/1.jpg" -> "design/interface/1@2x.jpg" (the suffix goes before the last
// extension of the file name, or at the end when it has none).
std::string DoubleSizePath(const std::string& path);

// The picture at `path` for a window of device pixel ratio `ratio`; `load` reads one file (a
// null image when it is missing or damaged). Null when the plain picture cannot be read.
QImage PictureForRatio(const std::string& path, double ratio, const PictureLoader& load);

}  // namespace tamzel::profiles
