// A small JPEG made for the test, and the same file with other dimensions written into its
// frame header (the pixel data stays that of the small picture).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "speech/playback/JpegImage.h"

namespace tamzel::hardening {

inline std::string SmallJpeg() {
    std::vector<uint8_t> rgb(16 * 8 * 3, 200);
    return speech::JpegImage(16, 8, rgb).Encode(90);
}

// Rewrites height and width in the first start-of-frame marker (FF C0..C2).
inline std::string WithClaimedSize(std::string jpeg, int width, int height) {
    for (size_t i = 2; i + 8 < jpeg.size(); ++i) {
        auto b = [&](size_t k) { return static_cast<uint8_t>(jpeg[k]); };
        if (b(i) == 0xFF && b(i + 1) >= 0xC0 && b(i + 1) <= 0xC2) {
            jpeg[i + 5] = static_cast<char>(height >> 8);
            jpeg[i + 6] = static_cast<char>(height & 0xFF);
            jpeg[i + 7] = static_cast<char>(width >> 8);
            jpeg[i + 8] = static_cast<char>(width & 0xFF);
            break;
        }
    }
    return jpeg;
}

struct ClaimedSize {
    int width, height;
    bool decodes;  // within the limit (the data may still be too short for it)
};

// Sizes around the limit and far past it.
inline const std::vector<ClaimedSize> kClaimedSizes = {
    {16, 8, true}, {65279, 65279, false}, {65535, 1, true}, {4097, 4096, false},
    {1, 65535, true}, {40000, 30000, false},
};

}  // namespace tamzel::hardening
