// Conditions: blocks of test lines read from a brain reader, the word-list, comparison and
// keyword tests, captures, and the helpers that count words and spot random typing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

// Test of engine internals.
#include "ScriptFixtures.h"
#include "engine/internal/Conditions.h"
#include "engine/StoredWordLists.h"

namespace tamzel::engine::testing {
namespace {

struct Case {
    std::vector<std::string> lines;
    bool holds;
    const char* captured;  // slot 2 after a true block
};

class Conditions : public EngineFixture {
protected:
    // Evaluates the lines (the "->" is added) for capture slot 2 and checks that the reader
    // stopped right after the "->".
    bool Holds(std::vector<std::string> lines) {
        lines.push_back("->");
        lines.push_back("-after the block");
        BrainRecord reader = ReaderOf(lines);
        bool result = engine.EvaluateCondition(2, reader);
        EXPECT_EQ(ReadRecord(reader), "-after the block");
        return result;
    }
    void Sentence(const std::string& s) {
        engine.CurrentInput = s;
        engine.WorkSentence = base::FoldDiacritics(s);
    }
    // A false block leaves the slot alone; a true one stores what it recognised.
    void CheckAll(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            engine.Captures[2] = "untouched";
            std::string shown = c.lines.empty() ? "(no lines)" : c.lines.front();
            EXPECT_EQ(Holds(c.lines), c.holds) << shown;
            EXPECT_EQ(engine.Captures[2], c.holds ? c.captured : "untouched") << shown;
        }
    }
};

TEST_F(Conditions, WordListsAndCaptures) {
    Sentence(" mam rad psov . ");
    engine.Captures[7] = " psov ";
    std::vector<Case> cases = {
        {{}, true, ""},  // head followed directly by "->"
        {{"?( psov )"}, true, " psov "},
        {{"?( psov ; macky )"}, false, ""},
        {{"?( rad ; psov )"}, true, " psov "},  // the last item is remembered
        {{"!?( macky )"}, true, ""},
        {{"!?( macky ; psov )"}, false, ""},
        {{"?( PSOV )"}, false, ""},  // case matters
        {{base::Cp1250("?( psov ; mám )")}, true, " mam "},  // the argument is folded
        {{"?(<SOMEOF( macky ; psov )>)"}, true, " psov "},
        {{"?(<SOMEOF( macky ; koni )>)"}, false, ""},
        {{"?(<NIECO>)"}, false, ""},
        {{"?(<#C7>)"}, true, " psov "},  // tags in the argument are expanded
        {{"", "?( psov )", ""}, true, " psov "},  // empty lines change nothing
    };
    CheckAll(cases);
}

TEST_F(Conditions, StoredWordListsFindTheirWords) {
    struct ListCase {
        std::string sentence;
        const char* item;
        bool holds;
        const char* captured;
    } cases[] = {
        {" ty si idiot . ", "<#NADAVKY>", true, " idiot"},
        {base::Cp1250(" si sprostý ! "), "<#NADAVKY>", true, " sprost"},
        {" mam rad kravaty . ", "<#NADAVKY>", false, ""},  // " krava " is a whole word
        {base::Cp1250(" si múdry ! "), "<#POCHVALY>", true, " si mudry"},
        {" ahoj . ", "<#POCHVALY>", false, ""},
    };
    for (const ListCase& c : cases) {
        Sentence(c.sentence);
        engine.Captures[2] = "untouched";
        EXPECT_EQ(Holds({std::string("?(") + c.item + ")"}), c.holds) << c.sentence;
        if (c.holds) {
            EXPECT_EQ(engine.Captures[2], c.captured) << c.sentence;
        }
    }
}

TEST_F(Conditions, OrAlternatives) {
    Sentence(" mam rad psov . ");
    engine.UserIsMale = true;
    std::vector<Case> cases = {
        {{"?( macky )", "OR", "?( psov )"}, true, " psov "},
        {{"?( psov )", "OR", "?( macky )"}, true, " psov "},  // second alternative skipped
        {{"?( macky )", "OR", "?( kone )"}, false, ""},
        {{"?( psov )", "#ZENA_", "OR", "#MUZ", "?( rad )"}, true, " rad "},
        {{"#ZENA_", "?( psov )", "OR", "#MUZ"}, true, ""},  // a failed alternative remembers nothing later
        {{"?( macky )", "OR", "OR", "?( psov )"}, true, " psov "},
    };
    CheckAll(cases);

    // A true first alternative skips the rest unread: its tags are never expanded.
    engine.Mood = 0;
    EXPECT_TRUE(Holds({"?( psov )", "OR", "=(<#NALADA(+5)>,)"}));
    EXPECT_EQ(engine.Mood, 0);
}

TEST_F(Conditions, ComparisonsOfNumbersAndTexts) {
    engine.Variables[1] = {"n", "12", false};
    std::vector<Case> cases = {
        {{"<(9,10)"}, true, ""},        // numbers
        {{"<(9,10a)"}, false, ""},      // byte order: '9' after '1'
        {{">(10,9)"}, true, ""},
        {{"=(Peter,peter)"}, false, ""},
        {{base::Cp1250("=(Šimon,simon)")}, true, ""},  // folded, but case stays
        {{">(b,a)"}, true, ""},
        {{"<(ab,abc)"}, true, ""},      // a proper beginning sorts first
        {{"<(,5)"}, true, ""},          // empty counts as 0 next to a number
        {{"!<(9,10)"}, false, ""},
        {{"=(<#PREM(n)>,12)"}, true, ""},
        {{base::Cp1250("<(z,ž)")}, false, ""},     // ž folds to z: equal, not before
    };
    CheckAll(cases);
    // Windows-1250 letters sort by their byte value, above all ASCII.
    EXPECT_TRUE(Holds({"<(z,\xF6)"}));  // ö: not a Slovak letter, so not folded
}

TEST_F(Conditions, KeywordTestsOfTheTurn) {
    Sentence(" ahoj , ako sa mas ? ");
    engine.LastInput = " ahoj , ako sa mas ? ";
    engine.OpeningTurn = false;
    engine.FirstTurn = true;
    engine.IdleTurn = false;
    engine.HoverTurn = false;
    engine.UserIsMale = false;
    engine.Variables[1] = {"n", "42", false};
    std::vector<Case> cases = {
        {{"#UVODNA"}, false, ""},
        {{"!#UVODNA"}, true, ""},
        {{"#PRVYKRAT"}, true, ""},
        {{"#NUD"}, false, ""},
        {{"#SUVET"}, true, ""},
        {{"#ODCHADZA"}, false, ""},
        {{"#CISLO(<#PREM(n)>)"}, true, ""},
        {{"#CISLO(4a)"}, false, ""},
        {{"#NEZMYSL"}, false, ""},
        {{"#MUZ"}, false, ""},
        {{"#ZENA_"}, true, ""},
        {{"#OPAKOVAL"}, true, ""},
        {{"#SLOV(4)"}, true, ""},  // ahoj ako sa mas; marks are no words
        {{"#SLOV(LAST_USER,4)"}, true, ""},
        {{"#SLOV(5)"}, false, ""},
    };
    CheckAll(cases);

    engine.IdleTurn = true;  // a repeat does not count on an idle turn
    EXPECT_FALSE(Holds({"#OPAKOVAL"}));
    EXPECT_TRUE(Holds({"#NUD"}));
    engine.IdleTurn = false;
    engine.HoverTurn = true;
    EXPECT_FALSE(Holds({"#OPAKOVAL"}));
    EXPECT_TRUE(Holds({"#ODCHADZA"}));
}

TEST_F(Conditions, SelectorsInsideTestsAreUndoneSentenceLinesAreNot) {
    Sentence(base::Cp1250(" mám psa . "));
    engine.LastInput = " mam macku . ";
    engine.LastAnswer = " ja mam rybu . ";
    EXPECT_TRUE(Holds({"?(LAST_USER, macku )", "?( psa )"}));
    EXPECT_EQ(engine.WorkSentence, " mam psa . ");
    EXPECT_EQ(engine.SentenceTarget, 1);

    reports.clear();
    EXPECT_TRUE(Holds({"SENTENCE(LAST_COMP)", "?( rybu )"}));
    EXPECT_EQ(engine.SentenceTarget, 2);
    EXPECT_EQ(engine.WorkSentence, " ja mam rybu . ");
    EXPECT_EQ(reports.size(), 1u);
}

TEST_F(Conditions, WholeInputSelectorSeesEverySentenceOfTheTurn) {
    Sentence(base::Cp1250(" ahoj . "));
    engine.WholeInput = base::Cp1250(" chcem zomrieť . ahoj . ");
    engine.LastInput = " nic . ";
    const std::vector<Case> cases = {
        {{"?( zomriet )"}, false, ""},
        {{"?(WHOLE_USER, zomriet )"}, true, " zomriet "},
        {{"?(WHOLE_USER,<SOMEOF( skocim ; zomriet ; zabijem sa )>)"}, true, " zomriet "},
        {{"?(WHOLE_USER, chcem ; zomriet )"}, true, " zomriet "},
        {{"?(WHOLE_USER, skocim )"}, false, ""},
        {{"!?(WHOLE_USER, zomriet )"}, false, ""},
        {{"!?(WHOLE_USER, skocim )", "?( ahoj )"}, true, " ahoj "},
        {{"?(WHOLE_USER, zomriet )", "?( ahoj )"}, true, " ahoj "},  // back on the sentence
        {{"#SLOV(WHOLE_USER,3)"}, true, ""},
        {{"#SLOV(3)"}, false, ""},
    };
    CheckAll(cases);
    EXPECT_EQ(engine.WorkSentence, " ahoj . ");
    EXPECT_EQ(engine.SentenceTarget, 1);
    EXPECT_EQ(engine.WholeInput, base::Cp1250(" chcem zomrieť . ahoj . "));  // tests do not fold it
}

TEST_F(Conditions, MemoryValuesBecomeInlineListsInWordListTests) {
    NewMemoryFile();
    engine.AddMemoryValue("user,zvierata,macky;psov");
    Sentence(" mam rad psov . ");
    EXPECT_TRUE(Holds({"?(<#PAMAT(user,zvierata,ALL)>)"}));
    EXPECT_EQ(engine.Captures[2], "psov");
    EXPECT_FALSE(engine.InWordListTest);
    Sentence(" mam rad kone . ");
    EXPECT_FALSE(Holds({"?(<#PAMAT(user,zvierata,ALL)>)"}));
}

TEST_F(Conditions, ABlockWithoutArrowEndsAtTheEndOfTheBrain) {
    BrainRecord reader = ReaderOf({"?( a )", "#MUZ"});
    engine.EvaluateCondition(3, reader);
    EXPECT_TRUE(AtEndOfBrain(reader));
    reader = ReaderOf({"?( a )", "OR"});
    Sentence(" a ");
    EXPECT_TRUE(engine.EvaluateCondition(3, reader));
    EXPECT_TRUE(AtEndOfBrain(reader));
}

TEST(WordCount, CountsRunsOfPlainLowerCaseLetters) {
    const std::pair<const char*, int> cases[] = {
        {"", 0},         {" mam rad psov . ", 3}, {" . ! ", 0},
        {"a1b c", 2},    {" Mam psa ", 2},        {" m\xE1m ", 1},  // "mám": the á drops out
        {"   ", 0},      {"x", 1},
    };
    for (const auto& [text, count] : cases) EXPECT_EQ(WordCount(text), count) << text;
}

TEST(LooksLikeGibberish, LongConsonantOrVowelRuns) {
    const std::pair<const char*, bool> cases[] = {
        {"asdfghjkl", true},        // consonant run of 8
        {" aaaa ", true},           // blank and four vowels: a run of 5
        {" aaa ", true},            // blank and three vowels: 4
        {" aa ", false},            // 3
        {" ahoj . ", false},
        {"", false},
        {" zmrzlina ", false},      // five consonants
        {" qwrtpsd ", true},        // seven
        {" \xE1\xE1\xE1 ", true},    // folded vowels count too
        {"x.aaa", true},            // '.' then three vowels: 4
        {"x.aa", false},
        {" ako sa mas ? ", false},
    };
    for (const auto& [text, gibberish] : cases) EXPECT_EQ(LooksLikeGibberish(text), gibberish) << text;
}

TEST(AllDigits, EveryCharacterADigit) {
    const std::pair<const char*, bool> cases[] = {
        {"", true}, {"0", true}, {"123", true}, {"-1", false}, {"1 ", false}, {"x", false},
    };
    for (const auto& [text, digits] : cases) EXPECT_EQ(AllDigits(text), digits) << text;
}

// The words in docs/brain-language.md are those the program finds, and nothing else.
TEST(StoredWordLists, MatchTheirDocumentation) {
    // The source folder from the environment, else from where this file was compiled.
    const char* fromEnvironment = std::getenv("TAMZEL_SOURCE_DIR");
    std::filesystem::path source = fromEnvironment
        ? std::filesystem::path(fromEnvironment)
        : std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
    std::ifstream in(source / "docs" / "brain-language.md");
    ASSERT_TRUE(in);
    std::stringstream doc;
    doc << in.rdbuf();
    for (int list : {1, 2}) {
        std::string marker = list == 1 ? "Stored list 1 words: " : "Stored list 2 words: ";
        size_t at = doc.str().find(marker);
        ASSERT_NE(at, std::string::npos) << marker;
        std::string line = doc.str().substr(at + marker.size());
        line = line.substr(0, line.find('\n'));
        std::string words;
        std::regex word("`([^`]*)`");
        for (auto it = std::sregex_iterator(line.begin(), line.end(), word); it != std::sregex_iterator(); ++it) {
            std::string w = (*it)[1];
            for (size_t p; (p = w.find("\xC2\xB7")) != std::string::npos;) w.replace(p, 2, " ");
            words += (words.empty() ? "" : ";") + w;
        }
        EXPECT_EQ(StoredWordList(list), "<SOMEOF(" + words + ")>") << "list " << list;
    }
    EXPECT_EQ(StoredWordList(3), "");
}

}  // namespace
}  // namespace tamzel::engine::testing
