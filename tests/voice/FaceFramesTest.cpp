// The face frames: every name the program asks for, their sizes, how small frames line up
// with "default2", and that the pictures show what their names say.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <unistd.h>

#include "tests/voice/VoiceFiles.h"

namespace tamzel::speech::test {
namespace {

// The face picture, and where inside it the small frames are drawn: the program draws the
// face at (FaceLeft - 59, 65) and small frames at (FaceLeft, 122).
constexpr int kFaceW = 207, kFaceH = 214;
constexpr int kLeft = 59, kTop = 57;
constexpr int kSmallW = 90, kSmallH = 116;
// Inside a small frame: the eyes and the mouth.
constexpr int kEyesTop = 15, kEyesBottom = 50;
constexpr int kMouthTop = 72, kMouthBottom = 115;

const char* const kWholeFrames[] = {"default2", "headleft", "headright", "headup", "headdown"};
const char* const kLipFrames[] = {"a", "t", "i", "b", "z", "o", "l", "f", "h", "m", "r", "v", "j", "p"};
const char* const kOtherSmallFrames[] = {"default1", "happy", "sad", "face7", "face8", "face9", "face0",
                                         "mrk", "up", "look1", "right", "look2", "down", "look3",
                                         "left", "look4"};

Picture Frame(const std::string& name) { return DecodeJpeg(ReadBytes(PackPath("Jpg", name))); }

std::vector<std::string> SmallFrames() {
    std::vector<std::string> names(std::begin(kLipFrames), std::end(kLipFrames));
    names.insert(names.end(), std::begin(kOtherSmallFrames), std::end(kOtherSmallFrames));
    return names;
}

// Mean absolute difference of gray levels over a rectangle of two equally sized pictures.
double Difference(const Picture& a, const Picture& b, int x0, int y0, int x1, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) sum += std::abs(a.Gray(x, y) - b.Gray(x, y));
    return sum / ((x1 - x0) * (y1 - y0));
}

// The small-frame region cut out of a whole face.
Picture Crop(const Picture& face) {
    Picture out{kSmallW, kSmallH, {}, true};
    for (int y = 0; y < kSmallH; ++y)
        for (int x = 0; x < kSmallW; ++x) {
            const uint8_t* p = face.Pixel(kLeft + x, kTop + y);
            out.rgb.insert(out.rgb.end(), p, p + 3);
        }
    return out;
}

// Centre of the dark pupil pixels in one half (eye) of a small frame's eye band.
std::pair<double, double> PupilCentre(const Picture& frame, int x0, int x1) {
    double sx = 0, sy = 0, n = 0;
    for (int y = kEyesTop; y < kEyesBottom; ++y)
        for (int x = x0; x < x1; ++x)
            if (frame.Gray(x, y) < 35) sx += x, sy += y, n += 1;
    return n > 0 ? std::pair{sx / n, sy / n} : std::pair{-1.0, -1.0};
}

int BrightPixels(const Picture& frame, int y0, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < frame.width; ++x) count += frame.Gray(x, y) > 240;
    return count;
}

TEST(FaceFrames, EveryFrameDecodesWithItsSize) {
    for (const char* name : kWholeFrames) {
        const Picture p = Frame(name);
        ASSERT_TRUE(p.ok) << name;
        EXPECT_EQ(p.width, kFaceW) << name;
        EXPECT_EQ(p.height, kFaceH) << name;
    }
    for (const std::string& name : SmallFrames()) {
        const Picture p = Frame(name);
        ASSERT_TRUE(p.ok) << name;
        EXPECT_EQ(p.width, kSmallW) << name;
        EXPECT_EQ(p.height, kSmallH) << name;
    }
    static_assert(kLeft + kSmallW <= kFaceW && kTop + kSmallH <= kFaceH, "region inside the face");
}

TEST(FaceFrames, PackHoldsNoOtherFrames) {
    size_t files = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(PackPath("Jpg", "a")).parent_path()))
        files += entry.path().extension() == ".jpg" && !entry.path().stem().string().ends_with("@2x");
    EXPECT_EQ(files, std::size(kWholeFrames) + SmallFrames().size());
    EXPECT_EQ(files, 35u);
}

