// Progressive JPEG files made for the tests: a plain one, and the same file with one of its
// scans repeated thousands of times. Each repeat is a dozen bytes, yet every one is another
// pass over the whole picture for the decoder (seconds for a file of some 60 KB).
#pragma once

#include <turbojpeg.h>

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tamzel::hardening {

inline constexpr int kHostileSide = 1024;
inline constexpr int kHostileRepeats = 5000;

inline std::string ProgressiveJpeg(int side) {
    std::vector<unsigned char> rgb(static_cast<size_t>(side) * side * 3, 128);
    tjhandle handle = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    int rc = tjCompress2(handle, rgb.data(), side, 0, side, TJPF_RGB, &out, &size, TJSAMP_420, 90,
                         TJFLAG_PROGRESSIVE);
    std::string jpeg = rc == 0 ? std::string(reinterpret_cast<char*>(out), size) : std::string();
    tjFree(out);
    tjDestroy(handle);
    if (jpeg.empty()) throw std::runtime_error("TurboJPEG made no progressive picture");
    return jpeg;
}

// Start and end of the last scan (its SOS segment and entropy-coded data).
struct Span {
    size_t start = 0, end = 0;
};

inline Span LastScan(const std::string& jpeg) {
    auto b = [&](size_t k) { return static_cast<uint8_t>(jpeg[k]); };
    auto isMarker = [&](size_t k) {
        return b(k) == 0xFF && b(k + 1) != 0x00 && !(b(k + 1) >= 0xD0 && b(k + 1) <= 0xD7);
    };
    Span last;
    size_t i = 2;  // after SOI
    while (i + 4 <= jpeg.size() && b(i) == 0xFF && b(i + 1) != 0xD9) {
        size_t next = i + 2 + ((size_t{b(i + 2)} << 8) | b(i + 3));
        if (b(i + 1) == 0xDA) {
            while (next + 1 < jpeg.size() && !isMarker(next)) ++next;
            last = {i, next};
        }
        i = next;
    }
    if (last.end == 0) throw std::runtime_error("the picture has no scan");
    return last;
}

inline std::string WithScanRepeated(const std::string& jpeg, int repeats) {
    Span scan = LastScan(jpeg);
    std::string copy = jpeg.substr(scan.start, scan.end - scan.start);
    std::string hostile = jpeg.substr(0, scan.end);
    for (int k = 0; k < repeats; ++k) hostile += copy;
    return hostile + jpeg.substr(scan.end);
}

inline std::string HostileProgressiveJpeg() {
    return WithScanRepeated(ProgressiveJpeg(kHostileSide), kHostileRepeats);
}

template <typename F>
double SecondsOf(F&& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace tamzel::hardening
