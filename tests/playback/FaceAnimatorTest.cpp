// Face animation: frame names, lip groups, where frames are drawn in both layouts, the
// head-frame repaint rule, frames read by name at each call, and silence while animation
// is off.
#include <gtest/gtest.h>

#include <fstream>

#include "base/Codepage.h"
#include "speech/playback/FaceAnimator.h"
#include "speech/text/SpeechError.h"
#include "speech/text/Units.h"
#include "tests/playback/PlaybackTestSupport.h"

namespace tamzel::speech {
namespace {


TEST(FaceFrameNameTest, CodesAndPlainNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"-", "default1"}, {"@", "default2"}, {")", "happy"},    {"(", "sad"},
        {"[", "headup"},   {"]", "headdown"}, {"{", "headleft"}, {"}", "headright"},
        {"0", "face0"},    {"7", "face7"},    {"8", "face8"},    {"9", "face9"},
        {"5", "5"},        {"mrk", "mrk"},    {"look3", "look3"}, {"a", "a"},
        {"--", "--"},      {"", ""},
    };
    for (auto [code, name] : cases) EXPECT_EQ(FaceFrameName(code), name) << code;
}

TEST(LipGroupTest, EveryUnitCharacterHasItsFrame) {
    // Written as UTF-8 here and converted, so the Windows-1250 escapes of the table are
    // checked against an independent spelling.
    const std::pair<const char*, const char*> groups[] = {
        {"aeAEáéÁÉ", "a"},          {"tTťŤdDďĎkKxXqQ()", "t"}, {"iIíÍsScCyYýÝ", "i"},
        {"bB", "b"},                {"zZžŽ", "z"},              {"oOóÓ", "o"},
        {"lL", "l"},                {"fF", "f"},                {"gGhHšŠuUúÚ_", "h"},
        {"mMnNňŇ", "m"},            {"rR", "r"},                {"vVwW", "v"},
        {"jJčČ", "j"},              {"pP", "p"},                {"~-", "default1"},
        {"5", "happy"},             {"6", "sad"},               {"7", "face7"},
        {"8", "face8"},             {"9", "face9"},             {"0", "face0"},
        {"{", "headleft"},          {"}", "headright"},         {"[", "headup"},
        {"]", "headdown"},          {"@", "default2"},
    };
    for (auto [members, frame] : groups) {
        for (char c : base::Cp1250(members)) {
            int k = LipGroup(c);
            ASSERT_GT(k, 0) << members;
            EXPECT_EQ(FaceFrameName(kUnitFrameCodes.substr(k - 1, 1)), frame) << members;
        }
    }
    for (char c : UnitAlphabet) EXPECT_GT(LipGroup(c), 0) << c;
    for (char c : std::string("+!.?, 1234<>") + base::Cp1250("ľôä")) EXPECT_EQ(LipGroup(c), 0) << c;
}

class FaceAnimatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::SyntheticPack{}.Write(temp.path() / "gorvin");
        pack = std::make_shared<VoicePack>((temp.path() / "gorvin").string());
        ASSERT_TRUE(face.Load(pack).ok());
        face.SetSurface(&surface);
    }
    test::TempFolder temp;
    std::shared_ptr<VoicePack> pack;
    FaceAnimator face;
    test::RecordingSurface surface;
};

TEST_F(FaceAnimatorTest, SmallAndHeadFramesInBothLayouts) {
    struct Case {
        bool simple;
        int faceLeft;
        char unit;
        std::vector<std::string> drawn;
        int x, y;
    };
    const Case cases[] = {
        {false, 385, 'a', {"a"}, 385, 122},
        {true, 83, 'a', {"a"}, 83, 122},
        {false, 385, '~', {"default1"}, 385, 122},
        {false, 385, '5', {"happy"}, 385, 122},
        {false, 385, 'D', {"t"}, 385, 122},
        {false, 385, '[', {"repaint", "headup", "label"}, 326, 65},
        {true, 83, '}', {"repaint", "headright", "label"}, 24, 65},
        {false, 385, '@', {"repaint", "default2", "label"}, 326, 65},
    };
    for (const Case& c : cases) {
        surface.entries.clear();
        surface.view = {true, c.simple, c.faceLeft};
        face.ShowUnitFrame(c.unit);
        ASSERT_EQ(surface.Names(), c.drawn) << c.unit;
        const auto& frame = surface.entries[c.drawn.size() > 1 ? 1 : 0];
        EXPECT_EQ(frame.x, c.x) << c.unit;
        EXPECT_EQ(frame.y, c.y) << c.unit;
    }
}