TEST(FaceFrames, SmallFramesLineUpWithTheWholeFaceWithoutSeams) {
    // Along the border of each small frame the picture must continue "default2" exactly
    // (JPEG noise aside): a frame cut at the wrong place or drawn with another background
    // or head shows a visible edge.
    const Picture whole = Frame("default2");
    const Picture region = Crop(whole);
    for (const std::string& name : SmallFrames()) {
        const Picture frame = Frame(name);
        double sum = 0, worst = 0;
        int n = 0;
        for (int y = 0; y < kSmallH; ++y)
            for (int x = 0; x < kSmallW; ++x) {
                if (x > 1 && x < kSmallW - 2 && y > 1 && y < kSmallH - 2) continue;
                const double d = std::abs(frame.Gray(x, y) - region.Gray(x, y));
                sum += d, worst = std::max(worst, d), ++n;
            }
        EXPECT_LT(sum / n, 2.0) << name;
        EXPECT_LT(worst, 24.0) << name;
    }
}

TEST(FaceFrames, NeutralMouthFrameShowsTheNeutralFace) {
    const Picture region = Crop(Frame("default2"));
    EXPECT_LT(Difference(Frame("default1"), region, 0, 0, kSmallW, kSmallH), 1.0);
}

TEST(FaceFrames, LipFramesAreRecognisablyDifferent) {
    // Each mouth differs from the neutral one and from every other mouth in the mouth area;
    // only b and p (both lips pressed) may be close, and even they must differ.
    std::map<std::string, Picture> frames;
    for (const char* name : kLipFrames) frames[name] = Frame(name);
    const Picture neutral = Frame("default1");
    for (const auto& [name, frame] : frames) {
        EXPECT_GT(Difference(frame, neutral, 0, kMouthTop, kSmallW, kMouthBottom), 1.5) << name;
        EXPECT_LT(Difference(frame, neutral, 0, 0, kSmallW, kEyesBottom), 1.0) << name << " changes the eyes";
        for (const auto& [other, picture] : frames) {
            if (other <= name) continue;
            const double d = Difference(frame, picture, 0, kMouthTop, kSmallW, kMouthBottom);
            EXPECT_GT(d, 0.5) << name << " and " << other << " look the same";
        }
    }
}

// Rows of the mouth area that show the inside of the mouth or teeth: how far it is open.
int OpenRows(const Picture& p) {
    int rows = 0;
    for (int y = kMouthTop; y < kMouthBottom; ++y) {
        bool open = false;
        for (int x = 0; x < kSmallW && !open; ++x) {
            const uint8_t* c = p.Pixel(x, y);
            const bool inside = c[0] < 140 && c[1] < 70 && c[2] < 80;
            const bool teeth = c[0] > 235 && c[1] > 235 && c[2] > 225;
            open = inside || teeth;
        }
        rows += open;
    }
    return rows;
}

TEST(FaceFrames, MouthsOpenAsFarAsTheirSoundsNeed) {
    const struct {
        const char* name;
        int least, most;
    } cases[] = {{"a", 14, 40}, {"o", 12, 40}, {"l", 8, 40}, {"happy", 12, 40},
                 {"t", 5, 14},  {"i", 4, 12},  {"h", 3, 16}, {"f", 5, 12},
                 {"b", 0, 4},   {"m", 0, 4},   {"p", 0, 4},  {"default1", 0, 1}};
    for (const auto& c : cases) {
        const int rows = OpenRows(Frame(c.name));
        EXPECT_GE(rows, c.least) << c.name;
        EXPECT_LE(rows, c.most) << c.name;
    }
    // Wide open a against the narrow i; the round o against the puckered u (frame h).
    EXPECT_GT(OpenRows(Frame("a")), OpenRows(Frame("i")) + 4);
    EXPECT_GT(OpenRows(Frame("o")), OpenRows(Frame("h")) + 4);
}

