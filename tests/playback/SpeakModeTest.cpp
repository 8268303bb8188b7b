// The program's --speak mode end to end: the WAV file it renders, the frames file and
// how the two line up, and its refusals. Runs the built program with the program
// folder's voice pack; skipped when either is missing.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/playback/PlaybackTestSupport.h"

namespace tamzel::speech {
namespace {

struct FrameLine {
    double seconds;
    std::string frame, unit;
};

class SpeakModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        home = TAMZEL_HOME_DIR;
        if (const char* env = std::getenv("TAMZEL_HOME")) home = env;
        if (!std::filesystem::exists(home / "tamzel") || !std::filesystem::exists(home / "gorvin" / "Jpg"))
            GTEST_SKIP() << "program or voice pack not built";
    }
    int Run(const std::string& args, const std::string& environment = "") {
        std::string command = environment + "'" + (home / "tamzel").string() + "' " + args + " >'" +
                              (temp.path() / "out.txt").string() + "' 2>&1";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::vector<int16_t> ReadWave(const std::filesystem::path& path, int& channels, int& rate, int& bits) {
        std::ifstream in(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        auto u16 = [&](size_t at) { return uint8_t(bytes.at(at)) | uint8_t(bytes.at(at + 1)) << 8; };
        auto u32 = [&](size_t at) { return uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16; };
        EXPECT_EQ(bytes.substr(0, 4), "RIFF");
        EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
        channels = u16(22), rate = static_cast<int>(u32(24)), bits = u16(34);
        EXPECT_EQ(bytes.substr(36, 4), "data");
        std::vector<int16_t> samples(u32(40) / 2);
        for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(u16(44 + 2 * i));
        return samples;
    }
    std::vector<FrameLine> ReadFrames(const std::filesystem::path& path) {
        std::vector<FrameLine> lines;
        std::ifstream in(path);
        for (std::string line; std::getline(in, line);) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream fields(line);
            FrameLine f;
            std::string x, y;
            fields >> f.seconds >> f.frame >> x >> y >> f.unit;
            lines.push_back(f);
        }
        return lines;
    }
    std::filesystem::path home;
    test::TempFolder temp;
};

TEST_F(SpeakModeTest, RendersAWaveAndFramesThatLineUp) {
    auto wav = temp.path() / "out.wav", frames = temp.path() / "frames.txt";
    ASSERT_EQ(Run("--speak 'Dobrý deň, volám sa Tamzel.' --wav '" + wav.string() + "' --frames '" +
                  frames.string() + "' --speed 70"),
              0);
    int channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples = ReadWave(wav, channels, rate, bits);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(rate, 44100);
    EXPECT_EQ(bits, 16);
    EXPECT_GT(test::Rms(samples, 0), 300.0);

    std::vector<FrameLine> lines = ReadFrames(frames);
    ASSERT_GT(lines.size(), 20u);
    double end = samples.size() / 2.0 / rate;
    for (size_t i = 0; i < lines.size(); ++i) {
        const FrameLine& f = lines[i];
        ASSERT_FALSE(f.unit.empty()) << "every frame comes from a unit: line " << i;
        if (i > 0) {
            EXPECT_GE(f.seconds, lines[i - 1].seconds);
        }
        EXPECT_LT(f.seconds, end);
        // A sound unit's frame appears as its sound starts (a stop begins with its closure,
        // so the whole stretch up to the next unit counts); a pause shows the neutral mouth.
        double next = i + 1 < lines.size() ? lines[i + 1].seconds : end;
        auto from = static_cast<size_t>(f.seconds * rate), to = static_cast<size_t>(next * rate);
        double level = test::Rms(samples, 0, from, to);
        if (f.unit == "~" || f.unit == "-")
            EXPECT_EQ(f.frame, "default1");
        else
            EXPECT_GT(level, 100.0) << "unit " << f.unit << " at " << f.seconds << " s is silent";
    }
}

// OpenAL's "null" output is a device that mixes in real time without sound: the live path
// must play the whole answer, in real time, and return once it has faded.
TEST_F(SpeakModeTest, PlaysOnTheDeviceUntilTheAnswerEnds) {
    auto wav = temp.path() / "ref.wav";
    ASSERT_EQ(Run("--speak 'Ahoj, ako sa máš?' --wav '" + wav.string() + "'"), 0);
    int channels = 0, rate = 0, bits = 0;
    double offline = ReadWave(wav, channels, rate, bits).size() / 2.0 / rate;
    auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Run("--speak 'Ahoj, ako sa máš?' --verbose", "ALSOFT_DRIVERS=null "), 0);
    double live = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(live, offline * 0.95);
    EXPECT_LT(live, offline * 2.0 + 1.0) << "did not return when the answer ended";
    std::ifstream out(temp.path() / "out.txt");
    std::string printed((std::istreambuf_iterator<char>(out)), {});
    EXPECT_NE(printed.find("Jednotky: ~a-hoj~~~a-ko~sa~m"), std::string::npos) << printed;
}

// Relative output names are the user's: they land in the folder the program was started
// in, not in the program folder it works in.
TEST_F(SpeakModeTest, RelativeOutputsLandInTheStartingFolder) {
    const std::string name = "relative-" + std::to_string(getpid());
    ASSERT_EQ(Run("--speak Ahoj --wav '" + name + ".wav' --frames '" + name + ".txt'",
                  "cd '" + temp.path().string() + "' && "),
              0);
    EXPECT_TRUE(std::filesystem::exists(temp.path() / (name + ".wav")));
    EXPECT_TRUE(std::filesystem::exists(temp.path() / (name + ".txt")));
    EXPECT_FALSE(std::filesystem::exists(home / (name + ".wav")));
    EXPECT_FALSE(std::filesystem::exists(home / (name + ".txt")));
    std::filesystem::remove(home / (name + ".wav"));
    std::filesystem::remove(home / (name + ".txt"));
}

TEST_F(SpeakModeTest, RefusesBadLevelsAndUnknownUsers) {
    auto wav = (temp.path() / "x.wav").string();
    // 2^32 + 400 and 2^32 + 60 are in range only when cut to 32 bits.
    const std::string cases[] = {"--speed 50", "--speed 101", "--volume -1", "--volume 801",
                                 "--intonation 19", "--speed fast", "--volume 4294967696",
                                 "--speed 4294967356"};
    for (const std::string& bad : cases) {
        EXPECT_EQ(Run("--speak Ahoj --wav '" + wav + "' " + bad), 2) << bad;
        EXPECT_FALSE(std::filesystem::exists(wav)) << bad;
    }
    EXPECT_NE(Run("--home '" + temp.path().string() + "' --speak Ahoj --wav '" + wav + "'"), 0)
        << "a folder without a voice pack";
    EXPECT_NE(Run("--speak Ahoj --wav '" + wav + "' --user Nikto" + std::to_string(getpid())), 0);
    EXPECT_FALSE(std::filesystem::exists(wav));
}

}  // namespace
}  // namespace tamzel::speech
