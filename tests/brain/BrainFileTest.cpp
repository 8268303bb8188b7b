// Checks over every record of the compiled brain: answer lengths and emoticon tags, the
// form of condition words (the engine compares them with a folded, lower-case sentence, so a
// capital letter there can never match), and the size of the brain.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "BrainSession.h"
#include "engine/Brain.h"
#include "base/Codepage.h"

namespace tamzel::brain_testing {
namespace {

std::vector<std::string> Records() {
    std::vector<std::string> lines;
    std::string path = BuiltBrainPath();
    if (path.empty()) return lines;
    engine::BrainRecord brain;
    engine::LoadBrain(brain, path);
    while (!engine::AtEndOfBrain(brain)) {
        std::string line = engine::ReadRecord(brain);
        size_t first = line.find_first_not_of(' ');
        lines.push_back(first == std::string::npos ? std::string() : line.substr(first));
    }
    return lines;
}

bool IsAnswer(const std::string& line) { return !line.empty() && line[0] == '-' && line != "->"; }

bool IsCondition(const std::string& line) {
    return line.rfind("?(", 0) == 0 || line.rfind("!?(", 0) == 0;
}

// The answer as it is shown: without "-", the continue mark and every "<...>" tag.
std::string ShownText(std::string line) {
    line.erase(0, 1);
    if (line.size() >= 4 && line.compare(line.size() - 4, 4, "[++]") == 0)
        line.erase(line.size() - 4);
    return StripTags(line);
}

// Every "<word>" in an answer that is not a script tag ("<#...") must be an emoticon that
// the speech output knows.
std::vector<std::string> UnknownEmoticons(const std::string& line) {
    static const std::set<std::string> known = {"<smile>", "<sad>",  "<nuda>", "<zmurk>",
                                                "<mad1>",  "<mad2>", "<yes>",  "<no>"};
    std::vector<std::string> unknown;
    for (size_t open = line.find('<'); open != std::string::npos; open = line.find('<', open + 1)) {
        if (line.compare(open, 2, "<#") == 0) continue;
        size_t close = line.find('>', open);
        std::string tag = line.substr(open, close == std::string::npos ? close : close - open + 1);
        if (!known.count(tag)) unknown.push_back(tag);
    }
    return unknown;
}

// True when the answer ends in a mark followed by emoticon tags ("...Tamzel.<smile>"): the
// reply formatting puts a blank after the mark, and with the tag removed that blank is left
// at the end of the shown reply.
bool EndsInMarkThenEmoticon(std::string line) {
    if (line.size() >= 4 && line.compare(line.size() - 4, 4, "[++]") == 0)
        line.erase(line.size() - 4);
    bool emoticon = false;
    while (!line.empty() && line.back() == '>') {
        size_t open = line.rfind('<');
        if (open == std::string::npos || line.compare(open, 2, "<#") == 0) break;
        line.erase(open);
        emoticon = true;
    }
    return emoticon && !line.empty() && std::string(".!?,").find(line.back()) != std::string::npos;
}

// Condition text without the keywords and tags that may legitimately hold capitals.
std::string ConditionWords(std::string line) {
    for (const char* keyword : {"<SOMEOF(", "LAST_COMP", "LAST_USER", "THIS_USER", "WHOLE_USER",
                                "<#NADAVKY>", "<#POCHVALY>"}) {
        for (size_t at = line.find(keyword); at != std::string::npos; at = line.find(keyword))
            line.erase(at, std::string(keyword).size());
    }
    for (size_t at = line.find("<#"); at != std::string::npos; at = line.find("<#")) {
        size_t close = line.find('>', at);
        line.erase(at, close == std::string::npos ? std::string::npos : close - at + 1);
    }
    return line;
}

class CompiledBrain : public ::testing::Test {
protected:
    void SetUp() override {
        records = Records();
        if (records.empty()) GTEST_SKIP() << "no built brain";
    }
    std::vector<std::string> records;
};

TEST_F(CompiledBrain, NoAnswerIsLongerThanTwoHundredCharacters) {
    for (const std::string& line : records) {
        if (!IsAnswer(line)) continue;
        // Windows-1250: one byte is one character.
        EXPECT_LE(ShownText(line).size(), 200u) << base::ToUtf8(line);
    }
}

TEST_F(CompiledBrain, AnswersUseOnlyKnownEmoticons) {
    for (const std::string& line : records) {
        if (!IsAnswer(line)) continue;
        for (const std::string& tag : UnknownEmoticons(line))
            ADD_FAILURE() << "unknown tag " << base::ToUtf8(tag) << " in " << base::ToUtf8(line);
    }
}

TEST_F(CompiledBrain, NoAnswerEndsInAMarkFollowedByAnEmoticon) {
    for (const std::string& line : records) {
        if (IsAnswer(line) && EndsInMarkThenEmoticon(line))
            ADD_FAILURE() << "emoticon after the closing mark (put it first): " << base::ToUtf8(line);
    }
}

TEST_F(CompiledBrain, ConditionWordsAreFoldedAndLowerCase) {
    for (const std::string& line : records) {
        if (!IsCondition(line)) continue;
        std::string words = ConditionWords(line);
        // Folding lowers accented capitals but never A..Z, so a capital cannot match.
        bool capital = false;
        for (unsigned char c : words) capital = capital || (c >= 'A' && c <= 'Z');
        EXPECT_FALSE(capital) << "condition can never match: " << base::ToUtf8(line);
        // A comma would be read as the name of a sentence to search.
        if (line.find("LAST_") == std::string::npos && line.find("THIS_USER") == std::string::npos &&
            line.find("WHOLE_USER") == std::string::npos) {
            EXPECT_EQ(words.find(','), std::string::npos) << base::ToUtf8(line);
        }
    }
}

// An item of nothing but blanks is found in every sentence: the block would answer anything.
TEST_F(CompiledBrain, NoWordListItemIsBlank) {
    for (const std::string& line : records) {
        if (!IsCondition(line)) continue;
        size_t open = line.find("<SOMEOF(");
        if (open == std::string::npos) continue;
        size_t close = line.find(")>", open);
        std::string list = line.substr(open + 8, close - open - 8) + ";";
        size_t start = 0;
        for (size_t semi = list.find(';'); semi != std::string::npos; semi = list.find(';', start)) {
            std::string item = list.substr(start, semi - start);
            EXPECT_FALSE(!item.empty() && item.find_first_not_of(' ') == std::string::npos)
                << "blank item in " << base::ToUtf8(line);
            start = semi + 1;
        }
    }
}

TEST_F(CompiledBrain, IsLargeEnoughForLongConversations) {
    int blocks = 0, answers = 0;
    for (const std::string& line : records) {
        if (line.rfind("IF(", 0) == 0) ++blocks;
        if (IsAnswer(line)) ++answers;
    }
    std::printf("condition blocks: %d, answer lines: %d, records: %zu\n", blocks, answers,
                records.size());
    EXPECT_GE(blocks, 400);
    EXPECT_GE(answers, 1500);
}

// Deflections mark their own turn inside their block; only the fallback at the end stands
// outside every block. A marker outside a block before it would mark every turn.
TEST_F(CompiledBrain, EndsWithTheNotUnderstoodFallback) {
    size_t marker = 0;
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i] == "UNKNOWN") marker = i;
    ASSERT_GT(marker, 0u) << "no not-understood marker";
    int fallbacks = 0;
    for (size_t i = marker + 1; i < records.size(); ++i)
        if (IsAnswer(records[i])) ++fallbacks;
    EXPECT_GE(fallbacks, 10) << "the fallback needs many varied answers";
    int depth = 0;
    for (size_t i = 0; i < marker; ++i) {
        if (records[i].rfind("IF(", 0) == 0) ++depth;
        if (records[i] == "<-") --depth;
        if (records[i] == "UNKNOWN") {
            EXPECT_GT(depth, 0) << "record " << i + 1 << ": a marker outside a block would cut the brain short";
        }
    }
    EXPECT_EQ(depth, 0) << "the blocks before the fallback must all be closed";
}

}  // namespace
}  // namespace tamzel::brain_testing
