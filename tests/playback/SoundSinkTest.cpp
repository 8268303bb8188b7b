// The sound sinks: gains and pan in hundredths of a dB, the loopback device's real mix,
// voice positions and restarts, and the null sink's simulated timing.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "speech/playback/NullSoundSink.h"
#include "speech/playback/OpenAlSink.h"
#include "tests/playback/PlaybackTestSupport.h"

namespace tamzel::speech {
namespace {

using test::Rms;
using test::Sine;
using test::ViewOf;

double Db(double ratio) { return 20.0 * std::log10(ratio); }

TEST(GainsTest, VolumeAndPanInHundredthsOfDb) {
    struct Case {
        int32_t volume, pan;
        double leftDb, rightDb;
    };
    const Case cases[] = {
        {0, 0, 0.0, 0.0},        {-600, 0, -6.0, -6.0},    {250, 0, 0.0, 0.0},  // above 0 held
        {0, -500, 0.0, -5.0},    {0, 500, -5.0, 0.0},      {-200, -1000, -2.0, -12.0},
        {-20000, 0, -100.0, -100.0},  // below the floor
    };
    for (const Case& c : cases) {
        ChannelGains g = GainsOf(c.volume, c.pan);
        EXPECT_NEAR(Db(g.left), c.leftDb, 1e-9) << c.volume << " " << c.pan;
        EXPECT_NEAR(Db(g.right), c.rightDb, 1e-9) << c.volume << " " << c.pan;
    }
}

class LoopbackTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!sink.CountDevices()) GTEST_SKIP() << "OpenAL without loopback rendering";
        sink.Open();
    }
    // Renders until the voice stops (at most `seconds`).
    std::vector<int16_t> RenderVoice(SoundVoice& voice, double seconds = 3.0) {
        std::vector<int16_t> out;
        while (voice.Playing() && sink.RenderedSeconds() < seconds) sink.Render(441, out);
        return out;
    }
    OpenAlLoopbackSink sink;
};

TEST_F(LoopbackTest, PanAttenuatesOnlyTheFarChannel) {
    std::vector<int16_t> tone = Sine(440, 22050, 0.3, 12000);
    struct Case {
        int32_t pan;
        double leftOverRightDb;
    };
    for (Case c : {Case{0, 0.0}, Case{-500, 5.0}, Case{500, -5.0}, Case{-1200, 12.0}}) {
        auto voice = sink.CreateVoice(ViewOf(tone, 22050));
        voice->SetPan(c.pan);
        voice->SetFrequency(22050);
        voice->Play();
        std::vector<int16_t> out = RenderVoice(*voice);
        double left = Rms(out, 0), right = Rms(out, 1);
        ASSERT_GT(left + right, 1000.0) << "silent render";
        EXPECT_NEAR(Db(left / right), c.leftOverRightDb, 0.1) << "pan " << c.pan;
        // The near channel keeps the full level of a centred voice.
        EXPECT_NEAR(std::max(left, right), 12000 / std::sqrt(2.0), 12000 * 0.03) << "pan " << c.pan;
    }
}

TEST_F(LoopbackTest, VolumeAttenuatesBothChannels) {
    std::vector<int16_t> tone = Sine(300, 22050, 0.3, 12000);
    auto loud = sink.CreateVoice(ViewOf(tone, 22050));
    loud->Play();
    double full = Rms(RenderVoice(*loud), 0);
    auto quiet = sink.CreateVoice(ViewOf(tone, 22050));
    quiet->SetVolume(-800);
    quiet->Play();
    std::vector<int16_t> out = RenderVoice(*quiet);
    EXPECT_NEAR(Db(Rms(out, 0) / full), -8.0, 0.1);
    EXPECT_NEAR(Db(Rms(out, 1) / full), -8.0, 0.1);
}

TEST_F(LoopbackTest, FrequencyIsAPitchRatioOfTheRecordingsRate) {
    // A 0.4 s recording at 22050 Hz played at 44100 takes 0.2 s and sounds an octave up.
    std::vector<int16_t> tone = Sine(500, 22050, 0.4, 10000);
    auto voice = sink.CreateVoice(ViewOf(tone, 22050));
    voice->SetFrequency(44100);
    voice->Play();
    std::vector<int16_t> out = RenderVoice(*voice);
    double seconds = out.size() / 2.0 / OpenAlLoopbackSink::kSampleRate;
    EXPECT_NEAR(seconds, 0.2, 0.02);
    EXPECT_NEAR(test::DominantFrequency(out, 0, OpenAlLoopbackSink::kSampleRate), 1000.0, 30.0);
}

