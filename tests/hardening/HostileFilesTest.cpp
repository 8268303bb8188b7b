// Files from outside (themes and voice packs are downloaded and exchanged) crafted to hold
// the program: a progressive JPEG with a scan repeated thousands of times, devices and huge
// files where a picture or a sound belongs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "HostileJpeg.h"
#include "JpegSizeTest.h"
#include "base/Files.h"
#include "speech/playback/JpegImage.h"
#include "speech/text/SpeechError.h"
#include "speech/text/VoicePack.h"

namespace tamzel::hardening {
namespace {

namespace fs = std::filesystem;
constexpr double kQuickSeconds = 1.0;

TEST(HostileFiles, RepeatedProgressiveScansAreRefusedQuickly) {
    const std::string plain = ProgressiveJpeg(kHostileSide);
    base::Result<speech::JpegImage> image = speech::JpegImage::Decode(plain, "postupny.jpg");
    ASSERT_TRUE(image) << image.message();
    EXPECT_EQ(image->width(), kHostileSide);

    const std::string hostile = WithScanRepeated(plain, kHostileRepeats);
    std::string message;
    double seconds = SecondsOf([&] {
        base::Result<speech::JpegImage> decoded = speech::JpegImage::Decode(hostile, "zly.jpg");
        if (!decoded) message = decoded.message();
    });
    EXPECT_LT(seconds, kQuickSeconds);
    EXPECT_NE(message.find("zly.jpg"), std::string::npos) << "decoded, or refused without the name: "
                                                          << message;
}

// TurboJPEG allows 500 scans, and 500 valid ones of a 4096 x 4096 picture take seconds: a
// file with more scans than any encoder writes is refused before decoding.
TEST(HostileFiles, ScansAreCountedAndTooManyRefusedBeforeDecoding) {
    const std::string plain = ProgressiveJpeg(64);
    auto count = [](const std::string& jpeg) {
        return speech::CountJpegScans(reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
    };
    const int plainScans = count(plain);
    ASSERT_GT(plainScans, 1);
    ASSERT_LE(plainScans, speech::kMaxJpegScans);
    struct Case {
        std::string jpeg;
        int scans;
        bool refusedForScans;
    } cases[] = {
        {SmallJpeg(), 1, false},
        {plain, plainScans, false},
        {WithScanRepeated(plain, speech::kMaxJpegScans - plainScans), speech::kMaxJpegScans, false},
        {WithScanRepeated(plain, speech::kMaxJpegScans - plainScans + 1), speech::kMaxJpegScans + 1, true},
        {WithScanRepeated(plain, 1000), plainScans + 1000, true},
        {plain.substr(0, plain.size() / 2), -1, false},  // cut: whatever was counted, no more
    };
    for (const Case& c : cases) {
        if (c.scans >= 0) {
            EXPECT_EQ(count(c.jpeg), c.scans);
        } else {
            EXPECT_LE(count(c.jpeg), plainScans);
        }
        std::string message;
        base::Result<speech::JpegImage> decoded = speech::JpegImage::Decode(c.jpeg, "skeny.jpg");
        if (!decoded) message = decoded.message();
        bool tooManyScans = message.find("prive\xBE" "a") != std::string::npos;
        EXPECT_EQ(tooManyScans, c.refusedForScans) << c.scans << ": " << message;
    }
}

class HostileFolder : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("tamzel-hostile-" + std::to_string(::getpid()));
        fs::create_directories(root_ / "gorvin" / "Jpg");
        fs::create_directories(root_ / "gorvin" / "Wave");
    }
    void TearDown() override { fs::remove_all(root_); }
    // A sparse file: gigantic to a reader, instant to make.
    std::string Huge(const fs::path& relative, uintmax_t bytes) {
        fs::path path = root_ / relative;
        std::ofstream(path, std::ios::binary).put('x');
        fs::resize_file(path, bytes);
        return path.string();
    }
    fs::path root_;
};

TEST_F(HostileFolder, BoundedReadRefusesDevicesAndHugeFilesQuickly) {
    constexpr size_t kLimit = 4096;
    struct Case {
        std::string path;
        base::BoundedRead expected;
        size_t bytes;
    } cases[] = {
        {"/dev/zero", base::BoundedRead::TooLarge, 0},
        {Huge("velky.bin", uintmax_t{50} << 20), base::BoundedRead::TooLarge, 0},
        {Huge("presne.bin", kLimit), base::BoundedRead::Ok, kLimit},
        {Huge("o-bajt-viac.bin", kLimit + 1), base::BoundedRead::TooLarge, 0},
        {(root_ / "nie-je.bin").string(), base::BoundedRead::Unreadable, 0},
    };
    for (const Case& c : cases) {
        std::string content = "predtym";
        base::BoundedRead result{};
        double seconds = SecondsOf([&] { result = base::ReadFileAtMost(c.path, kLimit, content); });
        EXPECT_EQ(result, c.expected) << c.path;
        EXPECT_LT(seconds, kQuickSeconds) << c.path;
        if (c.expected == base::BoundedRead::Ok) {
            EXPECT_EQ(content.size(), c.bytes) << c.path;
        } else {
            EXPECT_EQ(content, "predtym") << c.path << ": a refused file changed the content";
        }
    }
}

TEST_F(HostileFolder, VoicePackFrameThatIsHugeIsRefusedWithAMessage) {
    Huge("gorvin/Jpg/default1.jpg", uintmax_t{1} << 30);
    speech::VoicePack pack((root_ / "gorvin").string());
    std::string message;
    double seconds = SecondsOf([&] {
        try {
            pack.ReadResource("Jpg", "default1");
        } catch (const speech::SpeechError& error) {
            message = error.what();
        }
    });
    EXPECT_LT(seconds, kQuickSeconds);
    EXPECT_NE(message.find("default1.jpg"), std::string::npos) << message;
}

}  // namespace
}  // namespace tamzel::hardening
