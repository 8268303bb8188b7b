// Speech output against the null sink and a manual clock: start-up with and without a
// sound device, unit timing by the speed setting, rate, volume and pan per unit, pitch
// marks, face codes, empty recordings, errors of text preparation, stopping.
#include <gtest/gtest.h>

#include <fstream>

#include "base/Codepage.h"
#include "speech/playback/NullSoundSink.h"
#include "speech/playback/SpeechOutput.h"
#include "speech/text/SpeechError.h"
#include "tests/playback/PlaybackTestSupport.h"

namespace tamzel::speech {
namespace {

class SpeechOutputTest : public ::testing::Test {
protected:
    void Init(const test::SyntheticPack& synthetic = {}, int devices = 1) {
        synthetic.Write(temp.path() / "gorvin");
        std::ofstream(temp.path() / "slovnik.vox");  // an empty dictionary
        sink = std::make_unique<NullSoundSink>(clock, devices);
        speech = std::make_unique<SpeechOutput>(*sink, face, settings, clock);
        speech->packFolder = (temp.path() / "gorvin").string();
        speech->dictionaryPath = (temp.path() / "slovnik.vox").string();
        speech->onMessage = [this](const std::string& title, const std::string& text) {
            messages.push_back(title + "|" + text);
        };
        speech->onUnitStarted = [this](const UnitStarted& u) { started.push_back(u); };
        face.SetSurface(&surface);
    }
    // Ticks every millisecond of clock time until the utterance has ended.
    void RunToEnd(double limitSeconds = 30.0) {
        while (speech->Speaking && clock.Seconds() < limitSeconds) {
            speech->SpeechTick();
            clock.Advance(0.001);
        }
        ASSERT_FALSE(speech->Speaking) << "utterance did not end";
    }
    std::string Units() const {
        std::string s;
        for (const UnitStarted& u : started) s += u.played;
        return s;
    }

    test::TempFolder temp;
    ManualPlaybackClock clock;
    std::unique_ptr<NullSoundSink> sink;
    FaceAnimator face;
    test::RecordingSurface surface;
    FixedSpeechSettings settings;
    std::unique_ptr<SpeechOutput> speech;
    std::vector<std::string> messages;
    std::vector<UnitStarted> started;
};

TEST_F(SpeechOutputTest, StartUpCreatesOneNeutralVoicePerUnit) {
    Init();
    ASSERT_TRUE(speech->InitSpeech(true).ok());
    ASSERT_TRUE(speech->SoundAvailable());
    EXPECT_TRUE(sink->opened());
    EXPECT_EQ(sink->voicesCreated(), kSoundUnitCount);
    for (int k = 1; k <= kSoundUnitCount; ++k) {
        EXPECT_EQ(speech->Voice(k).Size(), 2205 * 2) << k;  // 0.1 s of 16-bit mono
        EXPECT_EQ(speech->Voice(k).Position(), 0) << k;
    }
    EXPECT_EQ(face.NeutralFace().width(), 207);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(speech->Speaking);
}

TEST_F(SpeechOutputTest, WithoutADeviceSpeechIsOffForTheRun) {
    for (bool speechChecked : {true, false}) {
        messages.clear();
        Init({}, 0);
        EXPECT_TRUE(speech->InitSpeech(speechChecked).ok()) << "no device is no failure";
        EXPECT_FALSE(speech->SoundAvailable());
        EXPECT_FALSE(sink->opened());
        EXPECT_EQ(sink->voicesCreated(), 0);
        EXPECT_TRUE(face.loaded()) << "the face works without sound";
        if (speechChecked) {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(base::ToUtf8(messages[0]),
                      "Pozor|Na tomto počítači nie je nainštalovaná zvuková karta. "
                      "Syntéza reči bola automaticky deaktivovaná.");
        } else {
            EXPECT_TRUE(messages.empty());
        }
        EXPECT_TRUE(speech->Speak("Ahoj.").ok());
        EXPECT_FALSE(speech->Speaking) << "nothing for the window's timer to poll";
    }
}

TEST_F(SpeechOutputTest, AMissingPackFailsAtStart) {
    Init();
    speech->packFolder = (temp.path() / "nowhere").string();
    base::Status missingPack = speech->InitSpeech(true);
    EXPECT_FALSE(missingPack.ok());
    EXPECT_NE(missingPack.message().find("nowhere"), std::string::npos) << missingPack.message();
    EXPECT_FALSE(speech->SoundAvailable());
    std::filesystem::remove(temp.path() / "gorvin" / "Wave" / "pl.wav");
    speech->packFolder = (temp.path() / "gorvin").string();
    base::Status missingUnit = speech->InitSpeech(true);
    EXPECT_FALSE(missingUnit.ok());
    EXPECT_NE(missingUnit.message().find("pl.wav"), std::string::npos) << missingUnit.message();
    EXPECT_FALSE(speech->SoundAvailable());
}

TEST_F(SpeechOutputTest, ASinglePauseUtterancePlaysOnceAndEnds) {
    Init();
    ASSERT_TRUE(speech->InitSpeech(true).ok());
    ASSERT_TRUE(speech->SoundAvailable());
    EXPECT_TRUE(speech->Speak("").ok());
    EXPECT_EQ(speech->UnitString, "~");
    EXPECT_EQ(speech->PlayPosition, 0);
    // The window's timer runs while Speaking and stops when it turns false.
    EXPECT_TRUE(speech->Speaking);
    RunToEnd();
    EXPECT_FALSE(speech->Speaking);
    EXPECT_EQ(Units(), "~");
    EXPECT_EQ(surface.Names(), std::vector<std::string>{"default1"});
}

// The next unit starts once the current one has played (150 - speed) % of its bytes.
TEST_F(SpeechOutputTest, SpeedDecidesWhenTheNextUnitStarts) {
    for (int speed : {51, 60, 75, 100}) {
        started.clear();
        clock = ManualPlaybackClock();
        Init();
        ASSERT_TRUE(speech->InitSpeech(true).ok());
    ASSERT_TRUE(speech->SoundAvailable());
        settings.speed = speed;
        EXPECT_TRUE(speech->Speak("ma").ok());  // ~ma~: every unit 0.1 s at the neutral rate (contour 0)
        settings.intonation = 0;
        RunToEnd();
        ASSERT_EQ(Units(), "~ma~");
        for (size_t i = 1; i < started.size(); ++i) {
            double gap = started[i].seconds - started[i - 1].seconds;
            EXPECT_NEAR(gap, 0.1 * (150 - speed) / 100.0, 0.0015) << "speed " << speed << " unit " << i;
        }
    }
}

TEST_F(SpeechOutputTest, RateVolumeAndPanOfEachUnit) {
    Init();
    ASSERT_TRUE(speech->InitSpeech(true).ok());
    ASSERT_TRUE(speech->SoundAvailable());
    settings = FixedSpeechSettings();
    settings.volume = 700;
    settings.intonation = 10;
    speech->placement = [] { return ScreenPlacement{0, 400, 1600}; };  // centre at 200 of 1600
    EXPECT_TRUE(speech->Speak("").ok());
    speech->Contour = {200};  // a loud high unit: the volume formula goes above 0
    speech->SpeechTick();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].frequency, 22050 + (200 - 128) * 10);
    EXPECT_EQ(started[0].volume, 0) << "held at 0 above";
    EXPECT_EQ(started[0].pan, -375);
    ASSERT_EQ(sink->starts().size(), 1u);
    EXPECT_EQ(sink->starts()[0].voice, 40);  // the long pause, unit 41
    EXPECT_EQ(sink->starts()[0].frequency, started[0].frequency);
    EXPECT_EQ(sink->starts()[0].pan, -375);

