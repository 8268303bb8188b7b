#include "speech/text/VoicePack.h"

#include <sys/stat.h>

#include <cctype>
#include <cstring>
#include <optional>

#include "base/Files.h"
#include "base/Codepage.h"
#include "speech/text/SpeechError.h"
#include "speech/text/Units.h"

namespace tamzel::speech {
namespace {

// Voice packs are exchanged like themes: a sound or face frame is at most a few hundred
// kilobytes, and a file far beyond that (or a device) is not read whole.
constexpr size_t kMaxResourceBytes = size_t{16} << 20;

[[noreturn]] void Fail(const std::string& utf8Message) {
    throw SpeechError(base::FromUtf8Lossy(utf8Message));
}

uint32_t Le32(const std::string& b, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

uint16_t Le16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) |
                                 static_cast<unsigned char>(b[at + 1]) << 8);
}

struct WaveFormat {
    uint16_t tag = 0, channels = 0, bits = 0;
    uint32_t rate = 0;
};

WaveFormat ReadFormat(const std::string& b, size_t at, uint32_t size, const std::string& file) {
    if (size < 16) Fail("Súbor " + file + " má poškodený popis formátu zvuku.");
    WaveFormat f{Le16(b, at), Le16(b, at + 2), Le16(b, at + 14), Le32(b, at + 4)};
    // WAVE_FORMAT_EXTENSIBLE carries the real format in the first bytes of its sub-format.
    if (f.tag == 0xFFFE && size >= 26) f.tag = Le16(b, at + 24);
    if (f.tag != 1 || f.channels != 1 || f.bits != 16 || f.rate == 0)
        Fail("Súbor " + file + " nie je zvuk PCM 16-bit mono.");
    return f;
}

}  // namespace

WaveSound ParseWave(const std::string& bytes, const std::string& fileName) {
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        Fail("Súbor " + fileName + " nie je zvuk RIFF WAVE.");
    std::optional<WaveFormat> format;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        std::string id = bytes.substr(at, 4);
        uint32_t size = Le32(bytes, at + 4);
        size_t body = at + 8;
        if (size > bytes.size() - body) Fail("Súbor " + fileName + " je skrátený.");
        if (id == "fmt ") format = ReadFormat(bytes, body, size, fileName);
        if (id == "data") {
            if (!format) Fail("Súbor " + fileName + " nemá popis formátu pred zvukovými dátami.");
            WaveSound sound;
            sound.sampleRate = format->rate;
            sound.samples.resize(size / 2);
            for (size_t i = 0; i < sound.samples.size(); ++i)
                sound.samples[i] = static_cast<int16_t>(Le16(bytes, body + 2 * i));
            return sound;
        }
        at = body + size + (size & 1);  // chunks are padded to an even length
    }
    Fail("Súbor " + fileName + " neobsahuje zvukové dáta.");
}

VoicePack::VoicePack(std::string folder) : folder_(std::move(folder)) {
    struct stat st {};
    if (::stat(folder_.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        Fail("Hlasový balík " + folder_ + " sa nenašiel (chýba priečinok " + folder_ + ").");
}

std::string VoicePack::ResourcePath(const std::string& type, const std::string& name) const {
    std::string ext = type == "Wave" ? "wav" : type;
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folder_ + "/" + type + "/" + name + "." + ext;
}

std::string VoicePack::ReadResource(const std::string& type, const std::string& name) const {
    std::string path = ResourcePath(type, name);
    std::string bytes;
    switch (base::ReadFileAtMost(path, kMaxResourceBytes, bytes)) {
        case base::BoundedRead::Ok: return bytes;
        case base::BoundedRead::TooLarge:
            Fail("Hlasový balík: súbor " + path + " je väčší ako " +
                 std::to_string(kMaxResourceBytes >> 20) + " MB, nie je to zvuk ani obrázok balíka.");
        case base::BoundedRead::Unreadable: break;
    }
    Fail("Hlasový balík: súbor " + path + " chýba alebo sa nedá prečítať.");
}

WaveSound VoicePack::ReadUnitSound(char unit) const {
    std::string name = UnitResourceName(unit);
    if (name.empty()) Fail("Znak s kódom " + std::to_string(static_cast<unsigned char>(unit)) +
                           " nie je zvuková jednotka.");
    return ParseWave(ReadResource("Wave", name), ResourcePath("Wave", name));
}

}  // namespace tamzel::speech
