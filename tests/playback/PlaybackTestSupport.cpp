#include "tests/playback/PlaybackTestSupport.h"

#include <fstream>
#include <random>

#include "speech/playback/WaveFile.h"
#include "speech/text/Units.h"

namespace tamzel::speech::test {
namespace {

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ColouredJpeg(int index, int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = static_cast<uint8_t>(index * 37);
        rgb[i + 1] = static_cast<uint8_t>(255 - index * 9);
        rgb[i + 2] = static_cast<uint8_t>(index * 91);
    }
    return JpegImage(width, height, std::move(rgb)).Encode();
}

}  // namespace

TempFolder::TempFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("tamzel-playback-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void SyntheticPack::Write(const std::filesystem::path& folder) const {
    for (int k = 0; k < kSoundUnitCount; ++k) {
        char unit = UnitAlphabet[k];
        std::vector<int16_t> samples;
        if (emptyUnits.find(unit) == std::string::npos) {
            bool pause = unit == kLongPause || unit == kShortPause;
            samples = Sine(toneHz, 22050, seconds, pause ? 0.0 : 8000.0);
        }
        WriteFile(folder / "Wave" / (UnitResourceName(unit) + ".wav"), EncodeWave(samples, 1, 22050));
    }
    std::vector<std::string> names;
    for (char code : kUnitFrameCodes) names.push_back(FaceFrameName(std::string(1, code)));
    for (const char* extra : {"mrk", "up", "look1", "right", "look2", "down", "look3", "left", "look4"})
        names.push_back(extra);
    for (size_t i = 0; i < names.size(); ++i) {
        bool head = i + 1 >= kFirstHeadFrame && i < kUnitFrameCount;
        WriteFile(folder / "Jpg" / (names[i] + ".jpg"), ColouredJpeg(int(i), head ? 207 : 64, head ? 214 : 40));
    }
}

}  // namespace tamzel::speech::test
