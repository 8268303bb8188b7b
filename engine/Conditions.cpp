// Conditions: the test lines of a condition block, read from the brain up to "->". Lines of
// one alternative are joined by "and", alternatives separated by "OR" by "or"; the word a
// true condition recognised goes to the block's capture slot.
#include <algorithm>

#include "engine/internal/EngineCore.h"
#include "engine/internal/Conditions.h"
#include "engine/StoredWordLists.h"

namespace tamzel::engine {

namespace {

const char kOrLine[] = "OR";
const char kEndLine[] = "->";
const char kSentenceLine[] = "SENTENCE";

// A test keyword opens the line; an empty keyword (a damaged table) opens none.
bool OpensWith(const std::string& line, const std::string& keyword) {
    return !keyword.empty() && line.starts_with(keyword);
}

bool IsPlainLetter(char c) { return c >= 'a' && c <= 'z'; }

}  // namespace

// One evaluation of a block's lines; keeps the two accumulators of the block.
class ConditionEvaluation {
public:
    ConditionEvaluation(EngineCore& engine, BrainRecord& reader)
        : e_(engine), reader_(reader), remembered_(engine.remembered_) {
        remembered_.clear();
    }

    bool Run(int slot) {
        std::string& line = e_.conditionLine_;
        line = e_.ReadLine(reader_);
        for (;;) {
            if (line == kOrLine) {
                if (b_) {
                    SkipToEnd();
                    break;
                }
                line = e_.ReadLine(reader_);
                b_ = true;
            }
            TestLine(line);
            // A block that runs into the end of the brain without "->" ends there.
            if (line == kEndLine || AtEndOfBrain(reader_)) break;
            line = e_.ReadLine(reader_);
        }
        if (b_ && slot >= 1 && slot <= 10) e_.Captures[slot] = remembered_;
        return b_;
    }

private:
    const std::string& Keyword(int k) const { return e_.Keywords.Keyword(k); }

    void SkipToEnd() {
        while (!AtEndOfBrain(reader_))
            if (e_.ReadLine(reader_) == kEndLine) return;
    }

    // Tests one line; on return a leading '!' has been removed from it.
    void TestLine(std::string& line) {
        if (line.compare(0, 8, kSentenceLine) == 0) {
            e_.ReportError("Pozor, prikaz SENTENCE bol pouzity v podmienke");
            e_.SelectSentence(e_.BracketArgument(line));
            base::FoldDiacriticsInPlace(e_.WorkSentence);
        }
        bool negate = !line.empty() && line[0] == '!';
        if (negate) line.erase(0, 1);
        if (!b_ || line.empty()) return;
        if (line[0] == '?') {
            WordListTest(line, negate);
        } else if (line[0] == '=' || line[0] == '<' || line[0] == '>') {
            b_ = ComparisonTest(line) != negate;
        }
        for (int k = kw::OpeningTest; k <= kw::WordCountTest && b_; ++k)
            if (OpensWith(line, Keyword(k))) b_ = KeywordTest(k, line) != negate;
    }

    bool KeywordTest(int k, const std::string& line) {
        switch (k) {
        case kw::OpeningTest: return e_.OpeningTurn;
        case kw::FirstTurnTest: return e_.FirstTurn;
        case kw::IdleTest: return e_.IdleTurn;
        case kw::CommaTest: return e_.WorkSentence.find(',') != std::string::npos;
        case kw::HoverTest: return e_.HoverTurn;
        case kw::NumberTest: {
            std::string argument = e_.BracketArgument(line);
            e_.ExpandTags(argument);
            return AllDigits(argument);
        }
        case kw::GibberishTest: return LooksLikeGibberish(e_.WorkSentence);
        case kw::MaleTest: return e_.UserIsMale;
        case kw::FemaleTest: return !e_.UserIsMale;
        case kw::RepeatTest:
            return base::FoldDiacritics(e_.CurrentInput) == base::FoldDiacritics(e_.LastInput) &&
                   !e_.IdleTurn && !e_.HoverTurn;
        case kw::WordCountTest: return WordCountTest(line);
        }
        return false;
    }

    // A selector before the argument's first comma picks the sentence the test looks at.
    bool SelectFor(std::string& argument) {
        size_t comma = argument.find(',');
        if (comma == std::string::npos) return false;
        e_.SelectSentence(std::string_view(argument).substr(0, comma));
        base::FoldDiacriticsInPlace(e_.WorkSentence);
        argument.erase(0, comma + 1);
        return true;
    }

    bool WordCountTest(const std::string& line) {
        std::string argument = e_.BracketArgument(line);
        bool selected = SelectFor(argument);
        bool result = WordCount(e_.WorkSentence) == TextToInt(argument);
        e_.RestoreCurrentSentence(selected);
        return result;
    }

    // Kind of a '<' item: 1 and 2 the stored lists, 3 an inline list, 0 nothing known.
    int ItemKind(std::string_view item) const {
        if (item.empty() || item[0] != '<') return -1;
        std::string_view inner = item.size() >= 2 ? item.substr(1, item.size() - 2) : std::string_view();
        if (inner == Keyword(kw::StoredWordList1)) return 1;
        if (inner == Keyword(kw::StoredWordList2)) return 2;
        const std::string& inline_ = Keyword(kw::InlineWordList);
        if (!inline_.empty() && item.compare(1, inline_.size(), inline_) == 0) return 3;
        return 0;
    }

