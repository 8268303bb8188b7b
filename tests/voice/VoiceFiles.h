// Readers for the voice pack's files as the tests see them: a strict RIFF WAVE parser
// (it reports every header field so that a test can check them) and a TurboJPEG decoder.
// Files are found under TAMZEL_SOURCE_DIR/data/gorvin, where they are committed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamzel::speech::test {

std::string PackPath(const std::string& type, const std::string& name);
// The file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::string& path);

struct WaveHeader {
    bool riff = false;       // "RIFF" .... "WAVE" with a size that matches the file
    int format = 0;          // 1 = PCM
    int channels = 0;
    uint32_t sampleRate = 0;
    uint32_t byteRate = 0;
    int blockAlign = 0;
    int bitsPerSample = 0;
    bool dataFound = false;  // a "data" chunk that lies wholly inside the file
};

struct Wave {
    WaveHeader header;
    std::vector<int16_t> samples;
};

Wave ParseWave(const std::string& bytes);

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // rows top to bottom, 3 bytes per pixel
    bool ok = false;

    // Average of the three channels at (x, y).
    double Gray(int x, int y) const {
        const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return (p[0] + p[1] + p[2]) / 3.0;
    }
    const uint8_t* Pixel(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

Picture DecodeJpeg(const std::string& bytes);

}  // namespace tamzel::speech::test
