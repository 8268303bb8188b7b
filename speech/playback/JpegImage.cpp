#include "speech/playback/JpegImage.h"

#include <turbojpeg.h>

#include <memory>

#include "base/Codepage.h"
#include "speech/playback/SoundSink.h"
#include "speech/text/SpeechError.h"

namespace tamzel::speech {
namespace {

struct TjHandleCloser {
    void operator()(void* h) const { tjDestroy(h); }
};
using TjHandle = std::unique_ptr<void, TjHandleCloser>;

std::string JpegMessage(const std::string& fileName, tjhandle handle) {
    std::string reason = handle ? tjGetErrorStr2(handle) : "TurboJPEG";
    return base::Cp1250("Obrázok ") + fileName + base::Cp1250(" sa nedá prečítať: ") + reason;
}

base::Error JpegError(const std::string& fileName, tjhandle handle) {
    return base::Fail(JpegMessage(fileName, handle));
}

}  // namespace

static_assert(kSafeJpegDecodeFlags == (TJFLAG_LIMITSCANS | TJFLAG_STOPONWARNING));

JpegImage::JpegImage(int width, int height, std::vector<uint8_t> rgb)
    : width_(width), height_(height), rgb_(std::move(rgb)) {
    if (width_ < 0 || height_ < 0 || rgb_.size() != static_cast<size_t>(width_) * height_ * 3)
        throw SpeechError(base::Cp1250("Obrázok má nesprávnu veľkosť."));
}

base::Result<JpegImage> JpegImage::Decode(const std::string& jpeg, const std::string& fileName) {
    TjHandle handle(tjInitDecompress());
    if (!handle || jpeg.empty()) return JpegError(fileName, handle.get());
    auto* src = reinterpret_cast<const unsigned char*>(jpeg.data());
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(handle.get(), src, jpeg.size(), &width, &height, &subsampling, &colorspace) != 0)
        return JpegError(fileName, handle.get());
    if (width <= 0 || height <= 0 || int64_t{width} * height > kMaxJpegPixels)
        return base::Fail(base::Cp1250("Obrázok ") + fileName + base::Cp1250(" je príliš veľký."));
    if (CountJpegScans(src, jpeg.size()) > kMaxJpegScans)
        return base::Fail(base::Cp1250("Obrázok ") + fileName +
                          base::Cp1250(" má priveľa častí (") + std::to_string(kMaxJpegScans) +
                          base::Cp1250(" je najviac), nie je to obyčajný obrázok."));
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    if (tjDecompress2(handle.get(), src, jpeg.size(), rgb.data(), width, 0, height, TJPF_RGB,
                      kSafeJpegDecodeFlags) != 0)
        return JpegError(fileName, handle.get());
    return JpegImage(width, height, std::move(rgb));
}

std::string JpegImage::Encode(int quality) const {
    TjHandle handle(tjInitCompress());
    unsigned char* out = nullptr;
    unsigned long size = 0;
    if (!handle || empty() ||
        tjCompress2(handle.get(), rgb_.data(), width_, 0, height_, TJPF_RGB, &out, &size, TJSAMP_444,
                    quality, 0) != 0) {
        if (out) tjFree(out);
        throw SpeechError(JpegMessage(base::Cp1250("(nový obrázok)"), handle.get()));
    }
    std::string bytes(reinterpret_cast<const char*>(out), size);
    tjFree(out);
    return bytes;
}

std::array<uint8_t, 3> JpegImage::Pixel(int x, int y) const {
    size_t i = (static_cast<size_t>(y) * width_ + x) * 3;
    return {rgb_[i], rgb_[i + 1], rgb_[i + 2]};
}

}  // namespace tamzel::speech
