#include "base/Codepage.h"

#include <gtest/gtest.h>

namespace tamzel::base {
namespace {

TEST(Codepage, RoundTripsSlovakLetters) {
    const std::string utf8 = "Ťažký ÓRIEŠOK, ľúbim Ďateľa: äôň";
    auto cp = FromUtf8(utf8);
    ASSERT_TRUE(cp.has_value());
    EXPECT_EQ(cp->size(), 32u);  // one byte per letter
    EXPECT_EQ(static_cast<unsigned char>((*cp)[0]), 0x8D);  // Ť
    EXPECT_EQ(ToUtf8(*cp), utf8);
}

TEST(Codepage, RefusesCharactersWithoutWindows1250Form) {
    size_t bad = 99;
    EXPECT_FALSE(FromUtf8("ok \xE2\x82\xAC\xE2\x98\x83", &bad).has_value());  // € is fine, ☃ is not
    EXPECT_EQ(bad, 6u);
    EXPECT_FALSE(FromUtf8("\xC3\x28").has_value());  // invalid UTF-8
}

TEST(Codepage, LossyConversionReplacesOnlyTheOffendingCharacter) {
    EXPECT_EQ(FromUtf8Lossy("a\xE2\x98\x83" "b"), "a?b");
    EXPECT_EQ(FromUtf8Lossy("\xC3\xA1"), "\xE1");
}

TEST(Codepage, TypedTextLosesCharactersWithoutAFormAsBlanks) {
    struct Case {
        const char* utf8;
        const char* cp1250;
    };
    const Case cases[] = {
        {"Ahoj \xF0\x9F\x98\x80", "Ahoj  "},          // an emoji is no question mark
        {"\xF0\x9F\x98\x80\xF0\x9F\x91\x8D", "  "},  // two emoji, two blanks
        {"\xC5\xBE" "aba?", "\x9E" "aba?"},               // letters and marks stay
        {"a\xE2\x98\x83" "b", "a b"},
    };
    for (const Case& c : cases) EXPECT_EQ(TypedFromUtf8(c.utf8), c.cp1250) << c.utf8;
}

}  // namespace
}  // namespace tamzel::base