    // Without '!' every item must occur in the sentence; with '!' none may.
    void WordListTest(const std::string& line, bool negate) {
        std::string& list = e_.wordList_;
        e_.BracketArgumentInto(line, list);
        list += ';';
        e_.InWordListTest = true;
        e_.ExpandTags(list);
        e_.InWordListTest = false;
        base::FoldDiacriticsInPlace(list);
        bool selected = SelectFor(list);
        bool ok = true;
        for (size_t start = 0; start < list.size() && ok;) {
            size_t end = ListItemEnd(list, start);
            if (end == std::string::npos) break;
            std::string_view item(list.data() + start, end - start);
            start = end + 1;
            int kind = ItemKind(item);
            // An item in brackets that names no list is never found, but is still remembered.
            bool listed = kind >= 1;
            bool found = kind < 0 ? ContainsText(e_.WorkSentence, item)
                                  : listed && e_.MatchWordList(kind, item, e_.storedWord_);
            if (found == negate) ok = false;
            if (!negate) remembered_.assign(listed ? std::string_view(e_.storedWord_) : item);
        }
        b_ = b_ && ok;
        e_.RestoreCurrentSentence(selected);
    }

    bool ComparisonTest(const std::string& line) {
        std::string argument = e_.BracketArgument(line);
        e_.ExpandTags(argument);
        size_t comma = argument.find(',');
        std::string left = base::FoldDiacritics(argument.substr(0, comma));
        std::string right =
            comma == std::string::npos ? std::string() : base::FoldDiacritics(argument.substr(comma + 1));
        if (line[0] == '=') return left == right;
        bool numbers = AllDigits(left) && AllDigits(right);
        if (line[0] == '<') return numbers ? TextToInt(left) < TextToInt(right) : left < right;
        return numbers ? TextToInt(left) > TextToInt(right) : left > right;
    }

    EngineCore& e_;
    BrainRecord& reader_;
    bool b_ = true;
    std::string& remembered_;
};

bool EngineCore::EvaluateCondition(int slot, BrainRecord& reader) {
    ConditionEvaluation evaluation(*this, reader);
    return evaluation.Run(slot);
}

bool EngineCore::MatchWordList(int kind, std::string_view item, std::string& found) {
    found.clear();
    if (kind < 1 || kind > 3) return false;
    std::string_view list = item;
    if (kind != 3) {
        StoredWordListInto(kind, storedList_);
        list = storedList_;
    }
    // "<SOMEOF(" before the words and ")>" after them.
    constexpr size_t kOpening = 8, kFrame = 10;
    if (list.size() < kFrame) return false;
    list = list.substr(kOpening, list.size() - kFrame);
    for (size_t start = 0;;) {
        size_t end = list.find(';', start);
        std::string_view word = list.substr(start, end == std::string_view::npos ? end : end - start);
        if (ContainsText(WorkSentence, word)) {
            found.assign(word);
            return true;
        }
        if (end == std::string_view::npos) return false;
        start = end + 1;
    }
}

int WordCount(const std::string& text) {
    int count = 0;
    bool inWord = false;
    for (char c : text) {
        if (c != ' ' && !IsPlainLetter(c)) continue;  // dropped, does not split a word
        bool letter = c != ' ';
        if (letter && !inWord) ++count;
        inWord = letter;
    }
    return count;
}

// Random typing shows as a long run of consonants, or of vowels (a run that may begin with
// a blank or a mark).
bool LooksLikeGibberish(const std::string& text) {
    std::string folded = base::FoldDiacritics(text);
    if (folded.empty()) return false;
    auto consonant = [](char c) {
        return std::string_view("bcdfghjklmnpqrstvwxz").find(c) != std::string_view::npos;
    };
    auto vowel = [](char c) { return std::string_view("aeiouy").find(c) != std::string_view::npos; };
    bool consonantRun = consonant(folded[0]);
    size_t length = 1, longestConsonants = 0, longestOthers = 0;
    auto close = [&] {
        size_t& longest = consonantRun ? longestConsonants : longestOthers;
        longest = std::max(longest, length);
    };
    for (size_t i = 1; i < folded.size(); ++i) {
        char c = folded[i];
        if (consonantRun ? consonant(c) : vowel(c)) {
            ++length;
            continue;
        }
        close();
        consonantRun = consonant(c);
        length = 1;
    }
    close();
    return longestConsonants > 6 || longestOthers > 3;
}

bool AllDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

size_t ListItemEnd(const std::string& list, size_t start) {
    int depth = 0;
    for (size_t i = start; i < list.size(); ++i) {
        if (list[i] == '<') ++depth;
        if (list[i] == '>') --depth;
        if (list[i] == ';' && depth == 0) return i;
    }
    return std::string::npos;
}

}  // namespace tamzel::engine
