// Faults found by fuzzing, each kept as a test of the fixed behaviour.
#include <gtest/gtest.h>

#include "JpegSizeTest.h"
#include "speech/text/SpeechError.h"

namespace tamzel::hardening {
namespace {

// A picture whose header claims gigapixels made the decoder allocate its buffer (12 GB for
// 65279 x 65279) before reading a single row: refused now, with a message.
TEST(FuzzRegression, JpegClaimingAHugeSizeIsRefusedBeforeAllocating) {
    const std::string small = SmallJpeg();
    for (const ClaimedSize& c : kClaimedSizes) {
        std::string bytes = WithClaimedSize(small, c.width, c.height);
        if (c.decodes && c.width == 16) {
            speech::JpegImage image = speech::JpegImage::Decode(bytes, "maly.jpg");
            EXPECT_EQ(image.width(), 16);
            EXPECT_EQ(image.height(), 8);
            continue;
        }
        try {
            speech::JpegImage::Decode(bytes, "velky.jpg");
            EXPECT_TRUE(c.decodes) << c.width << "x" << c.height << " decoded";
        } catch (const speech::SpeechError& error) {
            std::string message = error.what();
            EXPECT_NE(message.find("velky.jpg"), std::string::npos) << message;
            if (!c.decodes) {
                EXPECT_NE(message.find("ve\xBEk"), std::string::npos) << message;
            }
        }
    }
}

}  // namespace
}  // namespace tamzel::hardening
