// Faults found while fuzzing the window's readers, each kept as a test of the fixed behaviour.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include "JpegSizeTest.h"
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

}  // namespace
}  // namespace tamzel::hardening