TEST(FaceFrames, GazeFramesLookWhereTheirNamesSay) {
    const auto neutral = PupilCentre(Frame("default1"), 0, kSmallW / 2);
    const struct {
        const char* name;
        int dx, dy;  // expected direction on the picture; y grows downwards
    } cases[] = {{"up", 0, -1},   {"look1", 1, -1}, {"right", 1, 0},  {"look2", 1, 1},
                 {"down", 0, 1},  {"look3", -1, 1}, {"left", -1, 0}, {"look4", -1, -1}};
    for (const auto& c : cases) {
        for (int half = 0; half < 2; ++half) {
            const int x0 = half * kSmallW / 2;
            const auto base = PupilCentre(Frame("default1"), x0, x0 + kSmallW / 2);
            const auto seen = PupilCentre(Frame(c.name), x0, x0 + kSmallW / 2);
            ASSERT_GE(seen.first, 0) << c.name << ": no pupil found";
            const double dx = seen.first - base.first, dy = seen.second - base.second;
            if (c.dx == 0) EXPECT_NEAR(dx, 0.0, 1.0) << c.name;
            else EXPECT_GT(dx * c.dx, 1.5) << c.name;
            if (c.dy == 0) EXPECT_NEAR(dy, 0.0, 1.0) << c.name;
            else EXPECT_GT(dy * c.dy, 1.5) << c.name;
        }
    }
    EXPECT_GT(neutral.first, 0);
}

TEST(FaceFrames, BlinkAndWinkCloseTheEyes) {
    const int open = BrightPixels(Frame("default1"), kEyesTop, kEyesBottom);
    ASSERT_GT(open, 200) << "the neutral eyes should show their whites";
    EXPECT_LT(BrightPixels(Frame("mrk"), kEyesTop, kEyesBottom), open / 10);
    EXPECT_LT(BrightPixels(Frame("happy"), kEyesTop, kEyesBottom), open / 10);
    const int wink = BrightPixels(Frame("face8"), kEyesTop, kEyesBottom);
    EXPECT_GT(wink, open / 3);
    EXPECT_LT(wink, open * 2 / 3);
    EXPECT_LT(BrightPixels(Frame("face7"), kEyesTop, kEyesBottom), open * 3 / 4) << "bored: lids half down";
}

TEST(FaceFrames, ExpressionsAndHeadFramesDifferFromTheNeutralFace) {
    const Picture neutral = Frame("default1");
    for (const char* name : {"happy", "sad", "face7", "face8", "face9", "face0"})
        EXPECT_GT(Difference(Frame(name), neutral, 0, 0, kSmallW, kSmallH), 1.0) << name;
    EXPECT_GT(Difference(Frame("face9"), Frame("face0"), 0, 0, kSmallW, kSmallH), 1.0);
    const Picture whole = Frame("default2");
    for (const char* name : {"headleft", "headright", "headup", "headdown"})
        EXPECT_GT(Difference(Frame(name), whole, 0, 0, kFaceW, kFaceH), 2.0) << name;
}

#ifdef TAMZEL_FACEGEN
TEST(FaceFrames, CommittedFramesMatchWhatTheGeneratorDraws) {
    const auto dir = std::filesystem::temp_directory_path() / ("tamzel-facegen-" + std::to_string(::getpid()));
    const std::string command = std::string(TAMZEL_FACEGEN) + " '" + dir.string() + "' > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::vector<std::string> names = SmallFrames();
    names.insert(names.end(), std::begin(kWholeFrames), std::end(kWholeFrames));
    std::vector<std::string> withDouble = names;
    for (const std::string& name : names) withDouble.push_back(name + "@2x");
    for (const std::string& name : withDouble) {
        const Picture fresh = DecodeJpeg(ReadBytes((dir / (name + ".jpg")).string()));
        const Picture committed = Frame(name);
        ASSERT_TRUE(fresh.ok) << name;
        ASSERT_EQ(fresh.width, committed.width) << name;
        ASSERT_EQ(fresh.height, committed.height) << name;
        EXPECT_LT(Difference(fresh, committed, 0, 0, fresh.width, fresh.height), 0.5)
            << name << ": run the target face_frames and commit data/gorvin/Jpg";
    }
    std::filesystem::remove_all(dir);
}
#endif

}  // namespace
}  // namespace tamzel::speech::test
