// A decoded picture: 8-bit RGB pixels, rows top to bottom, no padding. Decoding uses
// TurboJPEG; the face frames of the voice pack and the theme images are JPEG files.
//
//   base::Result<JpegImage> face = JpegImage::Decode(pack.ReadFrame("default2"), "gorvin/Jpg/default2.jpg");
//   face->width(), face->height(), face->Pixel(x, y); face.message() when it failed
//
// Encode() exists for tools and tests that need to make small JPEG files.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"

namespace tamzel::speech {

// The largest picture decoded: a few hundred bytes of header can claim 65535 x 65535 pixels,
// and the pixel buffer is allocated before the data is read.
inline constexpr int64_t kMaxJpegPixels = 4096 * 4096;
// The largest picture file read: themes and voice packs are exchanged, and a file named
// like a picture may be a device or gigabytes long.
inline constexpr size_t kMaxJpegFileBytes = size_t{8} << 20;
// The TurboJPEG flags of every decode, TJFLAG_LIMITSCANS | TJFLAG_STOPONWARNING (checked
// against turbojpeg.h where the decoder is built, so that this header needs no TurboJPEG):
// a progressive file can repeat a scan thousands of times, seconds of work for each
// picture, so the scan count is limited; a file the decoder only warns about is damaged and
// refused.
inline constexpr int kSafeJpegDecodeFlags = 32768 | 8192;
// TurboJPEG's own scan limit is 500, and 500 valid scans of a 4096 x 4096 picture still take
// seconds; encoders write about 10 (libjpeg's progressive script) and rarely more than 20.
inline constexpr int kMaxJpegScans = 64;

// The number of scans (SOS segments) of a JPEG file, counted along its segments without
// decoding; a damaged structure ends the count (the decoder then refuses the file).
inline int CountJpegScans(const unsigned char* data, size_t size) {
    auto isMarker = [&](size_t k) {
        return data[k] == 0xFF && data[k + 1] != 0x00 && data[k + 1] != 0xFF &&
               !(data[k + 1] >= 0xD0 && data[k + 1] <= 0xD7);
    };
    int scans = 0;
    size_t i = 2;  // after SOI
    while (i + 4 <= size && data[i] == 0xFF) {
        uint8_t marker = data[i + 1];
        if (marker == 0xFF) {  // fill byte
            ++i;
            continue;
        }
        if (marker == 0xD9) break;
        size_t next = i + 2 + ((size_t{data[i + 2]} << 8) | data[i + 3]);
        if (marker == 0xDA) {
            ++scans;
            while (next + 1 < size && !isMarker(next)) ++next;
        }
        i = next;
    }
    return scans;
}

class JpegImage {
public:
    JpegImage() = default;
    JpegImage(int width, int height, std::vector<uint8_t> rgb);

    // Decodes JPEG bytes; fails with a message naming `fileName` when they are not a JPEG
    // picture TurboJPEG reads without a warning, it has more than kMaxJpegScans scans or
    // more than kMaxJpegPixels pixels.
    static base::Result<JpegImage> Decode(const std::string& jpeg, const std::string& fileName);
    // Encodes at the given quality (1..100); throws SpeechError on failure.
    std::string Encode(int quality = 90) const;

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    const std::vector<uint8_t>& rgb() const { return rgb_; }
    std::array<uint8_t, 3> Pixel(int x, int y) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> rgb_;
};

}  // namespace tamzel::speech
