#include "tests/voice/VoiceFiles.h"

#include <turbojpeg.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace tamzel::speech::test {
namespace {

uint32_t Le32(const std::string& b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
           static_cast<uint8_t>(b[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

int Le16(const std::string& b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8;
}

}  // namespace

std::string PackPath(const std::string& type, const std::string& name) {
    // ctest passes TAMZEL_SOURCE_DIR; the folder known at build time serves when the test
    // binary is run by hand.
    const char* root = std::getenv("TAMZEL_SOURCE_DIR");
    const std::string source = root && *root ? root : TAMZEL_VOICE_SOURCE_DIR;
    const std::string ext = type == "Wave" ? ".wav" : ".jpg";
    return source + "/data/gorvin/" + type + "/" + name + ext;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Wave ParseWave(const std::string& b) {
    Wave wave;
    WaveHeader& h = wave.header;
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return wave;
    h.riff = Le32(b, 4) + 8 == b.size();
    for (size_t at = 12; at + 8 <= b.size();) {
        const std::string id = b.substr(at, 4);
        const size_t size = Le32(b, at + 4);
        const size_t body = at + 8;
        if (body + size > b.size()) break;
        if (id == "fmt " && size >= 16) {
            h.format = Le16(b, body);
            h.channels = Le16(b, body + 2);
            h.sampleRate = Le32(b, body + 4);
            h.byteRate = Le32(b, body + 8);
            h.blockAlign = Le16(b, body + 12);
            h.bitsPerSample = Le16(b, body + 14);
        } else if (id == "data") {
            h.dataFound = true;
            for (size_t i = 0; i + 1 < size; i += 2)
                wave.samples.push_back(static_cast<int16_t>(Le16(b, body + i)));
        }
        at = body + size + (size & 1);  // chunks are padded to even sizes
    }
    return wave;
}

Picture DecodeJpeg(const std::string& bytes) {
    Picture picture;
    tjhandle handle = tjInitDecompress();
    if (!handle) return picture;
    auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    int subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(handle, data, bytes.size(), &picture.width, &picture.height,
                            &subsampling, &colorspace) == 0) {
        picture.rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
        picture.ok = tjDecompress2(handle, data, bytes.size(), picture.rgb.data(), picture.width,
                                   picture.width * 3, picture.height, TJPF_RGB, 0) == 0;
    }
    tjDestroy(handle);
    return picture;
}

}  // namespace tamzel::speech::test
