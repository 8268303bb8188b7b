#include <gtest/gtest.h>

#include <string>

#include "base/Codepage.h"
#include "base/Letters.h"

namespace tamzel::base {
namespace {

std::string W(const char* utf8) { return FromUtf8(utf8).value(); }

TEST(FoldDiacritics, FoldsSlovakLettersOnlyAndKeepsLength) {
    EXPECT_EQ(FoldDiacritics(W("Ťažký ÖRIEŠOK")), W("tazky ÖRIEsOK"));  // only Slovak letters
    EXPECT_EQ(FoldDiacritics(W("telefón gÓl")), "telefon gol");
    EXPECT_EQ(FoldDiacritics(W("ÁÄČĎÉÍĽĹŇÔŔŠŤÚÝŽ")), "aacdeillnorstuyz");
    EXPECT_EQ(FoldDiacritics(W("áäčďéíľĺňôŕšťúýž")), "aacdeillnorstuyz");
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    EXPECT_EQ(FoldDiacritics(all).size(), 256u);
    EXPECT_EQ(FoldDiacritics("ABC xyz 019 ?!"), "ABC xyz 019 ?!");
}

TEST(UpperLetter, EveryWindows1250SmallLetterHasItsCapital) {
    const char* small = "abcdefghijklmnopqrstuvwxyzáäčďéěíĺľňóôöőŕřšśťúůüűýžźżąęłńşţăćç";
    const char* capital = "ABCDEFGHIJKLMNOPQRSTUVWXYZÁÄČĎÉĚÍĹĽŇÓÔÖŐŔŘŠŚŤÚŮÜŰÝŽŹŻĄĘŁŃŞŢĂĆÇ";
    std::string s = W(small), c = W(capital);
    ASSERT_EQ(s.size(), c.size());
    for (size_t i = 0; i < s.size(); ++i)
        EXPECT_EQ(UpperLetter(s[i]), c[i]) << ToUtf8(std::string(1, s[i]));
    for (const char* same : {"A", "Ž", "5", " ", "ß", "÷", "˙", ",", "<"})
        EXPECT_EQ(UpperLetter(W(same)[0]), W(same)[0]) << same;
}

}  // namespace
}  // namespace tamzel::base
