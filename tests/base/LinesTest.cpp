#include <gtest/gtest.h>

#include <string>

#include "base/Lines.h"

namespace tamzel::base {
namespace {

struct SplitCase {
    std::string text;
    Lines lines;
};

TEST(Lines, SplitTakesCrLfAndLfEndsAndKeepsEverythingElse) {
    const SplitCase cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"jeden", {"jeden"}},
        {"jeden\r\ndva\r\n", {"jeden", "dva"}},
        {"jeden\ndva", {"jeden", "dva"}},
        {"a\r\n\r\nb\n\n", {"a", "", "b", ""}},
        {"a\rb\r\n", {"a\rb"}},             // a CR inside a line is part of it
        {"a\r\r\n", {"a\r"}},               // only one CR belongs to the end
        {"a\rb", {"a\rb"}},
        {"a\r", {"a"}},                     // a CR that ends the text goes like a CR LF
        {std::string("\0x\n", 3), {std::string("\0x", 2)}},
    };
    for (const SplitCase& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
}

TEST(Lines, JoinEndsEveryLineWithCrLfAndSplitReadsItBack) {
    EXPECT_EQ(JoinLines({}), "");
    EXPECT_EQ(JoinLines({""}), "\r\n");
    EXPECT_EQ(JoinLines({"[DUZ]", "OBJECT(user)", "->", "<-"}), "[DUZ]\r\nOBJECT(user)\r\n->\r\n<-\r\n");
    const Lines samples[] = {{}, {""}, {"a", "", "b"}, {"", ""}, {"\xE1no", " x "}};
    for (const Lines& lines : samples) EXPECT_EQ(SplitLines(JoinLines(lines)), lines);
}

}  // namespace
}  // namespace tamzel::base
