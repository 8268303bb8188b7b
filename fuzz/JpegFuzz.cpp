// JPEG decoding of arbitrary bytes with both decoders: the face frames' (speech playback)
// and the window's (theme pictures, when the Qt part is built). A decoded picture must hold
// exactly width * height RGB pixels.
#include <cstdint>

#include "speech/playback/JpegImage.h"
#ifdef TAMZEL_FUZZ_WITH_QT
#include "ui/Theme.h"
#endif

using namespace tamzel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    base::Result<speech::JpegImage> decoded = speech::JpegImage::Decode(bytes, "fuzz.jpg");
    if (decoded) {
        const speech::JpegImage& image = *decoded;
        size_t expected = static_cast<size_t>(image.width()) * static_cast<size_t>(image.height()) * 3;
        if (image.rgb().size() != expected) __builtin_trap();
        if (!image.empty()) image.Pixel(image.width() - 1, image.height() - 1);
    } else if (decoded.message().empty()) {
        __builtin_trap();
    }
#ifdef TAMZEL_FUZZ_WITH_QT
    QImage picture = ui::DecodeJpeg(data, size);
    if (!picture.isNull()) picture.pixel(picture.width() - 1, picture.height() - 1);
#endif
    return 0;
}
