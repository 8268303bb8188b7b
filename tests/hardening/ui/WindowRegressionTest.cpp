// Faults found while fuzzing the window's readers, each kept as a test of the fixed behaviour.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include "HostileJpeg.h"
#include "JpegSizeTest.h"
#include "chrome/WindowChrome.h"
#include "ui/Theme.h"

namespace tamzel::hardening {
namespace {

// The window's decoder made a QImage of whatever size the header claimed before reading the
// data (gigabytes for a few kilobytes of file): such pictures give a null image now.
TEST(WindowFuzzRegression, ThemePictureClaimingAHugeSizeGivesANullImage) {
    const std::string small = SmallJpeg();
    for (const ClaimedSize& c : kClaimedSizes) {
        std::string bytes = WithClaimedSize(small, c.width, c.height);
        QImage image = ui::DecodeJpeg(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        if (!c.decodes) {
            EXPECT_TRUE(image.isNull()) << c.width << "x" << c.height;
        }
        if (c.width == 16) {
            EXPECT_EQ(image.size(), QSize(16, 8));
        }
    }
}

// A colour line with more digits than a long holds came back as -1 (a system colour) by
// accident of the conversion; it is no colour, so the theme is refused.
TEST(ThemeReaderRegression, ColourOutOfRangeIsNotAColour) {
    struct Case {
        const char* line;
        std::optional<int> colour;
    } cases[] = {
        {"16777215\n", 16777215},
        {"  -5 rest\n", -5},
        {"99999999999999999999\n", std::nullopt},
        {"2147483648\n", std::nullopt},
        {"-2147483649\n", std::nullopt},
    };
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("tamzel-colour-" + std::to_string(::getpid()) + ".thm")).string();
    for (const Case& c : cases) {
        std::ofstream(file, std::ios::binary) << c.line;
        EXPECT_EQ(ui::ReadThemeColor(file), c.colour) << c.line;
    }
    std::remove(file.c_str());
}

constexpr double kQuickSeconds = 1.0;

// A 60 KB progressive picture with one scan repeated 5000 times held the start window for
// seconds (a theme's welcome.jpg, 45 s with a larger one, deaf to SIGTERM).
TEST(WindowHostileFiles, RepeatedProgressiveScansGiveANullImageQuickly) {
    const std::string plain = ProgressiveJpeg(kHostileSide);
    QImage good = ui::DecodeJpeg(reinterpret_cast<const unsigned char*>(plain.data()), plain.size());
    EXPECT_EQ(good.size(), QSize(kHostileSide, kHostileSide));

    const std::string hostile = WithScanRepeated(plain, kHostileRepeats);
    QImage image;
    double seconds = SecondsOf([&] {
        image = ui::DecodeJpeg(reinterpret_cast<const unsigned char*>(hostile.data()), hostile.size());
    });
    EXPECT_TRUE(image.isNull());
    EXPECT_LT(seconds, kQuickSeconds);
}

class HostileThemeFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("tamzel-hostile-theme-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    // A sparse file of `bytes` bytes starting with `start`: huge to a reader, instant to make.
    std::string Huge(const char* name, const std::string& start, uintmax_t bytes) {
        std::filesystem::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << start;
        std::filesystem::resize_file(path, bytes);
        return path.string();
    }
    std::filesystem::path folder_;
};

// A .thm that was /dev/zero or a gigabyte was read whole in search of its first line.
TEST_F(HostileThemeFiles, DevicesAndHugeThemeFilesAreRefusedQuickly) {
    const std::vector<std::string> themes = {
        "/dev/zero",
        Huge("velka.thm", "14474460\r\n", uintmax_t{50} << 20),
        Huge("nekonecny-riadok.thm", "14474460", uintmax_t{1} << 30),
    };
    for (const std::string& path : themes) {
        ui::Theme theme;
        std::string problem;
        double seconds = SecondsOf([&] {
            EXPECT_EQ(ui::ReadThemeColor(path), std::nullopt) << path;
            EXPECT_EQ(profiles::ReadThemeColor(path), std::nullopt) << path;
            problem = ui::OpenTheme(path, theme).message();
        });
        EXPECT_LT(seconds, kQuickSeconds) << path;
        EXPECT_NE(problem.find(path), std::string::npos) << path << ": " << problem;
        EXPECT_EQ(theme.ThemeFile, ui::Theme{}.ThemeFile) << path;
    }
}

TEST_F(HostileThemeFiles, PicturesThatAreDevicesOrHugeGiveANullImageQuickly) {
    const std::vector<std::string> pictures = {"/dev/zero", "/dev/urandom",
                                               Huge("welcome.jpg", "\xFF\xD8\xFF", uintmax_t{1} << 30)};
    for (const std::string& path : pictures) {
        QImage image;
        double seconds = SecondsOf([&] { image = ui::LoadJpeg(path); });
        EXPECT_TRUE(image.isNull()) << path;
        EXPECT_LT(seconds, kQuickSeconds) << path;
    }
}

// The bounds and the stricter decoding leave the themes and pictures we ship as they were.
TEST(WindowHostileFiles, ShippedThemesAndPicturesStillOpen) {
    const std::string source = TAMZEL_TEST_SOURCE_DIR;
    for (const char* name : {"interface", "tmava"}) {
        const std::string file = source + "/data/design/" + name + ".thm";
        ui::Theme theme;
        EXPECT_TRUE(ui::OpenTheme(file, theme).ok()) << file;
        EXPECT_EQ(theme.ThemeFile, file);
        EXPECT_EQ(profiles::ReadThemeColor(file), theme.ThemeColor) << file;
    }
    int pictures = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(source + "/data")) {
        if (entry.path().extension() != ".jpg") continue;
        ++pictures;
        EXPECT_FALSE(ui::LoadJpeg(entry.path().string()).isNull()) << entry.path();
    }
    EXPECT_GT(pictures, 0);
}

}  // namespace
}  // namespace tamzel::hardening
