#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "SpeechTestSupport.h"
#include "speech/text/SpeechError.h"
#include "speech/text/Units.h"
#include "speech/text/VoicePack.h"

namespace tamzel::speech {
namespace {

using test::TempFolder;

std::string Le(uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
}

std::string Chunk(const std::string& id, const std::string& body) {
    std::string c = id + Le(static_cast<uint32_t>(body.size()), 4) + body;
    if (body.size() % 2) c += '\0';
    return c;
}

std::string Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    return Le(tag, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * channels * bits / 8, 4) +
           Le(channels * bits / 8, 2) + Le(bits, 2);
}

std::string Wave(const std::string& chunks) {
    return "RIFF" + Le(static_cast<uint32_t>(4 + chunks.size()), 4) + "WAVE" + chunks;
}

std::string Samples(std::initializer_list<int16_t> v) {
    std::string s;
    for (int16_t x : v) s += Le(static_cast<uint16_t>(x), 2);
    return s;
}

TEST(WaveFile, ReadsSixteenBitMonoPcm) {
    std::string fmt = Chunk("fmt ", Format(1, 1, 22050, 16));
    std::string data = Chunk("data", Samples({0, 1, -1, 32767, -32768}));
    // An odd-sized chunk before the data is padded to an even length.
    WaveSound s = ParseWave(Wave(fmt + Chunk("LIST", "odd") + data), "x.wav");
    EXPECT_EQ(s.sampleRate, 22050u);
    EXPECT_EQ(s.samples, (std::vector<int16_t>{0, 1, -1, 32767, -32768}));
    // WAVE_FORMAT_EXTENSIBLE with the PCM sub-format.
    std::string ext = Format(0xFFFE, 1, 44100, 16) + Le(22, 2) + Le(16, 2) + Le(4, 4) + Le(1, 2) +
                      std::string(14, '\0');
    EXPECT_EQ(ParseWave(Wave(Chunk("fmt ", ext) + data), "x.wav").sampleRate, 44100u);
}

TEST(WaveFile, RefusesOtherDataNamingTheFile) {
    std::string data = Chunk("data", Samples({1, 2}));
    const std::pair<const char*, std::string> bad[] = {
        {"not RIFF", "RIFX" + Wave(data).substr(4)},
        {"too short", "RIFF"},
        {"stereo", Wave(Chunk("fmt ", Format(1, 2, 22050, 16)) + data)},
        {"8-bit", Wave(Chunk("fmt ", Format(1, 1, 22050, 8)) + data)},
        {"float", Wave(Chunk("fmt ", Format(3, 1, 22050, 16)) + data)},
        {"no format before data", Wave(data)},
        {"no data", Wave(Chunk("fmt ", Format(1, 1, 22050, 16)))},
        {"truncated data", Wave(Chunk("fmt ", Format(1, 1, 22050, 16)) + data).substr(0, 46)},
    };
    for (const auto& [name, bytes] : bad) {
        try {
            ParseWave(bytes, "gorvin/Wave/zz.wav");
            ADD_FAILURE() << name << ": accepted";
        } catch (const SpeechError& e) {
            EXPECT_NE(std::string(e.what()).find("gorvin/Wave/zz.wav"), std::string::npos) << name;
        }
    }
}

TEST(Units, NameFortyOneDistinctAsciiRecordings) {
    std::set<std::string> names;
    for (char c : UnitAlphabet.substr(0, kSoundUnitCount)) {
        std::string n = UnitResourceName(c);
        ASSERT_FALSE(n.empty());
        for (char x : n) EXPECT_TRUE(x == '_' || (x >= 'a' && x <= 'z')) << n;
        names.insert(n);
    }
    EXPECT_EQ(names.size(), 41u);
    const std::pair<const char*, const char*> named[] = {
        {"(", "dz"}, {")", "dzdz"}, {"-", "ps"}, {"~", "pl"}, {"á", "aa"}, {"č", "cc"},
        {"ď", "dd"}, {"í", "ii"}, {"ó", "oo"}, {"š", "ss"}, {"ť", "tt"}, {"ú", "uu"},
        {"ý", "yy"}, {"ž", "zz"}, {"é", "ee"}, {"ň", "nn"}, {"w", "w"}, {"_", "_"}};
    for (const auto& [unit, name] : named) EXPECT_EQ(UnitResourceName(base::Cp1250(unit)[0]), name) << name;
    EXPECT_EQ(UnitResourceName('5'), "");
    EXPECT_EQ(UnitNumber('a'), 1);
    EXPECT_EQ(UnitNumber('~'), 41);
    EXPECT_EQ(UnitAlphabet.size(), 52u);
    EXPECT_EQ(base::Cp1250("aábcčdďeéfghiíjklmnňoóprsštťuúvwyýzž()_-~567890{}[]@"), std::string(UnitAlphabet));
}

TEST(Units, FaceCodesSoundAsPauses) {
    const std::pair<char, char> played[] = {{'a', 'a'}, {'~', '~'}, {'-', '-'}, {'5', '~'},
                                            {'0', '~'}, {'[', '-'}, {'@', '-'}, {'}', '-'},
                                            {'+', '\0'}, {'1', '\0'}, {'.', '\0'}, {'J', 'j'}};
    for (const auto& [c, unit] : played) EXPECT_EQ(PlayedUnit(c), unit) << c;
    // Every capital that text preparation keeps plays as its lower-case unit.
    std::string upper = base::Cp1250("ŠŤŽÁČÉÍĎŇÓÚÝ"), lower = base::Cp1250("šťžáčéíďňóúý");
    for (size_t i = 0; i < upper.size(); ++i) EXPECT_EQ(PlayedUnit(upper[i]), lower[i]) << i;
    EXPECT_EQ(FaceCodeOf('7'), FaceCode::Emotion);
    EXPECT_EQ(FaceCodeOf('{'), FaceCode::Head);
    EXPECT_EQ(FaceCodeOf('a'), FaceCode::None);
}

TEST(VoicePack, FindsResourcesByTypeAndName) {
    TempFolder folder;
    std::filesystem::create_directories(folder.path() / "gorvin/Wave");
    std::filesystem::create_directories(folder.path() / "gorvin/Jpg");
    std::string pack = folder.File("gorvin");
    ASSERT_TRUE(base::WriteFileAtomically(pack + "/Wave/aa.wav",
                                Wave(Chunk("fmt ", Format(1, 1, 22050, 16)) + Chunk("data", Samples({7})))).ok());
    ASSERT_TRUE(base::WriteFileAtomically(pack + "/Jpg/default2.jpg", "jpeg bytes").ok());
    VoicePack vp(pack);
    EXPECT_EQ(vp.ReadUnitSound(base::Cp1250("á")[0]).samples, std::vector<int16_t>{7});
    EXPECT_EQ(vp.ReadFrame("default2"), "jpeg bytes");
    EXPECT_EQ(vp.ResourcePath("Wave", "pl"), pack + "/Wave/pl.wav");
    try {
        vp.ReadUnitSound('~');
        ADD_FAILURE() << "missing unit accepted";
    } catch (const SpeechError& e) {
        EXPECT_NE(std::string(e.what()).find(pack + "/Wave/pl.wav"), std::string::npos) << e.what();
    }
    EXPECT_THROW(vp.ReadUnitSound('5'), SpeechError);
    EXPECT_THROW(vp.ReadResource("Jpg", "mrk"), SpeechError);
}

TEST(VoicePack, AMissingPackIsAnErrorNamingTheFolder) {
    TempFolder folder;
    try {
        VoicePack vp(folder.File("gorvin"));
        ADD_FAILURE() << "missing pack accepted";
    } catch (const SpeechError& e) {
        EXPECT_NE(std::string(e.what()).find(folder.File("gorvin")), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace tamzel::speech
