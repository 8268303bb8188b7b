#include <gtest/gtest.h>
#include <unicode/rbnf.h>
#include <unicode/unistr.h>

#include <random>

#include "SpeechTestSupport.h"
#include "speech/text/NumberWords.h"

namespace tamzel::speech {
namespace {

using test::U;

struct Case {
    const char* digits;
    const char* words;  // UTF-8
};

TEST(NumberWords, ReadsNumbersAsTheVoiceSaysThem) {
    const Case cases[] = {
        {"0", "nula"},
        {"000", "nula"},
        {"1", "jeden "},
        {"2", "dva "},
        {"12", "dvanásť "},
        {"22", "dvadsaťdva "},
        {"200", "dvesto "},
        {"202", "dvestodva "},
        {"101", "stojeden "},
        {"007", "sedem "},
        {"1234", "tisíc dvestotridsaťštyri "},
        {"2000", "dvetisíc "},
        {"21000", "dvadsaťjedentisíc "},
        {"11000", "jedenásťtisíc "},
        {"1001000", "milión jedentisíc "},
        {"2000000", "dvamilióny "},
        {"5000000", "päťmiliónov "},
        {"1000000000", "miliárda "},
        {"3000000000", "trimiliárdy "},
        {"5000000000", "päťmiliárd "},
        {"12000000", "dvanásťmiliónov "},
        {"1000001", "milión jeden "},
        {"1002003", "milión dvetisíc tri "},
        {"000000002", "dva "},
        {"999999999999999999999999999999",
         "deväťstodeväťdesiatdeväťkvadriliárd deväťstodeväťdesiatdeväťkvadriliónov "
         "deväťstodeväťdesiatdeväťtriliárd deväťstodeväťdesiatdeväťtriliónov "
         "deväťstodeväťdesiatdeväťbiliárd deväťstodeväťdesiatdeväťbiliónov "
         "deväťstodeväťdesiatdeväťmiliárd deväťstodeväťdesiatdeväťmiliónov "
         "deväťstodeväťdesiatdeväťtisíc deväťstodeväťdesiatdeväť "},
        {"1000000000000000000000000", "kvadrilión "},
        {"1000000000000000000000000000", "kvadriliárda "},
        {"2000000000000000000000000000000", "dva nula nula nula nula nula nula nula nula nula "
                                           "nula nula nula nula nula nula nula nula nula nula "
                                           "nula nula nula nula nula nula nula nula nula nula "
                                           "nula "},
        {"0000000000000000000000000000000000001", "jeden "},
    };
    for (const Case& c : cases) EXPECT_EQ(U(NumberToWords(c.digits)), c.words) << c.digits;
}

TEST(NumberWords, GroupsCarryScaleWordsAndEndings) {
    struct GroupCase {
        const char* group;
        int n;
        const char* words;
    };
    const GroupCase cases[] = {
        {"000", 3, ""},         {"1", 2, "tisíc "},         {"001", 2, "jedentisíc "},
        {"1", 3, "milión "},    {"2", 4, "dvamiliárdy "},   {"21", 3, "dvadsaťjedenmiliónov "},
        {"101", 4, "stojedenmiliárda "}, {"104", 5, "stoštyribilióny "},
        {"11", 6, "jedenásťbiliárd "},   {"2", 2, "dvetisíc "}, {"12", 1, "dvanásť "},
        {"1", 10, "kvadriliárda "},      {"5", 9, "päťkvadriliónov "},
    };
    for (const auto& c : cases) EXPECT_EQ(U(SpellGroup(c.group, c.n)), c.words) << c.group << "/" << c.n;
}

// --- Cross-check with ICU's Slovak spell-out -------------------------------------------
//
// ICU's rules read numbers the way they are written; our words are the way Tamzel's voice
// reads them. These are the systematic differences, each with the rule of ours that
// explains it; IcuAsOurs turns ICU's text into ours by exactly these rules, and anything
// else that differs is a fault.
//  1. One hundred is "sto"; ICU says "jednasto".
//  2. One in the thousands group is "jeden" ("dvadsaťjedentisíc"); ICU uses the feminine
//     "jedna" ("dvadsaťjedna tisíc").
//  3. A leading group that is a lone 1 before a scale word is not spoken ("tisíc",
//     "milión", "miliárda"); ICU says "jedna tisíc", "jeden milión", "jeden miliarda".
//  4. The scale words of the even groups are written with a long "á" ("miliárd",
//     "biliárd"); ICU writes "miliard", "biliard".
//  5. A scale word's ending follows the group's last two digits (101 million is
//     "stojedenmilión", 102 billion "stodvamiliárdy"); ICU follows the whole group value
//     ("jednasto jeden miliónov").
//  6. "miliárd" and "biliárd" take no ending from five on ("päťmiliárd"); ICU adds "-ov".
// Spaces and ICU's soft hyphens are removed before comparing.

std::string IcuWords(icu::RuleBasedNumberFormat& format, int64_t n) {
    icu::UnicodeString u;
    format.format(n, u);
    u.findAndReplace(icu::UnicodeString(static_cast<UChar>(0x00AD)), icu::UnicodeString());
    std::string s;
    u.toUTF8String(s);
    return s;
}

void ReplaceAll(std::string& s, const std::string& from, const std::string& to) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

// Our ending for a scale word (by the last two digits), rules 5 and 6.
std::string OurEnding(bool evenGroup, int lastTwo) {
    if (lastTwo == 1) return evenGroup ? "a" : "";
    if (lastTwo >= 2 && lastTwo <= 4) return "y";
    return evenGroup ? "" : "ov";
}

// ICU's ending (by the whole group value), checked so that a change in ICU shows up.
std::string IcuEnding(bool evenGroup, int value) {
    if (value == 1) return evenGroup ? "a" : "";
    if (value >= 2 && value <= 4) return "y";
    return "ov";
}

std::string IcuAsOurs(const std::string& icu, const std::string& digits) {
    struct Scale {
        const char* icuStem;
        const char* ourStem;
        int n;
    };
    const Scale scales[] = {{"milión", "milión", 3}, {"miliard", "miliárd", 4},
                            {"bilión", "bilión", 5}, {"biliard", "biliárd", 6}};
    std::vector<std::string> tokens;
    for (size_t a = 0; a < icu.size();) {
        size_t b = icu.find(' ', a);
        if (b == std::string::npos) b = icu.size();
        tokens.push_back(icu.substr(a, b - a));
        a = b + 1;
    }
    std::string joined;
    for (std::string& t : tokens) {
        for (const Scale& s : scales) {
            if (t.rfind(s.icuStem, 0) != 0) continue;
            size_t end = digits.size() - 3 * (s.n - 1);
            int value = std::stoi(digits.substr(end >= 3 ? end - 3 : 0, end >= 3 ? 3 : end));
            bool even = s.n % 2 == 0;
            EXPECT_EQ(t, s.icuStem + IcuEnding(even, value)) << "ICU's ending changed: " << digits;
            t = s.ourStem + OurEnding(even, value % 100);  // rules 4, 5, 6
        }
        joined += t;
    }
    ReplaceAll(joined, "jednasto", "sto");             // rule 1
    ReplaceAll(joined, "jednatisíc", "jedentisíc");    // rule 2
    if (digits.size() >= 4 && digits.size() % 3 == 1 && digits[0] == '1')
        joined.erase(0, std::string("jeden").size());  // rule 3 (after rule 2)
    return joined;
}

std::string WithoutSpaces(std::string s) {
    std::erase(s, ' ');
    return s;
}

class IcuCrossCheck : public ::testing::Test {
protected:
    void SetUp() override {
        UErrorCode status = U_ZERO_ERROR;
        format_ = std::make_unique<icu::RuleBasedNumberFormat>(icu::URBNF_SPELLOUT, icu::Locale("sk"), status);
        ASSERT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    }
    // Returns the number of disagreements (each is reported).
    int Check(int64_t n) {
        std::string digits = std::to_string(n);
        std::string ours = WithoutSpaces(U(NumberToWords(digits)));
        std::string theirs = IcuAsOurs(IcuWords(*format_, n), digits);
        if (ours == theirs) return 0;
        ADD_FAILURE() << n << ": ours " << ours << ", ICU (as ours) " << theirs;
        return 1;
    }
    std::unique_ptr<icu::RuleBasedNumberFormat> format_;
};

TEST_F(IcuCrossCheck, AgreesOnEveryNumberUpToAHundredThousand) {
    int failures = 0;
    for (int64_t n = 0; n <= 100000 && failures < 20; ++n) failures += Check(n);
    EXPECT_EQ(failures, 0);
}

TEST_F(IcuCrossCheck, AgreesOnASampleUpToTenToTheFifteenth) {
    int failures = 0;
    std::mt19937_64 rng(20261208);
    // Every magnitude equally often, so large numbers do not crowd out the small ones.
    for (int i = 0; i < 30000 && failures < 20; ++i) {
        int64_t limit = 1;
        for (int d = static_cast<int>(rng() % 16); d > 0; --d) limit *= 10;
        failures += Check(static_cast<int64_t>(rng() % static_cast<uint64_t>(limit * 10)));
    }
    // Round numbers, where the scale words stand alone and the endings decide.
    for (int64_t p = 1000; p <= 1000000000000000LL; p *= 10)
        for (int64_t m : {1, 2, 3, 5, 11, 21, 22, 101, 102, 105, 111, 121})
            if (m * p <= 1000000000000000LL) failures += Check(m * p) + Check(m * p + 1);
    EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace tamzel::speech
