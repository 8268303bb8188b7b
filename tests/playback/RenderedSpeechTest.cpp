// Whole utterances rendered through the OpenAL loopback device, as --speak --wav does:
// with a synthetic pack (pure tones, silent pauses) and, when the program folder has it,
// with the real voice pack.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "base/Codepage.h"
#include "speech/playback/SpeechDriver.h"
#include "speech/text/VoicePack.h"
#include "tests/playback/PlaybackTestSupport.h"

namespace tamzel::speech {
namespace {

constexpr double kRate = OpenAlLoopbackSink::kSampleRate;

struct Rendered {
    std::vector<int16_t> samples;
    std::vector<test::RecordingSurface::Entry> frames;
    std::vector<UnitStarted> units;
    double seconds() const { return samples.size() / 2.0 / kRate; }
};

class RenderedSpeechTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (!OpenAlLoopbackSink().CountDevices()) GTEST_SKIP() << "OpenAL without loopback rendering";
        std::filesystem::path dictionary = temp.path() / "slovnik.vox";
        std::ofstream(dictionary).flush();
        if (GetParam() == "real") {
            const char* home = std::getenv("TAMZEL_HOME");
            if (!home) home = TAMZEL_HOME_DIR;
            std::filesystem::path pack = home ? std::filesystem::path(home) / "gorvin" : "";
            if (!home || !std::filesystem::exists(pack / "Wave" / "pl.wav") ||
                !std::filesystem::exists(pack / "Jpg" / "default2.jpg"))
                GTEST_SKIP() << "no voice pack in the program folder";
            packFolder = pack.string();
            if (std::filesystem::exists(std::filesystem::path(home) / "files" / "slovnik.vox"))
                dictionary = std::filesystem::path(home) / "files" / "slovnik.vox";
        } else {
            test::SyntheticPack synthetic;
            synthetic.seconds = 0.15;
            synthetic.Write(temp.path() / "gorvin");
            packFolder = (temp.path() / "gorvin").string();
        }
        dictionaryPath = dictionary.string();
    }

    Rendered Render(const std::string& utf8, int speed = 60, ScreenPlacement place = {}, int intonation = 4) {
        OpenAlLoopbackSink sink;
        LoopbackClock clock(sink);
        FaceAnimator face;
        test::RecordingSurface surface;
        face.SetSurface(&surface);
        FixedSpeechSettings settings;
        settings.speed = speed;
        settings.intonation = intonation;
        SpeechOutput speech(sink, face, settings, clock);
        speech.packFolder = packFolder;
        speech.dictionaryPath = dictionaryPath;
        speech.placement = [place] { return place; };
        Rendered r;
        speech.onUnitStarted = [&r](const UnitStarted& u) { r.units.push_back(u); };
        EXPECT_TRUE(speech.InitSpeech(true).ok());
        EXPECT_TRUE(speech.Speak(base::FromUtf8(utf8).value()).ok());
        OfflineRender render = RenderUntilSilent(speech, sink);
        EXPECT_FALSE(render.cutOff);
        r.samples = std::move(render.samples);
        r.frames = surface.entries;
        return r;
    }

    test::TempFolder temp;
    std::string packFolder, dictionaryPath;
};

TEST_P(RenderedSpeechTest, AQuestionSoundsAndShortensWithSpeed) {
    Rendered slow = Render("Ahoj, ako sa máš?", 51);
    Rendered fast = Render("Ahoj, ako sa máš?", 100);
    EXPECT_GT(test::Rms(slow.samples, 0), 300.0) << "silent utterance";
    EXPECT_GT(test::Rms(fast.samples, 1), 300.0) << "silent utterance";
    EXPECT_EQ(slow.units.size(), fast.units.size());
    EXPECT_LE(fast.seconds(), slow.seconds() * 2.0 / 3.0)
        << "speed 51: " << slow.seconds() << " s, speed 100: " << fast.seconds() << " s";
}

TEST_P(RenderedSpeechTest, LeftScreenEdgeMakesTheLeftChannelLouderByFiveDb) {
    Rendered r = Render("Ahoj, ako sa máš?", 60, ScreenPlacement{-300, 600, 1920});
    for (const UnitStarted& u : r.units) EXPECT_EQ(u.pan, -500);
    double db = 20 * std::log10(test::Rms(r.samples, 0) / test::Rms(r.samples, 1));
    EXPECT_NEAR(db, 5.0, 0.05);
}

TEST_P(RenderedSpeechTest, SmileShowsTenHappyFramesInSilence) {
    Rendered r = Render("<smile>");
    std::vector<size_t> happy;
    for (size_t i = 0; i < r.frames.size(); ++i)
        if (r.frames[i].what == "happy") happy.push_back(i);
    ASSERT_EQ(happy.size(), 10u);
    EXPECT_EQ(happy.back() - happy.front(), 9u) << "the ten frames follow each other";
    std::vector<size_t> smileUnits;
    for (const UnitStarted& u : r.units)
        if (u.character == '5') smileUnits.push_back(static_cast<size_t>(u.seconds * kRate));
    ASSERT_EQ(smileUnits.size(), 10u);
    EXPECT_LT(test::Rms(r.samples, 0, smileUnits.front(), r.samples.size() / 2), 1.0);
    // At speed 60 each pause lasts 90 % of the long pause recording before the next starts.
    VoicePack pack(packFolder);
    const WaveSound pause = ParseWave(pack.ReadResource("Wave", "pl"), "pl");
    const double pauseSeconds = static_cast<double>(pause.samples.size()) / pause.sampleRate;
    EXPECT_GT(r.seconds(), 10 * pauseSeconds * 0.9) << "held for ten long pauses";
}

INSTANTIATE_TEST_SUITE_P(Packs, RenderedSpeechTest, ::testing::Values("synthetic", "real"));

// A pitch mark lowers the rest of the answer by 500 Hz of rate: measured on pure tones.
TEST(RenderedPitchTest, PitchMarkLowersTheFollowingUnits) {
    test::TempFolder temp;
    test::SyntheticPack synthetic;
    synthetic.seconds = 0.3;
    synthetic.Write(temp.path() / "gorvin");
    std::ofstream(temp.path() / "slovnik.vox").flush();
    auto toneOfA = [&](const std::string& text) {
        OpenAlLoopbackSink sink;
        LoopbackClock clock(sink);
        FaceAnimator face;
        FixedSpeechSettings settings;
        settings.speed = 51;
        settings.intonation = 0;
        SpeechOutput speech(sink, face, settings, clock);
        speech.packFolder = (temp.path() / "gorvin").string();
        speech.dictionaryPath = (temp.path() / "slovnik.vox").string();
        double start = -1;
        speech.onUnitStarted = [&](const UnitStarted& u) {
            if (u.character == 'a') start = u.seconds;
        };
        EXPECT_TRUE(speech.InitSpeech(true).ok());
        EXPECT_TRUE(speech.Speak(text).ok());
        std::vector<int16_t> out = RenderUntilSilent(speech, sink).samples;
        EXPECT_GE(start, 0.0);
        auto from = static_cast<size_t>((start + 0.01) * kRate);
        return test::DominantFrequency(out, 0, static_cast<int>(kRate), from, from + size_t(0.25 * kRate));
    };
    double plain = toneOfA("a"), lowered = toneOfA("+a"), raised = toneOfA("+ma +a");
    EXPECT_NEAR(plain, 220.0, 0.5);
    EXPECT_NEAR(lowered / plain, 21550.0 / 22050.0, 0.002);
    EXPECT_NEAR(raised / plain, 22550.0 / 22050.0, 0.002);
}

}  // namespace
}  // namespace tamzel::speech
