// The 41 unit recordings: format, length, loudness, fades and the sound they carry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numeric>
#include <set>

#include "tests/voice/VoiceFiles.h"

namespace tamzel::speech::test {
namespace {

enum class Kind { Vowel, LongVowel, Stop, Affricate, Fricative, Sonorant, Pause };

struct Unit {
    const char* name;
    Kind kind;
};

// Every unit of the voice, by its resource name.
const Unit kUnits[] = {
    {"a", Kind::Vowel}, {"aa", Kind::LongVowel}, {"b", Kind::Stop}, {"c", Kind::Affricate},
    {"cc", Kind::Affricate}, {"d", Kind::Stop}, {"dd", Kind::Stop}, {"e", Kind::Vowel},
    {"ee", Kind::LongVowel}, {"f", Kind::Fricative}, {"g", Kind::Stop}, {"h", Kind::Fricative},
    {"i", Kind::Vowel}, {"ii", Kind::LongVowel}, {"j", Kind::Sonorant}, {"k", Kind::Stop},
    {"l", Kind::Sonorant}, {"m", Kind::Sonorant}, {"n", Kind::Sonorant}, {"nn", Kind::Sonorant},
    {"o", Kind::Vowel}, {"oo", Kind::LongVowel}, {"p", Kind::Stop}, {"r", Kind::Sonorant},
    {"s", Kind::Fricative}, {"ss", Kind::Fricative}, {"t", Kind::Stop}, {"tt", Kind::Stop},
    {"u", Kind::Vowel}, {"uu", Kind::LongVowel}, {"v", Kind::Sonorant}, {"w", Kind::Sonorant},
    {"y", Kind::Vowel}, {"yy", Kind::LongVowel}, {"z", Kind::Fricative}, {"zz", Kind::Fricative},
    {"dz", Kind::Affricate}, {"dzdz", Kind::Affricate}, {"_", Kind::Fricative},
    {"ps", Kind::Pause}, {"pl", Kind::Pause},
};

constexpr double kRate = 22050.0;

// Accepted lengths in milliseconds: vowels near natural Slovak ones (short about 90 ms,
// long about 160 ms), a word pause of about 55 ms (three of them, for a comma, come near a
// reader's comma pause) and a syllable pause of about 10 ms.
std::pair<double, double> LengthRange(const Unit& unit) {
    if (std::string(unit.name) == "pl") return {50, 60};
    if (std::string(unit.name) == "ps") return {8, 14};
    switch (unit.kind) {
    case Kind::Vowel: return {80, 100};
    case Kind::LongVowel: return {145, 175};
    case Kind::Stop: return {30, 80};
    case Kind::Affricate: return {50, 110};
    case Kind::Fricative: return {50, 100};
    case Kind::Sonorant: return {40, 80};
    case Kind::Pause: break;
    }
    return {0, 0};
}

bool IsVowel(Kind kind) { return kind == Kind::Vowel || kind == Kind::LongVowel; }

double Rms(const std::vector<int16_t>& s, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += static_cast<double>(s[i]) * s[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

int Peak(const std::vector<int16_t>& s, size_t from, size_t to) {
    int peak = 0;
    for (size_t i = from; i < to; ++i) peak = std::max(peak, std::abs(static_cast<int>(s[i])));
    return peak;
}

// Share of neighbouring samples that change sign: high for hiss (s, š), low for vowels.
double ZeroCrossingRate(const std::vector<int16_t>& s) {
    size_t crossings = 0;
    for (size_t i = 1; i < s.size(); ++i) crossings += (s[i - 1] < 0) != (s[i] < 0);
    return static_cast<double>(crossings) / static_cast<double>(s.size());
}

// Best normalised autocorrelation over the lags of a 70-300 Hz voice, from the middle of
// the sound: a voiced vowel is strongly periodic, noise or silence is not.
double Periodicity(const std::vector<int16_t>& s) {
    const size_t length = s.size() / 2, from = s.size() / 4;
    double best = 0;
    for (size_t lag = static_cast<size_t>(kRate / 300); lag <= static_cast<size_t>(kRate / 70); ++lag) {
        double xy = 0, xx = 0, yy = 0;
        for (size_t i = from; i + lag < from + length + lag && i + lag < s.size(); ++i) {
            xy += static_cast<double>(s[i]) * s[i + lag];
            xx += static_cast<double>(s[i]) * s[i];
            yy += static_cast<double>(s[i + lag]) * s[i + lag];
        }
        if (xx > 0 && yy > 0) best = std::max(best, xy / std::sqrt(xx * yy));
    }
    return best;
}

// The lag of the best autocorrelation over 70-300 Hz in the middle of the sound.
size_t PitchPeriod(const std::vector<int16_t>& s) {
    const size_t from = s.size() / 4, length = s.size() / 2;
    double best = -1;
    size_t bestLag = 0;
    for (size_t lag = static_cast<size_t>(kRate / 300); lag <= static_cast<size_t>(kRate / 70); ++lag) {
        double xy = 0, xx = 0, yy = 0;
        for (size_t i = from; i < from + length && i + lag < s.size(); ++i) {
            xy += static_cast<double>(s[i]) * s[i + lag];
            xx += static_cast<double>(s[i]) * s[i];
            yy += static_cast<double>(s[i + lag]) * s[i + lag];
        }
        if (xx > 0 && yy > 0 && xy / std::sqrt(xx * yy) > best) best = xy / std::sqrt(xx * yy), bestLag = lag;
    }
    return bestLag;
}

// Phase in radians of the fundamental (period `period` samples) over two periods from `from`.
double FundamentalPhase(const std::vector<int16_t>& s, size_t from, double period) {
    double re = 0, im = 0;
    for (size_t n = 0; n < static_cast<size_t>(2 * period) && from + n < s.size(); ++n) {
        const double angle = 2 * M_PI * static_cast<double>(n) / period;
        re += s[from + n] * std::cos(angle);
        im -= s[from + n] * std::sin(angle);
    }
    return std::atan2(im, re);
}

Wave Load(const Unit& unit) { return ParseWave(ReadBytes(PackPath("Wave", unit.name))); }

class UnitRecording : public ::testing::TestWithParam<Unit> {};

TEST_P(UnitRecording, IsPcm16MonoAt22050Hz) {
    const std::string bytes = ReadBytes(PackPath("Wave", GetParam().name));
    ASSERT_FALSE(bytes.empty()) << PackPath("Wave", GetParam().name) << " is missing";
    const WaveHeader h = ParseWave(bytes).header;
    EXPECT_TRUE(h.riff);
    EXPECT_EQ(h.format, 1);
    EXPECT_EQ(h.channels, 1);
    EXPECT_EQ(h.sampleRate, 22050u);
    EXPECT_EQ(h.bitsPerSample, 16);
    EXPECT_EQ(h.blockAlign, 2);
    EXPECT_EQ(h.byteRate, 44100u);
    EXPECT_TRUE(h.dataFound);
}

TEST_P(UnitRecording, HasTheLengthOfItsKind) {
    const Wave wave = Load(GetParam());
    const double ms = static_cast<double>(wave.samples.size()) * 1000.0 / kRate;
    const auto [low, high] = LengthRange(GetParam());
    EXPECT_GE(ms, low);
    EXPECT_LE(ms, high);
}

TEST_P(UnitRecording, SoundsOrIsSilentAsItsKindSays) {
    const Wave wave = Load(GetParam());
    ASSERT_FALSE(wave.samples.empty());
    const auto& s = wave.samples;
    const int peak = Peak(s, 0, s.size());
    if (GetParam().kind == Kind::Pause) {
        EXPECT_EQ(peak, 0);
        return;
    }
    EXPECT_GE(peak, 1500) << "almost silent";
    EXPECT_LE(peak, 28000) << "too close to clipping";
    const double mean = std::accumulate(s.begin(), s.end(), 0.0) / static_cast<double>(s.size());
    EXPECT_LT(std::abs(mean), 0.02 * peak) << "DC offset";
}

TEST_P(UnitRecording, FadesInAndOutWithoutClicks) {
    const Wave wave = Load(GetParam());
    const auto& s = wave.samples;
    ASSERT_GT(s.size(), 100u);
    const int peak = std::max(1, Peak(s, 0, s.size()));
    const size_t edge = static_cast<size_t>(kRate / 1000);  // 1 ms
    EXPECT_LE(std::abs(s.front()), 16);
    EXPECT_LE(std::abs(s.back()), 16);
    EXPECT_LE(Peak(s, 0, edge), std::max(16, peak / 8)) << "abrupt start";
    EXPECT_LE(Peak(s, s.size() - edge, s.size()), std::max(16, peak / 8)) << "abrupt end";
    // The fades are gradual: the first and last 3 ms stay well below the unit's peak.
    EXPECT_LE(Peak(s, 0, 3 * edge), std::max(16, peak * 2 / 3)) << "start not faded";
    EXPECT_LE(Peak(s, s.size() - 3 * edge, s.size()), std::max(16, peak * 2 / 3)) << "end not faded";
}

// Test names must be identifiers: the unit "_" (ch) is shown as "ch".
std::string UnitTestName(const ::testing::TestParamInfo<Unit>& unit) {
    const std::string name = unit.param.name;
    return name == "_" ? std::string("ch") : name;
}

INSTANTIATE_TEST_SUITE_P(Units, UnitRecording, ::testing::ValuesIn(kUnits), UnitTestName);

TEST(UnitRecordings, PackHoldsExactlyTheFortyOneUnits) {
    std::set<std::string> expected, found;
    for (const Unit& unit : kUnits) expected.insert(std::string(unit.name) + ".wav");
    ASSERT_EQ(expected.size(), 41u);
    const auto folder = std::filesystem::path(PackPath("Wave", "a")).parent_path();
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        found.insert(entry.path().filename().string());
    EXPECT_EQ(found, expected);
}

TEST(UnitRecordings, VowelsAreEquallyLoudAndConsonantsNotLost) {
    std::vector<double> vowels;
    for (const Unit& unit : kUnits) {
        if (!IsVowel(unit.kind)) continue;
        const auto s = Load(unit).samples;
        vowels.push_back(Rms(s, 0, s.size()));
    }
    const double mean = std::accumulate(vowels.begin(), vowels.end(), 0.0) / static_cast<double>(vowels.size());
    for (const Unit& unit : kUnits) {
        if (unit.kind == Kind::Pause) continue;
        const auto s = Load(unit).samples;
        const double db = 20 * std::log10(Rms(s, 0, s.size()) / mean);
        if (IsVowel(unit.kind)) {
            EXPECT_NEAR(db, 0.0, 2.0) << unit.name;
        } else {
            EXPECT_GT(db, -20.0) << unit.name << " is much quieter than the vowels";
            EXPECT_LT(db, 1.0) << unit.name << " is louder than the vowels";
        }
    }
}

TEST(UnitRecordings, VowelsAreVoicedAndLevelEnoughToCarryPitch) {
    for (const Unit& unit : kUnits) {
        if (!IsVowel(unit.kind)) continue;
        const auto s = Load(unit).samples;
        EXPECT_GT(Periodicity(s), 0.6) << unit.name;
        // Steady: the loudness of each quarter stays within 6 dB of the middle's.
        const double middle = Rms(s, s.size() * 3 / 8, s.size() * 5 / 8);
        for (size_t q = 1; q <= 2; ++q) {
            const double part = Rms(s, s.size() * q / 4, s.size() * (q + 1) / 4);
            EXPECT_NEAR(20 * std::log10(part / middle), 0.0, 6.0) << unit.name << " quarter " << q;
        }
    }
}

// At speed 65, a new user's setting, the next unit starts once 85 % of the current one has
// played, at the next 1 ms tick. Voiced units start at the same point of their pitch
// cycle and last so long that this start falls on the same point of the current unit's
// cycle: their overlapping ends add instead of cancelling.
TEST(UnitRecordings, VoicedUnitsOverlapInPhaseAtTheNewUsersSpeed) {
    constexpr double kPlayedShare = 0.85;
    const size_t tickLag = static_cast<size_t>(kRate / 2000);  // half a tick on average
    const auto reference = Load(Unit{"a", Kind::Vowel}).samples;
    const double period = static_cast<double>(PitchPeriod(reference));
    ASSERT_NEAR(kRate / period, 105.0, 8.0) << "a speaking pitch";
    const char* voiced[] = {"a", "aa", "e", "ee", "i", "ii", "o", "oo", "u", "uu", "y", "yy",
                            "m", "n", "nn", "l", "r", "j", "v"};
    for (const char* current : voiced) {
        const auto s = Load(Unit{current, Kind::Vowel}).samples;
        const size_t next = static_cast<size_t>(kPlayedShare * static_cast<double>(s.size())) + tickLag;
        // Where the next unit starts, the current one is faded out: measure the phase one
        // whole number of periods earlier, which is the same point of its cycle.
        const size_t at = next - static_cast<size_t>(3 * period);
        for (const char* following : voiced) {
            const auto t = Load(Unit{following, Kind::Vowel}).samples;
            const double shift = std::remainder(
                FundamentalPhase(s, at, period) - FundamentalPhase(t, static_cast<size_t>(period), period),
                2 * M_PI);
            EXPECT_LT(std::abs(shift), M_PI / 3) << current << " then " << following << ": " << shift;
        }
    }
}

// Best normalised autocorrelation over the lags of a 70-300 Hz voice inside [from, to).
double PeriodicityIn(const std::vector<int16_t>& s, size_t from, size_t to) {
    double best = 0;
    for (size_t lag = static_cast<size_t>(kRate / 300); lag <= static_cast<size_t>(kRate / 70); ++lag) {
        double xy = 0, xx = 0, yy = 0;
        for (size_t i = from; i + lag < to; ++i) {
            xy += static_cast<double>(s[i]) * s[i + lag];
            xx += static_cast<double>(s[i]) * s[i];
            yy += static_cast<double>(s[i + lag]) * s[i + lag];
        }
        if (xx > 0 && yy > 0) best = std::max(best, xy / std::sqrt(xx * yy));
    }
    return best;
}

// A stop or affricate is heard by its closure and by the release into the next vowel:
// each unit begins with a closure (silence, or for a voiced one a voice bar well below the
// burst) and a voiced one ends inside the vowel it releases into, still periodic where the
// next unit takes over. A cut in the wrong place (no closure, or the release left out)
// fails here.
TEST(UnitRecordings, StopsKeepTheirClosureAndReleaseIntoTheVowel) {
    const struct {
        const char* name;
        bool voiced;
    } cases[] = {{"p", false}, {"t", false}, {"tt", false}, {"k", false}, {"c", false},
                 {"cc", false}, {"b", true}, {"d", true}, {"dd", true}, {"g", true},
                 {"dz", true}, {"dzdz", true}};
    const auto ms = [](double m) { return static_cast<size_t>(m * kRate / 1000); };
    for (const auto& c : cases) {
        const auto s = Load(Unit{c.name, Kind::Stop}).samples;
        ASSERT_GT(s.size(), ms(40)) << c.name;
        const double closure = Rms(s, ms(4), ms(20));  // after the fade-in
        const double rest = Rms(s, ms(20), s.size());
        if (!c.voiced) {
            EXPECT_LT(closure, 0.01 * rest) << c.name << ": the closure of a voiceless stop is silent";
            continue;
        }
        EXPECT_LT(closure, 0.55 * rest) << c.name << ": the burst and release stand out of the voice bar";
        // The last 20 ms before the fade-out, where the next unit overlaps.
        EXPECT_GT(PeriodicityIn(s, s.size() - ms(28), s.size() - ms(8)), 0.5)
            << c.name << " does not end in its vowel";
    }
}

TEST(UnitRecordings, HissingSoundsAreNoiseAndVowelsAreNot) {
    // The zero-crossing rate tells hiss from voice; a swapped or mislabelled file fails.
    const struct {
        const char* name;
        bool hiss;
    } cases[] = {{"s", true}, {"ss", true}, {"c", true}, {"f", true}, {"_", true},
                 {"a", false}, {"o", false}, {"u", false}, {"m", false}, {"l", false}};
    for (const auto& c : cases) {
        const double rate = ZeroCrossingRate(Load(Unit{c.name, Kind::Vowel}).samples);
        if (c.hiss)
            EXPECT_GT(rate, 0.2) << c.name;
        else
            EXPECT_LT(rate, 0.1) << c.name;
    }
}

}  // namespace
}  // namespace tamzel::speech::test
