#include "ui/ConsoleInput.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/InputLimit.h"

namespace tamzel::ui {
namespace {

// More than the reader's own buffer, so that a line is read in several pieces.
constexpr size_t kLongerThanABuffer = 200 * 1024;

struct Line {
    std::string text;
    bool cut;
    bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Line& line) {
    return out << "\"" << line.text << "\"" << (line.cut ? " (cut)" : "");
}

// Every line ReadBoundedLine gives for `input`, until it says the input has ended.
std::vector<Line> ReadAll(const std::string& input, size_t maxBytes) {
    std::string buffer = input;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(
        fmemopen(buffer.data(), buffer.size(), "r"), std::fclose);
    if (buffer.empty()) in.reset(std::tmpfile());
    std::vector<Line> lines;
    ConsoleLine line;
    while (ReadBoundedLine(in.get(), maxBytes, line)) {
        lines.push_back({line.text, line.cut});
        if (lines.size() > 100) break;  // a reader that never ends
    }
    return lines;
}

struct ReadCase {
    const char* what;
    std::string input;
    size_t maxBytes;
    std::vector<Line> lines;
};

TEST(ConsoleInput, ReadsLinesWithTheirEndsRemoved) {
    using namespace std::string_literals;
    const std::vector<ReadCase> cases = {
        {"no input", "", 100, {}},
        {"one line", "ahoj\n", 100, {{"ahoj", false}}},
        {"a last line without its end", "ahoj\nkoniec", 100, {{"ahoj", false}, {"koniec", false}}},
        {"empty lines", "\n\nx\n", 100, {{"", false}, {"", false}, {"x", false}}},
        {"Windows line ends", "a\r\nb\r\n", 100, {{"a", false}, {"b", false}}},
        {"only the CR before the end goes", "a\rb\r\r\n", 100, {{"a\rb\r", false}}},
        {"a NUL byte stays in the line", "a\0b\nc\n"s, 100, {{"a\0b"s, false}, {"c", false}}},
        {"a NUL byte ends no line", "\0\0\n"s, 100, {{"\0\0"s, false}}},
        {"bytes like the buffer's filler", "\xFF\xFF\n\xFF", 100, {{"\xFF\xFF", false}, {"\xFF", false}}},
        {"exactly the bound", "abcde\nf\n", 5, {{"abcde", false}, {"f", false}}},
        {"one byte over the bound", "abcdef\ng\n", 5, {{"abcde", true}, {"g", false}}},
        {"the rest of a long line is skipped", "abcdefghij\nok\n", 3, {{"abc", true}, {"ok", false}}},
        {"a long last line without its end", "abcdefghij", 4, {{"abcd", true}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadAll(c.input, c.maxBytes), c.lines) << c.what;
    }
}

// A line (or a file without line breaks) far longer than any buffer costs only the bound,
// and the line after it is read whole.
TEST(ConsoleInput, AHugeLineIsCutAndTheNextLineIsIntact) {
    std::string huge(kLongerThanABuffer, 'x');
    std::vector<Line> lines = ReadAll(huge + "\nDobrý deň\n", 20);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], (Line{std::string(20, 'x'), true}));
    EXPECT_EQ(lines[1], (Line{"Dobrý deň", false}));

    lines = ReadAll(huge + "\n", kLongerThanABuffer);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], (Line{huge, false})) << "a line read in pieces is joined";
}

// A cut may fall inside a character of two, three or four bytes; its first bytes alone
// would be no character, so the whole character goes.
TEST(ConsoleInput, ACutInsideACharacterDropsTheWholeCharacter) {
    struct Case {
        std::string line;
        size_t maxBytes;
        std::string kept;
    };
    const std::vector<Case> cases = {
        {"abcč", 4, "abc"},       // č: 2 bytes, 1 kept
        {"abcčx", 5, "abcč"},     // č fits
        {"ab€x", 3, "ab"},        // €: 3 bytes, 1 kept
        {"ab€x", 4, "ab"},        // 2 kept
        {"ab€x", 5, "ab€"},       // fits
        {"a😀b", 3, "a"},         // 4 bytes, 2 kept
        {"a😀b", 4, "a"},         // 3 kept
        {"a😀b", 5, "a😀"},       // fits
        {"žžžž", 3, "ž"},
    };
    for (const auto& c : cases) {
        std::vector<Line> lines = ReadAll(c.line + "\n", c.maxBytes);
        ASSERT_EQ(lines.size(), 1u) << c.line;
        EXPECT_EQ(lines[0], (Line{c.kept, true})) << c.line << " at " << c.maxBytes;
    }
}

TEST(ConsoleInput, TheConsoleBoundHoldsTheInputLimitInAnyCharacters) {
    // The longest characters of Windows-1250 take three bytes in UTF-8 (€, „, “).
    std::string longest;
    for (size_t i = 0; i < engine::kMaxInputLength; ++i) longest += "€";
    std::vector<Line> lines = ReadAll(longest + "\n", ConsoleLineBytes());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_FALSE(lines[0].cut);
    std::string cp1250;
    EXPECT_FALSE(CutConsoleLine(lines[0].text, cp1250));
    EXPECT_EQ(cp1250, std::string(engine::kMaxInputLength, '\x80'));
}

TEST(ConsoleInput, ALineIsCutToTheInputLimitAfterConversion) {
    struct Case {
        std::string utf8;
        std::string cp1250;
        bool cut;
    };
    const size_t limit = engine::kMaxInputLength;
    const std::vector<Case> cases = {
        {"Ahoj", "Ahoj", false},
        {"Ďakujem", "\xCF" "akujem", false},
        {"Ahoj 😀", "Ahoj  ", false},  // no question out of an emoji
        {std::string(limit, 'a'), std::string(limit, 'a'), false},
        {std::string(limit + 1, 'a'), std::string(limit, 'a'), true},
        {std::string(limit - 1, 'a') + "šš", std::string(limit - 1, 'a') + "\x9A", true},
    };
    for (const auto& c : cases) {
        std::string cp1250;
        EXPECT_EQ(CutConsoleLine(c.utf8, cp1250), c.cut) << c.utf8.size();
        EXPECT_EQ(cp1250, c.cp1250) << c.utf8.size();
    }
}

}  // namespace
}  // namespace tamzel::ui