    settings.volume = 100;
    EXPECT_TRUE(speech->Speak("").ok());
    speech->Contour = {60};
    RunToEnd();
    EXPECT_EQ(started.back().volume, 60 * 6 + 100 - 1568);
    EXPECT_EQ(started.back().frequency, 22050 - 68 * 10);
}

TEST(PanTest, FromTheWindowsPlaceOnTheScreen) {
    struct Case {
        ScreenPlacement p;
        int32_t pan;
    };
    const Case cases[] = {
        {{760, 400, 1920}, 0},       // centred
        {{-200, 400, 1920}, -500},   // centre on the left edge
        {{1720, 400, 1920}, 500},    // centre on the right edge
        {{0, 400, 1920}, -396},      // (200 - 960) / 1920 * 1000 = -395.8
        {{0, 0, 0}, 0},              // no screen known
        {{3, 0, 2000}, -498},        // -498.5 rounds to the even neighbour
        {{5, 0, 2000}, -498},        // -497.5 likewise
    };
    for (const Case& c : cases) EXPECT_EQ(PanOf(c.p), c.pan) << c.p.windowLeft << " " << c.p.screenWidth;
}

TEST_F(SpeechOutputTest, PitchMarksToggleTheOffset) {
    Init();
    ASSERT_TRUE(speech->InitSpeech(true).ok());
    ASSERT_TRUE(speech->SoundAvailable());
    settings.intonation = 0;
    EXPECT_TRUE(speech->Speak("ma +ma +ma").ok());
    ASSERT_EQ(speech->UnitString, "~ma~+ma~+ma~");
    RunToEnd();
    ASSERT_EQ(Units(), "~ma~ma~ma~");
    const int32_t expected[] = {22050, 22050, 22050, 22050, 21550, 21550, 21550, 22550, 22550, 22550};
    for (size_t i = 0; i < started.size(); ++i) EXPECT_EQ(started[i].frequency, expected[i]) << i;
    EXPECT_TRUE(speech->Speak("ma").ok());
    EXPECT_EQ(speech->PitchOffset, 0) << "every utterance starts unshifted";
}

