#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Codepage.h"
#include "engine/TextUtils.h"

namespace tamzel::engine {
namespace {


struct TextCase {
    const char* input;  // UTF-8
    const char* expected;
};

TEST(Numbers, TextToIntReadsWhatFits) {
    struct Case {
        const char* text;
        int32_t value;
    };
    const std::vector<Case> cases = {
        {" 12abc", 12}, {"abc", 0}, {"-7", -7}, {"+5", 5}, {"", 0}, {"  -", 0},
        {"$ff", 255}, {"0x1A", 26}, {"-$10", -16}, {"007", 7}, {"12 34", 12},
        {"4294967297", 1},  // wraps instead of failing
    };
    for (const Case& c : cases) EXPECT_EQ(TextToInt(c.text), c.value) << c.text;
    EXPECT_EQ(IntToText(-7), "-7");
    EXPECT_EQ(IntToText(0), "0");
    EXPECT_EQ(IntToText(INT32_MIN), "-2147483648");
    EXPECT_EQ(TextToInt(IntToText(INT32_MIN)), INT32_MIN);
}

TEST(TextSearch, ContainsAndTrim) {
    EXPECT_FALSE(ContainsText("ahoj", ""));
    EXPECT_TRUE(ContainsText(" ahoj . ", " ahoj "));
    EXPECT_FALSE(ContainsText("ahoj", "ahoja"));
    std::string s = "   a b ";
    TrimLeadingBlanks(s);
    EXPECT_EQ(s, "a b ");
    s = "   ";
    TrimLeadingBlanks(s);
    EXPECT_EQ(s, "");
}

TEST(BracketContent, MatchesNestingAndFailsWithCodeZero) {
    const std::string zero(1, '\0');
    struct Case {
        std::string text, expected;
        bool failed;
    };
    const std::vector<Case> cases = {
        {"x(a(b)e)d", "a(b)e", false}, {"A()", "", false},  {"A(b", zero, true},
        {"", zero, true},              {"(", zero, true},   {"abc", zero, true},
        {"SET(x,(1)", zero, true},     {"(a)(b)", "a", false}, {")(x)", "x", false},
    };
    for (const Case& c : cases) {
        bool failed = false;
        EXPECT_EQ(BracketContent(c.text, '(', ')', &failed), c.expected) << c.text;
        EXPECT_EQ(failed, c.failed) << c.text;
    }
    EXPECT_EQ(TextToInt(BracketContent("IF(", '(', ')')), 0);
}

TEST(ReflectPersons, SwapsPersonsWordByWord) {
    const std::vector<TextCase> cases = {
        {"ja som tu", "ty si tu"},     {"mám tvoj mobil", "mám môj mobil"},
        {"moja", "moja"},              {" ja ", " ty "},
        {"Ja", "Ja"},                  {"mne", "tebe"},
        {"tebe", "mne"},               {"nás", "váš"},
        {"vás", "náš"},                {"vám", "nám"},
        {"tvoj", "môj"},               {"moj", "tvoj"},
        {"my sme", "vy ste"},          {"a  b", "a  b"},
        {"", ""},                      {"pozri na mňa", "pozri na teba"},
        {"si", "som"},                 {"mi ti", "ti mi"},
    };
    for (const TextCase& c : cases) {
        std::string s = base::Cp1250(c.input);
        ReflectPersons(s);
        EXPECT_EQ(base::ToUtf8(s), c.expected) << c.input;
    }
}

TEST(Normalise, InputAndSentenceExamples) {
    const std::vector<TextCase> cases = {
        {"ahoj", " ahoj . "},
        {"Ahoj!!  ", " ahoj ! ! "},
        {"Čo?<smile>", " Čo ? . "},
        {"Ahoj, ako sa máš?", " ahoj , ako sa máš ? "},
        {"Dobrý deň. Ako sa máš?", " dobrý deň . ako sa máš ? "},
        {"   ", ""},
        {"", ""},
        {"a<b", " a"},               // an unclosed tag runs to the end, blank included
        {"Ĺ+ŕ-x", " Ĺ ŕ x . "},     // + and - are not in the allowed set
        {"Vŕba, dĺžka a mŕtvy bod.", " vŕba , dĺžka a mŕtvy bod . "},  // kept whole
        {"x/y", " x/y . "},
    };
    for (const TextCase& c : cases) {
        std::string s = base::Cp1250(c.input);
        NormaliseInput(s);
        EXPECT_EQ(base::ToUtf8(s), c.expected) << c.input;
    }
}

TEST(Normalise, AnyBytesAndHugeLinesStayBounded) {
    std::string every;
    for (int round = 0; round < 400; ++round)
        for (int c = 0; c < 256; ++c) every += static_cast<char>(c);
    NormaliseInput(every);
    ASSERT_FALSE(every.empty());
    EXPECT_EQ(every.front(), ' ');
    EXPECT_EQ(every.back(), ' ');
    for (char c : every) EXPECT_TRUE(c == ' ' || static_cast<unsigned char>(c) >= 0x21) << int(c);
}

TEST(FormatReply, TidiesBlanksMarksAndCapitals) {
    const std::vector<TextCase> cases = {
        {"  ahoj ,  ako sa máš ?ja som tu", "Ahoj, ako sa máš? Ja som tu"},
        {"", ""},
        {"   ", ""},
        {"čau", "čau"},  // letters with diacritics are never upper-cased
        {"ahoj.ako", "Ahoj. Ako"},
        {"vianoce sú 24. decembra.ahoj", "Vianoce sú 24. decembra. Ahoj"},  // ordinal dot
        {"je 1.mája", "Je 1. mája"},
        {"no!!a", "No!! A"},
        {"a , b", "A, b"},
        {"koniec .", "Koniec."},
    };
    for (const TextCase& c : cases) EXPECT_EQ(base::ToUtf8(FormatReply(base::Cp1250(c.input))), c.expected) << c.input;
}

}  // namespace
}  // namespace tamzel::engine
