// Writing the generated pictures: JPEG through TurboJPEG (fixed quality, 4:4:4, so the same
// picture always gives the same bytes) and a small GIF89a writer for the records page.
#pragma once

#include <QImage>
#include <QString>

namespace tamzel::tools {

// Returns false with a message on standard error when the file cannot be written.
bool WriteJpeg(const QImage& image, const QString& path, int quality = 92);

// A GIF of an image that uses at most 256 colours exactly (the palette is taken from the
// image; further colours are mapped to the nearest one already in the palette).
bool WriteGif(const QImage& image, const QString& path);

}  // namespace tamzel::tools