TEST_F(SpeechOutputTest, FaceCodesShowTheirFramesAndPlayAsPauses) {
    Init();
    ASSERT_TRUE(speech->InitSpeech(true).ok());
    ASSERT_TRUE(speech->SoundAvailable());
    settings.intonation = 0;  // neutral rate: every pause unit lasts 0.1 s
    EXPECT_TRUE(speech->Speak("<smile>a<yes>").ok());
    ASSERT_EQ(speech->UnitString, "~5555555555a[@]@[@]@~");
    RunToEnd();
    EXPECT_EQ(speech->UnitString, "~~~~~~~~~~~a--------~") << "codes overwritten as they play";
    EXPECT_EQ(Units(), "~~~~~~~~~~~a--------~");
    std::vector<std::string> frames;
    for (const auto& name : surface.Names())
        if (name != "repaint" && name != "label") frames.push_back(name);
    std::vector<std::string> expected = {"default1"};
    expected.insert(expected.end(), 10, "happy");
    for (const char* f : {"a", "headup", "default2", "headdown", "default2", "headup", "default2",
                          "headdown", "default2", "default1"})
        expected.push_back(f);
    EXPECT_EQ(frames, expected);
    // The smile holds for ten long pauses, the nod steps last one short pause each.
    EXPECT_NEAR(started[11].seconds - started[1].seconds, 10 * 0.1 * 0.9, 0.012);
}

TEST_F(SpeechOutputTest, AnEmptyRecordingDoesNotStallTheUtterance) {
    test::SyntheticPack pack;
    pack.emptyUnits = "m~";
    Init(pack);
    ASSERT_TRUE(speech->InitSpeech(true).ok());
    ASSERT_TRUE(speech->SoundAvailable());
    EXPECT_EQ(speech->Voice(UnitNumber('m')).Size(), 0);
    EXPECT_TRUE(speech->Speak("ma ma").ok());
    RunToEnd(5.0);
    EXPECT_EQ(Units(), "~ma~ma~");
    EXPECT_LT(clock.Seconds(), 0.5);
}

TEST_F(SpeechOutputTest, TwoEqualUnitsRestartTheSameVoice) {
    Init();
    ASSERT_TRUE(speech->InitSpeech(true).ok());
    ASSERT_TRUE(speech->SoundAvailable());
    EXPECT_TRUE(speech->Speak("").ok());
    speech->UnitString = "aa";
    speech->Contour = {128, 128};
    RunToEnd();
    ASSERT_EQ(sink->starts().size(), 2u);
    EXPECT_EQ(sink->starts()[0].voice, sink->starts()[1].voice);
    EXPECT_GT(sink->starts()[1].seconds, sink->starts()[0].seconds);
}

TEST_F(SpeechOutputTest, AFailedPreparationLeavesThePlayingUtteranceAlone) {
    Init();
    ASSERT_TRUE(speech->InitSpeech(true).ok());
    ASSERT_TRUE(speech->SoundAvailable());
    EXPECT_TRUE(speech->Speak("ma +ma").ok());
    for (int i = 0; i < 400 && speech->PlayPosition < 6; ++i) speech->SpeechTick(), clock.Advance(0.001);
    ASSERT_EQ(speech->PitchOffset, -500);
    const std::string units = speech->UnitString;
    const int position = speech->PlayPosition;
    std::filesystem::remove(temp.path() / "slovnik.vox");
    base::Status said = speech->Speak("Iné.");
    EXPECT_FALSE(said.ok());
    EXPECT_NE(said.message().find("slovnik.vox"), std::string::npos) << said.message();
    EXPECT_EQ(speech->UnitString, units);
    EXPECT_EQ(speech->PlayPosition, position);
    EXPECT_EQ(speech->PitchOffset, -500);
    EXPECT_TRUE(speech->Speaking);
    RunToEnd();
    EXPECT_EQ(Units(), "~ma~ma~");
}

TEST_F(SpeechOutputTest, SpeakReplacesAndStopSpeechEnds) {
    Init();
    ASSERT_TRUE(speech->InitSpeech(true).ok());
    ASSERT_TRUE(speech->SoundAvailable());
    EXPECT_TRUE(speech->Speak("ma ma ma").ok());
    for (int i = 0; i < 150; ++i) speech->SpeechTick(), clock.Advance(0.001);
    EXPECT_TRUE(speech->Speak("o").ok());
    EXPECT_EQ(speech->PlayPosition, 0);
    RunToEnd();
    EXPECT_EQ(Units().substr(Units().size() - 3), "~o~");

    EXPECT_TRUE(speech->Speak("ma ma").ok());
    speech->SpeechTick();
    surface.entries.clear();
    speech->StopSpeech();
    EXPECT_FALSE(speech->Speaking);
    EXPECT_EQ(surface.Names(), std::vector<std::string>{"default1"});
    size_t before = started.size();
    speech->SpeechTick();  // a stray tick after the stop does nothing
    EXPECT_EQ(started.size(), before);
}

}  // namespace
}  // namespace tamzel::speech