TEST_F(LoopbackTest, PositionRunsToSizeAndRestartsAtZero) {
    std::vector<int16_t> tone = Sine(200, 22050, 0.2, 8000);
    auto voice = sink.CreateVoice(ViewOf(tone, 22050));
    EXPECT_EQ(voice->Size(), static_cast<int64_t>(tone.size() * 2));
    EXPECT_EQ(voice->Position(), 0);
    voice->Play();
    std::vector<int16_t> out;
    sink.Render(4410, out);  // 0.1 s of output = 0.1 s of the recording
    EXPECT_NEAR(static_cast<double>(voice->Position()), voice->Size() / 2.0, voice->Size() * 0.05);
    voice->SetPosition(0);  // restart while playing
    sink.Render(441, out);
    EXPECT_LT(voice->Position(), voice->Size() / 10);
    RenderVoice(*voice);
    EXPECT_FALSE(voice->Playing());
    EXPECT_EQ(voice->Position(), voice->Size()) << "a finished voice reports its end";
    voice->Play();  // plays again from the start
    EXPECT_TRUE(voice->Playing());
    sink.Render(441, out);
    EXPECT_LT(voice->Position(), voice->Size() / 10);
}

TEST_F(LoopbackTest, EightBitAndEmptyRecordings) {
    std::vector<uint8_t> bytes(2205);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(128 + 100 * std::sin(i * 0.2));
    PcmView pcm{1, 8, 22050, bytes.data(), bytes.size()};
    auto voice = sink.CreateVoice(pcm);
    EXPECT_EQ(voice->Size(), 2205);
    voice->Play();
    EXPECT_GT(Rms(RenderVoice(*voice), 0), 1000.0);

    PcmView none{1, 16, 22050, nullptr, 0};
    auto empty = sink.CreateVoice(none);
    EXPECT_EQ(empty->Size(), 0);
    empty->Play();
    EXPECT_FALSE(empty->Playing());
    EXPECT_EQ(empty->Position(), 0);

    PcmView odd{1, 24, 22050, bytes.data(), bytes.size()};
    EXPECT_THROW(sink.CreateVoice(odd), SoundError);
}

TEST(DeviceSinkTest, CountsOnlyDevicesThatOpen) {
    OpenAlDeviceSink sink;
    int count = sink.CountDevices();
    EXPECT_LE(count, std::max<int>(1, static_cast<int>(ListedOutputDevices().size())));
    if (count == 0) {
        EXPECT_THROW(sink.Open(), SoundError);
    }
}

TEST(NullSinkTest, PositionFollowsTheClockAtTheSetRate) {
    ManualPlaybackClock clock;
    NullSoundSink sink(clock, 0);
    EXPECT_EQ(sink.CountDevices(), 0);
    std::vector<int16_t> samples(22050);  // 1 s at 22050, 44100 bytes
    auto voice = sink.CreateVoice(ViewOf(samples, 22050));
    voice->SetFrequency(11025);
    voice->Play();
    clock.Advance(0.4);
    EXPECT_EQ(voice->Position(), 4410 * 2);  // 0.4 s at half the rate: 4410 frames
    voice->SetFrequency(44100);           // the position stays continuous
    clock.Advance(0.25);
    EXPECT_EQ(voice->Position(), (4410 + 11025) * 2);
    clock.Advance(1.0);
    EXPECT_EQ(voice->Position(), voice->Size());
    EXPECT_FALSE(voice->Playing());
    ASSERT_EQ(sink.starts().size(), 1u);
    EXPECT_EQ(sink.starts()[0].frequency, 11025);
}

TEST(NullSinkTest, RestartLogsTheSettingsOfTheNewStart) {
    ManualPlaybackClock clock;
    NullSoundSink sink(clock);
    std::vector<int16_t> samples(2205);
    auto voice = sink.CreateVoice(ViewOf(samples, 22050));
    voice->Play();
    clock.Advance(0.05);
    voice->SetPosition(0);  // restart while playing, then new settings, then play
    voice->SetFrequency(20000);
    voice->SetVolume(-300);
    voice->Play();
    voice->Play();  // a playing voice continues: no new start
    ASSERT_EQ(sink.starts().size(), 2u);
    EXPECT_EQ(sink.starts()[1].frequency, 20000);
    EXPECT_EQ(sink.starts()[1].volume, -300);
    EXPECT_DOUBLE_EQ(sink.starts()[1].seconds, 0.05);
    EXPECT_EQ(voice->Position(), 0);
}

}  // namespace
}  // namespace tamzel::speech
