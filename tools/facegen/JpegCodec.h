// JPEG encoding and decoding of QImages through TurboJPEG.
//
// EncodeJpeg writes full-resolution colour (4:4:4, no chroma subsampling), so that a small
// frame cut at odd coordinates matches the whole face it is laid on. Both functions throw
// std::runtime_error with a Slovak message when TurboJPEG fails.
#pragma once

#include <QImage>
#include <string>

namespace tamzel::speech {

std::string EncodeJpeg(const QImage& image, int quality);
QImage DecodeJpeg(const std::string& bytes);

}  // namespace tamzel::speech
