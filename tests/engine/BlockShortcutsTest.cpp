// The shortcuts of the rule pass: a block is declared false from its words alone only when
// evaluating it gives false too and reads the same records; the multi-word search finds
// every word that occurs, overlapping ones included; the pass's record reader decodes as
// the loader does; the keyword table survives being decoded and encoded in place; the
// quick look for tags agrees with the tag passes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

// Test of engine internals.
#include "ScriptFixtures.h"
#include "engine/internal/BlockShortcuts.h"

namespace tamzel::engine::testing {
namespace {

struct BlockCase {
    std::vector<std::string> conditions;  // the lines after the block head
    const char* sentence;                 // the folded working sentence
    bool judged;                          // the shortcut declares the block false
};

class Shortcuts : public EngineFixture {
protected:
    // The brain: a block head, the conditions, "->", an answer, "<-".
    BrainRecord BlockReader(const std::vector<std::string>& conditions, bool closed = true) {
        std::vector<std::string> lines = {"IF(2)"};
        lines.insert(lines.end(), conditions.begin(), conditions.end());
        if (closed) lines.insert(lines.end(), {"->", "-odpove\xEF", "<-"});
        return ReaderOf(lines);
    }

    // Checks the shortcut against the evaluator itself on the same records.
    void Check(const BlockCase& c, bool closed = true) {
        std::string shown = c.conditions.empty() ? "(none)" : c.conditions.front();
        BrainRecord reader = BlockReader(c.conditions, closed);
        BlockShortcuts shortcuts;
        shortcuts.Build(reader, engine.Keywords);
        std::string head;
        DecodeNextRecord(reader, head);
        const uint32_t afterHead = reader.cursor;
        engine.WorkSentence = c.sentence;
        engine.CurrentInput = c.sentence;
        const RecordSpan* span = shortcuts.SurelyFalseConditions(afterHead, engine.WorkSentence);
        EXPECT_EQ(span != nullptr, c.judged) << shown << " in \"" << c.sentence << "\"";
        engine.RecordNumber = 0;
        reports.clear();
        bool holds = engine.EvaluateCondition(2, reader);
        if (span == nullptr) return;
        EXPECT_FALSE(holds) << shown;
        EXPECT_EQ(reader.cursor, span->end) << shown;
        EXPECT_EQ(engine.RecordNumber, span->records) << shown;
        EXPECT_TRUE(reports.empty()) << shown << ": the evaluation reported something";
    }
};

TEST_F(Shortcuts, JudgeOnlyBlocksTheWordsDecide) {
    const std::vector<BlockCase> cases = {
        {{"?( pes )"}, " mam psa . ", true},
        {{"?( pes )"}, " mam pes . ", false},
        {{"?(pes)"}, " psisko ", true},
        {{"?( pes ; macka )"}, " pes a pes ", true},
        {{"?( pes ; macka )"}, " pes a macka ", false},
        {{"?(<SOMEOF( pes ; macka )>)"}, " macka ", false},
        {{"?(<SOMEOF( pes ; macka )>)"}, " kon ", true},
        {{"?(<SOMEOF( pes ;; macka )>)"}, " kon ", true},
        {{"?( pes ;<SOMEOF( kon ; macka )>)"}, " pes a kon ", false},
        {{"?( pes ;<SOMEOF( kon ; macka )>)"}, " pes a vlk ", true},
        {{"?(<SOMEOF()>)"}, " pes ", true},         // too short to hold a word
        {{"?(<NIECO>)"}, " nieco ", true},         // names no list: never found
        {{"?( pes ;; kon )"}, " pes kon ", true},   // an empty item is never found
        {{base::Cp1250("?( mačka )")}, " macka ", false},  // the argument is folded
        {{base::Cp1250("?( mačka )")}, " kocka ", true},
        {{"   ?( pes )"}, " kon ", true},           // leading blanks are dropped
        {{"?( pes )", "#MUZ", "!?( kon )"}, " vlk ", true},
        {{"?( pes )", "!->"}, " vlk ", true},       // "!->" ends the conditions as well
        {{"?( pes )", "OR", "?( kon )"}, " vlk ", true},  // every alternative fails
        {{"?( pes )", "#MUZ", "OR", "?(<SOMEOF( kon ; vlk )>)", "!?( mys )"}, " los ", true},
        // Left to the evaluator:
        {{"!?( pes )"}, " kon ", false},
        {{"?(LAST_USER, pes )"}, " kon ", false},
        {{"?(<#NADAVKY>)"}, " kon ", false},
        {{"?(<#POCHVALY>)"}, " kon ", false},
        {{"?(<#C1>)"}, " kon ", false},
        {{"?( | )"}, " kon ", false},
        {{"?( pes )", "OR", "?( kon )"}, " kon ", false},
        {{"?( pes )", "OR", "#MUZ"}, " kon ", false},
        {{"?( pes )", "OR", "OR", "?( kon )"}, " vlk ", false},
        {{"?( pes )", "SENTENCE(LAST_USER)"}, " kon ", false},
        {{"#MUZ", "?( pes )"}, " kon ", false},
        {{"=(a,b)"}, " kon ", false},
        {{"?( pes "}, " kon ", false},              // no ")": the evaluator reports it
        {{"->"}, " kon ", false},
    };
    for (const BlockCase& c : cases) Check(c);
}

TEST_F(Shortcuts, ABlockCutOffByTheBrainsEnd) {
    Check({{"?( pes )", "?( kon )"}, " vlk ", true}, false);
    Check({{"?( pes )"}, " pes ", false}, false);
    Check({{"?( pes )", "OR"}, " vlk ", false}, false);  // an empty last alternative holds
}

// Words that overlap and hide inside each other: the search must find every one that
// occurs, as a plain substring search would.
TEST_F(Shortcuts, TheWordSearchFindsEveryOccurringWord) {
    const std::vector<std::string> words = {"a", "ab", "bab", "bc", "bca", "c", "caa", "abcab",
                                            "aa", "he", "she", "his", "hers", " s"};
    const std::vector<std::string> sentences = {"abccab", "bcabab", "aaaa", "cab", "", "ushers",
                                                "this she", " x "};
    std::vector<std::string> lines;
    for (const std::string& w : words) lines.insert(lines.end(), {"IF(2)", "?(" + w + ")", "->", "<-"});
    BrainRecord reader = ReaderOf(lines);
    BlockShortcuts shortcuts;
    shortcuts.Build(reader, engine.Keywords);
    std::vector<uint32_t> heads;
    for (std::string line; !AtEndOfBrain(reader);) {
        DecodeNextRecord(reader, line);
        if (line == "IF(2)") heads.push_back(reader.cursor);
    }
    ASSERT_EQ(heads.size(), words.size());
    for (const std::string& s : sentences)
        for (size_t i = 0; i < words.size(); ++i)
            EXPECT_EQ(shortcuts.SurelyFalseConditions(heads[i], s) != nullptr, !ContainsText(s, words[i]))
                << "\"" << words[i] << "\" in \"" << s << "\"";
}

TEST(PassRecordReader, DecodesAsTheLoaderDoes) {
    std::vector<std::string> bodies = {"", "-", "IF(1)", std::string(255, '\xFE'),
                                       base::Cp1250("-Ďakujem, že si prišiel."), std::string(3, '\0')};
    std::string area;
    for (size_t i = 0; i < bodies.size(); ++i)
        area += EncodeRecord(bodies[i], static_cast<uint8_t>(i * 97 + 1));
    area += "\x05";  // a last byte too short for a record
    BrainRecord loader, pass;
    loader.text = pass.text = area;
    std::string line = "leftover text that must go";
    for (const std::string& body : bodies) {
        EXPECT_EQ(ReadRecord(loader), body);
        DecodeNextRecord(pass, line);
        EXPECT_EQ(line, body);
        EXPECT_EQ(pass.cursor, loader.cursor);
    }
    EXPECT_EQ(ReadRecord(loader), "");
    DecodeNextRecord(pass, line);
    EXPECT_EQ(line, "");
    EXPECT_TRUE(AtEndOfBrain(pass));
    EXPECT_EQ(pass.sumPlain, 0u) << "the pass takes the sums worked out at load";
}

TEST(KeywordTableInPlace, RoundTripsKeepTheTextsAndTheDraws) {
    KeywordTable table;
    QueuedRandom random;
    table.DecodeAll();
    std::vector<std::string> plain;
    for (int k = 1; k <= 56; ++k) plain.push_back(table.Keyword(k));
    EXPECT_EQ(plain[kw::BlockHeadKeyword - 1], "IF");
    EXPECT_EQ(plain[kw::CurrentSelector - 1], "THIS_USER");
    for (int round = 0; round < 3; ++round) {
        random.next = {round * 11, 255, 7};
        table.EncodeAll(random);
        EXPECT_FALSE(table.plain());
        table.DecodeAll();
        for (int k = 1; k <= 56; ++k) EXPECT_EQ(table.Keyword(k), plain[k - 1]) << "entry " << k;
    }
    EXPECT_EQ(random.asked.size(), 3u * 56u) << "one salt drawn per entry and encoding";
    for (int k = 1; k <= 56; ++k)
        EXPECT_EQ(DecodeKeyword(EncodeKeyword(plain[k - 1], random)), plain[k - 1]);
}

// Only loading puts a brain in place in the program, but a brain given to the engine in
// any other way must not be read with the shortcuts of the one before (the same layout,
// another word: old shortcuts would call its block false).
TEST_F(Shortcuts, ABrainPutInPlaceIsNotReadWithTheShortcutsOfAnother) {
    auto brain = [](const std::string& word) {
        return std::vector<std::string>{"IF(1)", "?( " + word + " )", "->", "-Povedal si " + word + ".",
                                        "<-", "UNKNOWN", "-Nerozumiem."};
    };
    WriteBrain(brain("pes"));
    engine.InitEngine();
    EXPECT_EQ(engine.AnswerSentence("pes"), "Povedal si pes.");
    WriteBrain(brain("kon"));
    BrainRecord other;
    LoadBrain(other, "ai/brainfile.ai");
    engine.Brain = std::move(other);
    EXPECT_EQ(engine.AnswerSentence("kon"), "Povedal si kon.");
}

TEST_F(Shortcuts, TheQuickLookForTagsAgreesWithTheTags) {
    const struct {
        const char* text;
        bool tags;
    } cases[] = {
        {"", false},
        {"( pes ; macka );", false},
        {"(<SOMEOF( pes ; macka )>);", false},
        {"<", false},
        {"<#", false},
        {"<#ROK>", true},
        {"dnes je <#DN>.", true},
        {"<<#C1>", true},
        {"x<#DALSIE(a)>", true},
        {"Jano|", true},
        {"<#c1>", false},  // keywords are case-sensitive
    };
    for (const auto& c : cases) EXPECT_EQ(engine.HasTags(c.text), c.tags) << c.text;
}

}  // namespace
}  // namespace tamzel::engine::testing
