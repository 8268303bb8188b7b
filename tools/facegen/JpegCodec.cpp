#include "tools/facegen/JpegCodec.h"

#include <turbojpeg.h>

#include <memory>
#include <stdexcept>

namespace tamzel::speech {
namespace {

struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

[[noreturn]] void Fail(const char* what, void* handle) {
    throw std::runtime_error(std::string(what) + ": " + tjGetErrorStr2(handle));
}

}  // namespace

std::string EncodeJpeg(const QImage& image, int quality) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    Handle handle(tjInitCompress());
    if (!handle) throw std::runtime_error("TurboJPEG sa nepodarilo spustiť");
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (tjCompress2(handle.get(), rgb.constBits(), rgb.width(), static_cast<int>(rgb.bytesPerLine()),
                    rgb.height(), TJPF_RGB, &buffer, &size, TJSAMP_444, quality,
                    TJFLAG_ACCURATEDCT) != 0)
        Fail("Obrázok sa nepodarilo zakódovať do JPEG", handle.get());
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    tjFree(buffer);
    return bytes;
}

QImage DecodeJpeg(const std::string& bytes) {
    Handle handle(tjInitDecompress());
    if (!handle) throw std::runtime_error("TurboJPEG sa nepodarilo spustiť");
    auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(handle.get(), data, bytes.size(), &width, &height, &subsampling,
                            &colorspace) != 0)
        Fail("Súbor nie je obrázok JPEG", handle.get());
    QImage image(width, height, QImage::Format_RGB888);
    if (tjDecompress2(handle.get(), data, bytes.size(), image.bits(), width,
                      static_cast<int>(image.bytesPerLine()), height, TJPF_RGB,
                      TJFLAG_ACCURATEDCT | TJFLAG_LIMITSCANS | TJFLAG_STOPONWARNING) != 0)
        Fail("Obrázok JPEG sa nepodarilo dekódovať", handle.get());
    return image;
}

}  // namespace tamzel::speech
