// Script tags: ExpandTags replaces the inline tags of brain texts (date, name, captures,
// memory values, variables, random numbers, mood, words of a sentence) by their values.
// Tags are found by their keyword texts from the keyword table, so they are recognised only
// while the table is plain, that is inside a rule pass.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <ctime>
#include <iterator>
#include <string_view>

#include "engine/internal/EngineCore.h"
#include "engine/internal/ScriptTags.h"

namespace tamzel::engine {

namespace {

// A value that brings back its own tag (a memory value or a variable holding the tag that
// produced it, or arguments nesting without end) would expand for ever. These bounds are
// far above anything a real brain needs; once one is reached every remaining tag is cut out
// without a value, which always shortens the text, so the turn ends.
constexpr int kReplacementBudget = 1024;  // tag replacements in one outermost ExpandTags
constexpr int kMaxCycles = 64;            // rounds of all passes in one ExpandTags
constexpr int kMaxDepth = 8;              // arguments expanding arguments
// A value can bring the user's sentence, itself full of tag characters, and a thousand of
// them grew the text to hundreds of kilobytes that every pass searched again (a second and
// more for one turn). No real answer comes near this length.
constexpr size_t kMaxExpandedBytes = 16384;

const char kSelectorLastAnswer[] = "LAST_COMP";
const char kSelectorLastInput[] = "LAST_USER";
const char kSelectorWholeInput[] = "WHOLE_USER";

// The capital tag's flag for names of several words ("Banská Bystrica").
const char kEachWordFlag[] = "SLOVA,";
// Short words that stay small inside a name of several words ("Nové Mesto nad Váhom").
constexpr std::string_view kSmallNameWords[] = {"a", "na", "nad", "pod", "pri", "u", "v", "vo", "z", "zo"};

// Where a tag ends decides what is cut out and replaced.
enum class Shape {
    Fixed,    // exactly the keyword
    Short,    // up to the first '>'
    Nested,   // up to the '>' that balances the tag's own '<'
    ToLast,   // up to the last '>' of the whole text
    Capture,  // keyword, one or two digits and one closing character
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// End (one past) of the tag whose keyword starts at p.
size_t TagEnd(const std::string& text, size_t p, Shape shape, size_t keywordLength) {
    switch (shape) {
    case Shape::Fixed:
        return std::min(text.size(), p + keywordLength);
    case Shape::Short: {
        size_t q = text.find('>', p + 1);
        return q == std::string::npos ? text.size() : q + 1;
    }
    case Shape::Nested: {
        int depth = 1;
        for (size_t i = p + 1; i < text.size(); ++i) {
            if (text[i] == '<') ++depth;
            if (text[i] == '>' && --depth == 0) return i + 1;
        }
        return text.size();
    }
    case Shape::ToLast: {
        size_t q = text.rfind('>');
        return (q == std::string::npos || q < p) ? text.size() : q + 1;
    }
    case Shape::Capture: {
        size_t i = p + keywordLength;
        if (i < text.size() && IsDigit(text[i])) ++i;
        if (i < text.size() && IsDigit(text[i])) ++i;
        return std::min(text.size(), i + 1);
    }
    }
    return text.size();
}

int32_t ClampedSum(int32_t a, int64_t b) {
    int64_t sum = int64_t{a} + b;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

std::string TrimBlanks(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace

// The passes of one ExpandTags call; a friend of Engine for the expansion bounds.
class TagExpansion {
public:
    explicit TagExpansion(EngineCore& engine) : e_(engine) {}

    // One cycle: every pass once, in the fixed order brain authors rely on.
    void RunAllPasses(std::string& text) {
        // First, so that its argument is cut out whole before the memory tag (which runs to
        // the last '>' of the text) could swallow the capital tag's closing bracket.
        RunPass(text, kw::CapitalTag, Shape::Nested, &TagExpansion::Capital);
        RunPass(text, kw::YearTag, Shape::Fixed, &TagExpansion::Year);
        RunPass(text, kw::MonthTag, Shape::Fixed, &TagExpansion::Month);
        RunPass(text, kw::DayTag, Shape::Fixed, &TagExpansion::Day);
        RunPass(text, kw::WeekdayTag, Shape::Fixed, &TagExpansion::Weekday);
        RunPass(text, kw::HourTag, Shape::Fixed, &TagExpansion::Hour);
        RunPass(text, kw::MinuteTag, Shape::Fixed, &TagExpansion::Minute);
        RunPass(text, kw::WordPositionTag, Shape::Short, &TagExpansion::WordPositionValue);
        RunPass(text, "|", Shape::Fixed, &TagExpansion::Name);
        RunPass(text, kw::CaptureTag, Shape::Capture, &TagExpansion::Capture);
        RunPass(text, kw::RepeatCountTag, Shape::Fixed, &TagExpansion::RepeatCount);
        RunPass(text, kw::IdleCountTag, Shape::Fixed, &TagExpansion::IdleCount);
        RunPass(text, kw::GenderTag, Shape::Short, &TagExpansion::Gender);
        RunPass(text, kw::MemoryTag, Shape::ToLast, &TagExpansion::Memory);
        RunPass(text, kw::AgeTag, Shape::Short, &TagExpansion::Age);
        RunPass(text, kw::VariableTag, Shape::Short, &TagExpansion::VariableValue);
        RunPass(text, kw::RandomTag, Shape::Short, &TagExpansion::RandomValue);
        RunPass(text, kw::MoodTag, Shape::Short, &TagExpansion::MoodValue);
        RunRestPass(text);
        RunPass(text, kw::NextWordTag, Shape::Nested, &TagExpansion::NextWord);
    }

private:
    using ValueFn = std::string (TagExpansion::*)(const std::string& tag);

    const std::string& Keyword(int k) const { return e_.Keywords.Keyword(k); }

    // False once the budget is spent: the tag is then cut out without a value.
    bool Spend() {
        if (e_.tagBudget_ <= 0) return false;
        --e_.tagBudget_;
        return true;
    }

    void RunPass(std::string& text, int entry, Shape shape, ValueFn value) {
        RunPass(text, Keyword(entry), shape, value);
    }

    // Replaces the first occurrence of the keyword as long as there is one.
    void RunPass(std::string& text, const std::string& keyword, Shape shape, ValueFn value) {
        if (keyword.empty()) return;
        for (size_t p = text.find(keyword); p != std::string::npos; p = text.find(keyword))
            ReplaceAt(text, p, TagEnd(text, p, shape, keyword.size()), value);
    }

    void ReplaceAt(std::string& text, size_t p, size_t end, ValueFn value) {
        std::string tag = text.substr(p, end - p);
        text.erase(p, end - p);
        if (!Spend()) return;
        std::string replacement = (this->*value)(tag);
        if (text.size() + replacement.size() > kMaxExpandedBytes) {
            e_.tagBudget_ = 0;
            return;
        }
        text.insert(p, replacement);
    }

    // The rest tags share one pass: the first reflected tag goes before any plain one.
    void RunRestPass(std::string& text) {
        const std::string& reflected = Keyword(kw::ReflectedRestTag);
        const std::string& plain = Keyword(kw::RestTag);
        for (;;) {
            size_t p = Find(text, reflected);
            bool isReflected = p != std::string::npos;
            if (!isReflected) p = Find(text, plain);
            if (p == std::string::npos) return;
            size_t length = (isReflected ? reflected : plain).size();
            ReplaceAt(text, p, TagEnd(text, p, Shape::Nested, length),
                      isReflected ? &TagExpansion::ReflectedRest : &TagExpansion::Rest);
        }
    }

    static size_t Find(const std::string& text, const std::string& keyword) {
        return keyword.empty() ? std::string::npos : text.find(keyword);
    }

    std::string Argument(const std::string& tag) { return e_.BracketArgument(tag); }
    std::string ExpandedArgument(const std::string& tag) {
        std::string argument = Argument(tag);
        e_.ExpandTags(argument);
        return argument;
    }

    std::tm Now() { return e_.clock().Now(); }
    std::string Year(const std::string&) { return IntToText(Now().tm_year + 1900); }
    std::string Month(const std::string&) { return IntToText(Now().tm_mon + 1); }
    std::string Day(const std::string&) { return IntToText(Now().tm_mday); }
    std::string Weekday(const std::string&) { return IntToText(Now().tm_wday + 1); }
    std::string Hour(const std::string&) { return IntToText(e_.TimePart(1)); }
    std::string Minute(const std::string&) { return IntToText(e_.TimePart(2)); }
    std::string Name(const std::string&) { return e_.UserName; }
    std::string RepeatCount(const std::string&) { return IntToText(e_.RepeatCount); }
    std::string IdleCount(const std::string&) { return IntToText(e_.IdleCount); }

    // The expanded argument with its first character (after blanks) a capital; with the
    // flag every word of it, except the small joining words of place names.
    std::string Capital(const std::string& tag) {
        bool failed = false;
        std::string argument = BracketContent(tag, '(', ')', &failed);
        if (failed) return {};
        const size_t flagLength = sizeof(kEachWordFlag) - 1;
        bool eachWord = argument.compare(0, flagLength, kEachWordFlag) == 0;
        if (eachWord) argument.erase(0, flagLength);
        e_.ExpandTags(argument);
        if (eachWord) return CapitalWords(argument);
        size_t first = argument.find_first_not_of(' ');
        if (first != std::string::npos) argument[first] = base::UpperLetter(argument[first]);
        return argument;
    }

    static std::string CapitalWords(std::string text) {
        auto isSeparator = [](char c) { return c == ' ' || c == '-'; };
        for (size_t start = 0; start < text.size(); ++start) {
            if (isSeparator(text[start])) continue;
            size_t end = start;
            while (end < text.size() && !isSeparator(text[end])) ++end;
            std::string_view word(text.data() + start, end - start);
            bool small = start > 0 && std::find(std::begin(kSmallNameWords), std::end(kSmallNameWords),
                                                word) != std::end(kSmallNameWords);
            if (!small) text[start] = base::UpperLetter(text[start]);
            start = end;
        }
        return text;
    }

    std::string Capture(const std::string& tag) {
        size_t first = Keyword(kw::CaptureTag).size(), digits = 0;
        while (digits < 2 && first + digits < tag.size() && IsDigit(tag[first + digits])) ++digits;
        int slot = digits == 0 ? 0 : TextToInt(tag.substr(first, digits));
        return (slot >= 1 && slot <= 10) ? e_.Captures[slot] : std::string();
    }

    std::string Gender(const std::string& tag) {
        std::string argument = Argument(tag);
        size_t comma = argument.find(',');
        if (comma == std::string::npos) return e_.UserIsMale ? std::string() : argument;
        return e_.UserIsMale ? argument.substr(0, comma) : argument.substr(comma + 1);
    }

    std::string Memory(const std::string& tag) {
        std::string argument = Argument(tag);
        size_t lastComma = argument.rfind(',');
        std::string selector =
            lastComma == std::string::npos ? std::string() : argument.substr(lastComma + 1);
        std::string place = argument.substr(0, lastComma);
        e_.ExpandTags(place);
        size_t comma = place.find(',');
        std::string object = place.substr(0, comma);
        std::string property = comma == std::string::npos ? std::string() : place.substr(comma + 1);
        std::string value = e_.ReadMemoryValue(object, property);
        return SelectMemoryItem(value, selector);
    }

    std::string SelectMemoryItem(const std::string& value, const std::string& selector) {
        bool isList = value.find(';') != std::string::npos;
        if (selector == "ALL") {
            if (!e_.InWordListTest) return value;
            return "<" + Keyword(kw::InlineWordList) + "(" + value + ")>";
        }
        if (selector == "RND") return isList ? e_.PickRandomItem(value) : value;
        int n = TextToInt(selector);
        if (n >= 1) return isList ? PickItem(value, n) : value;
        if (n == 0) e_.ReportError("Prislo k chybe pri konverzii 3.par. MEM. na INT.");
        return value;
    }

    // Whole years since the date "d.m.y"; the anniversary itself counts as a full year.
    std::string Age(const std::string& tag) {
        std::string argument = Argument(tag);
        size_t dot1 = argument.find('.');
        size_t dot2 = dot1 == std::string::npos ? dot1 : argument.find('.', dot1 + 1);
        int d = TextToInt(argument.substr(0, dot1));
        int m = dot1 == std::string::npos ? 0 : TextToInt(argument.substr(dot1 + 1));
        int y = dot2 == std::string::npos ? 0 : TextToInt(argument.substr(dot2 + 1));
        std::tm now = Now();
        int year = now.tm_year + 1900, month = now.tm_mon + 1, day = now.tm_mday;
        bool reached = month > m || (month == m && day >= d);
        return IntToText(year - y - 1 + (reached ? 1 : 0));
    }

    std::string VariableValue(const std::string& tag) {
        std::string name = Argument(tag);
        for (int i = 1; i <= 50; ++i)
            if (!e_.Variables[i].free && e_.Variables[i].name == name) return e_.Variables[i].value;
        return {};
    }

    std::string RandomValue(const std::string& tag) {
        return IntToText(e_.random().Below(TextToInt(ExpandedArgument(tag))));
    }

    // With an argument the mood changes ("+3" raises, anything else lowers) and nothing
    // is shown; bare, the tag shows the mood.
    std::string MoodValue(const std::string& tag) {
        if (tag.find('(') == std::string::npos) return IntToText(e_.Mood);
        std::string argument = Argument(tag);
        int64_t amount = argument.empty() ? 0 : TextToInt(argument.substr(1));
        bool raise = !argument.empty() && argument[0] == '+';
        e_.Mood = ClampedSum(e_.Mood, raise ? amount : -amount);
        return {};
    }

    // Selects the sentence named before the argument's first comma (the current one when
    // there is no comma) and leaves the word in `argument`. True when a selector was given.
    bool SelectNamedOrCurrent(std::string& argument) {
        size_t comma = argument.find(',');
        if (comma == std::string::npos) {
            e_.SelectSentence(Keyword(kw::CurrentSelector));
            return false;
        }
        e_.SelectSentence(argument.substr(0, comma));
        argument.erase(0, comma + 1);
        return true;
    }

    std::string WordPositionValue(const std::string& tag) {
        std::string word = Argument(tag);
        bool selected = SelectNamedOrCurrent(word);
        std::string value = IntToText(WordPosition(word, e_.WorkSentence));
        e_.RestoreCurrentSentence(selected);
        return value;
    }

    // Position just after the word in the selected sentence (both folded), or npos.
    size_t AfterWord(const std::string& word) {
        std::string folded = base::FoldDiacritics(word);
        size_t p = base::FoldDiacritics(e_.WorkSentence).find(folded);
        return p == std::string::npos ? p : p + folded.size();
    }

    std::string RestOf(const std::string& tag, bool reflect) {
        std::string word = ExpandedArgument(tag);
        bool selected = SelectNamedOrCurrent(word);
        size_t start = AfterWord(word);
        std::string rest;
        if (start != std::string::npos) {
            rest = e_.WorkSentence.substr(start);
            size_t mark = rest.find_first_of("!.?");
            if (mark != std::string::npos) rest.erase(mark);
            else if (!rest.empty()) rest.pop_back();  // the closing blank of a sentence
            if (reflect) ReflectPersons(rest);
        }
        e_.RestoreCurrentSentence(selected);
        return TrimBlanks(rest);
    }
    std::string Rest(const std::string& tag) { return RestOf(tag, false); }
    std::string ReflectedRest(const std::string& tag) { return RestOf(tag, true); }

    // The word after the found one, with the blank before it.
    std::string NextWord(const std::string& tag) {
        std::string word = ExpandedArgument(tag);
        bool selected = SelectNamedOrCurrent(word);
        size_t start = AfterWord(word);
        std::string next;
        const std::string& sentence = e_.WorkSentence;
        if (start != std::string::npos && start < sentence.size()) {
            size_t end = sentence.find(' ', start + 1);
            if (end == std::string::npos) end = sentence.size() - 1;
            if (end > start) next = sentence.substr(start, end - start);
        }
        e_.RestoreCurrentSentence(selected);
        return next;
    }

    EngineCore& e_;
};

void EngineCore::ExpandTags(std::string& text) {
    if (text.empty() || !Keywords.plain()) return;
    if (tagDepth_ == 0) tagBudget_ = kReplacementBudget;
    if (tagDepth_ >= kMaxDepth) tagBudget_ = 0;
    struct DepthGuard {
        int& depth;
        explicit DepthGuard(int& d) : depth(d) { ++depth; }
        ~DepthGuard() { --depth; }
    } guard(tagDepth_);
    TagExpansion expansion(*this);
    bool reported = false;
    for (int cycle = 1; HasTags(text); ++cycle) {
        if (cycle > kMaxCycles) tagBudget_ = 0;
        if (tagBudget_ == 0 && !reported) {
            ReportError("Znacky sa opakuju donekonecna, zvysok sa vynechava");
            reported = true;
        }
        expansion.RunAllPasses(text);
    }
}

bool EngineCore::HasTags(const std::string& text) {
    if (text.find('|') != std::string::npos) return true;
    // A tag can begin only at a byte that starts a tag keyword: one walk over the text,
    // comparing there, instead of twenty searches of the whole text.
    std::array<bool, 256> starts{};
    for (int k = kw::YearTag; k <= kw::NextWordTag; ++k) {
        const std::string& keyword = Keywords.Keyword(k);
        if (!keyword.empty()) starts[static_cast<unsigned char>(keyword[0])] = true;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (!starts[static_cast<unsigned char>(text[i])]) continue;
        for (int k = kw::YearTag; k <= kw::NextWordTag; ++k) {
            const std::string& keyword = Keywords.Keyword(k);
            if (!keyword.empty() && keyword[0] == text[i] && text.compare(i, keyword.size(), keyword) == 0)
                return true;
        }
    }
    return false;
}

void EngineCore::SelectSentence(std::string_view selector) {
    if (selector == kSelectorLastAnswer) {
        WorkSentence = LastAnswer;
        SentenceTarget = 2;
    } else if (selector == kSelectorLastInput) {
        WorkSentence = LastInput;
        SentenceTarget = 3;
    } else if (selector == kSelectorWholeInput) {
        WorkSentence = WholeInput;
        SentenceTarget = 4;
    } else if (selector == Keywords.Keyword(kw::CurrentSelector)) {
        WorkSentence = CurrentInput;
        SentenceTarget = 1;
    }
}

void EngineCore::RestoreCurrentSentence(bool selected) {
    if (!selected) return;
    SelectSentence(Keywords.Keyword(kw::CurrentSelector));
    base::FoldDiacriticsInPlace(WorkSentence);
}

void EngineCore::SelectFoldedInput() {
    if (CurrentInput != foldedFrom_) {
        foldedFrom_ = CurrentInput;
        foldedInput_ = CurrentInput;
        base::FoldDiacriticsInPlace(foldedInput_);
    }
    if (WorkSentence != foldedInput_) WorkSentence = foldedInput_;
    SentenceTarget = 1;
}

void EngineCore::StoreSentence(int target) {
    if (target == 1) CurrentInput = WorkSentence;
    if (target == 2) LastAnswer = WorkSentence;
    if (target == 3) LastInput = WorkSentence;
    if (target == 4) WholeInput = WorkSentence;
}

int EngineCore::TimePart(int kind) {
    std::tm now = clock().Now();
    if (kind == 1) return now.tm_hour;
    if (kind == 2) return now.tm_min;
    return 0;
}

std::string EngineCore::PickRandomItem(const std::string& list) {
    std::string items = list + ';';
    int count = static_cast<int>(std::count(items.begin(), items.end(), ';'));
    return PickItem(list, random().Below(count) + 1);
}

namespace {

// Folded, A..Z lowered: how WordPosition compares.
std::string Comparable(const std::string& text) {
    std::string folded = base::FoldDiacritics(text);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

bool IsPlainLetter(char c) { return c >= 'a' && c <= 'z'; }

}  // namespace

int WordPosition(const std::string& word, const std::string& sentence) {
    if (sentence.empty()) return 0;
    std::string padded = sentence;
    if (padded.front() != ' ') padded.insert(padded.begin(), ' ');
    if (padded.back() != ' ') padded.push_back(' ');
    padded = Comparable(padded);
    if (padded.size() <= 2) return 0;
    std::string letters;
    for (char c : padded)
        if (c == ' ' || IsPlainLetter(c)) letters.push_back(c);
    std::string wanted = Comparable(word);
    int number = 0;
    for (size_t i = 0; i + 1 < letters.size(); ++i) {
        if (letters[i] != ' ' || !IsPlainLetter(letters[i + 1])) continue;
        ++number;
        if (letters.compare(i + 1, wanted.size(), wanted) == 0) return number;
    }
    return 0;
}

// Item n of a ';'-separated list, or the last item when there are fewer than n.
std::string PickItem(const std::string& list, int n) {
    size_t start = 0;
    for (int item = 1;; ++item) {
        size_t end = list.find(';', start);
        if (item >= n || end == std::string::npos) return list.substr(start, end - start);
        start = end + 1;
    }
}

}  // namespace tamzel::engine