TEST_F(FaceAnimatorTest, NothingIsDrawnWhileAnimationIsOff) {
    surface.view.animationOn = false;
    face.ShowUnitFrame('a');
    face.ShowUnitFrame('[');
    EXPECT_TRUE(face.ShowFaceFrame("mrk").ok());
    EXPECT_TRUE(surface.entries.empty());
    face.ShowUnitFrame('+');  // no lip group: nothing, also with animation on
    surface.view.animationOn = true;
    face.ShowUnitFrame('+');
    EXPECT_TRUE(surface.entries.empty());
}

TEST_F(FaceAnimatorTest, NamedFramesAreReadAtEveryCall) {
    surface.view = {true, true, 83};
    EXPECT_TRUE(face.ShowFaceFrame("-").ok());
    EXPECT_TRUE(face.ShowFaceFrame("mrk").ok());
    ASSERT_EQ(surface.Names(), (std::vector<std::string>{"default1", "mrk"}));
    EXPECT_EQ(surface.entries[1].x, 83);
    EXPECT_EQ(surface.entries[1].y, 122);

    // A frame replaced on disk shows its new picture; a missing one is an error.
    std::ofstream(temp.path() / "gorvin" / "Jpg" / "mrk.jpg", std::ios::binary)
        << JpegImage(3, 2, std::vector<uint8_t>(18, 200)).Encode();
    struct SizeSurface : test::RecordingSurface {
        int width = 0;
        void DrawFrame(const std::string&, const JpegImage& image, int, int) override { width = image.width(); }
    } sized;
    face.SetSurface(&sized);
    EXPECT_TRUE(face.ShowFaceFrame("mrk").ok());
    EXPECT_EQ(sized.width, 3);
    base::Status missing = face.ShowFaceFrame("nonexistent");
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.message().find("nonexistent"), std::string::npos) << missing.message();
}

TEST_F(FaceAnimatorTest, UnitFramesAreDecodedOnceAtLoad) {
    EXPECT_EQ(face.NeutralFace().width(), 207);
    EXPECT_EQ(face.UnitFrame(1).width(), 64);
    std::filesystem::remove(temp.path() / "gorvin" / "Jpg" / "a.jpg");
    face.ShowUnitFrame('a');  // still drawn from memory
    EXPECT_EQ(surface.Names(), std::vector<std::string>{"a"});
    FaceAnimator again;
    base::Status loaded = again.Load(pack);
    EXPECT_FALSE(loaded.ok());
    EXPECT_NE(loaded.message().find("a.jpg"), std::string::npos) << loaded.message();
    EXPECT_FALSE(again.loaded()) << "a failed load leaves the animator as it was";
}

TEST(JpegImageTest, RoundTripAndBrokenData) {
    std::vector<uint8_t> rgb(16 * 8 * 3);
    for (size_t i = 0; i < rgb.size(); i += 3) rgb[i] = 250, rgb[i + 1] = 10, rgb[i + 2] = 120;
    base::Result<JpegImage> result = JpegImage::Decode(JpegImage(16, 8, rgb).Encode(95), "x.jpg");
    ASSERT_TRUE(result) << result.message();
    const JpegImage& decoded = *result;
    ASSERT_EQ(decoded.width(), 16);
    ASSERT_EQ(decoded.height(), 8);
    auto p = decoded.Pixel(5, 5);
    EXPECT_NEAR(p[0], 250, 4);
    EXPECT_NEAR(p[1], 10, 4);
    EXPECT_NEAR(p[2], 120, 4);
    for (const std::string& broken : {std::string(), std::string("not a jpeg"), std::string("\xFF\xD8\xFF", 3)}) {
        base::Result<JpegImage> refused = JpegImage::Decode(broken, "broken.jpg");
        ASSERT_FALSE(refused);
        EXPECT_NE(refused.message().find("broken.jpg"), std::string::npos) << refused.message();
    }
}

}  // namespace
}  // namespace tamzel::speech
