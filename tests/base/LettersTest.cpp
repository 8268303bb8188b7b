#include <gtest/gtest.h>

#include <string>

#include "base/Codepage.h"
#include "base/Letters.h"

namespace tamzel::base {
namespace {


TEST(FoldDiacritics, FoldsSlovakLettersOnlyAndKeepsLength) {
    EXPECT_EQ(FoldDiacritics(base::Cp1250("Ťažký ÖRIEŠOK")), base::Cp1250("tazky ÖRIEsOK"));  // only Slovak letters
    EXPECT_EQ(FoldDiacritics(base::Cp1250("telefón gÓl")), "telefon gol");
    EXPECT_EQ(FoldDiacritics(base::Cp1250("ÁÄČĎÉÍĽĹŇÔŔŠŤÚÝŽ")), "aacdeillnorstuyz");
    EXPECT_EQ(FoldDiacritics(base::Cp1250("áäčďéíľĺňôŕšťúýž")), "aacdeillnorstuyz");
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    EXPECT_EQ(FoldDiacritics(all).size(), 256u);
    EXPECT_EQ(FoldDiacritics("ABC xyz 019 ?!"), "ABC xyz 019 ?!");
}

TEST(UpperLetter, EveryWindows1250SmallLetterHasItsCapital) {
    const char* small = "abcdefghijklmnopqrstuvwxyzáäčďéěíĺľňóôöőŕřšśťúůüűýžźżąęłńşţăćç";
    const char* capital = "ABCDEFGHIJKLMNOPQRSTUVWXYZÁÄČĎÉĚÍĹĽŇÓÔÖŐŔŘŠŚŤÚŮÜŰÝŽŹŻĄĘŁŃŞŢĂĆÇ";
    std::string s = base::Cp1250(small), c = base::Cp1250(capital);
    ASSERT_EQ(s.size(), c.size());
    for (size_t i = 0; i < s.size(); ++i)
        EXPECT_EQ(UpperLetter(s[i]), c[i]) << ToUtf8(std::string(1, s[i]));
    for (const char* same : {"A", "Ž", "5", " ", "ß", "÷", "˙", ",", "<"})
        EXPECT_EQ(UpperLetter(base::Cp1250(same)[0]), base::Cp1250(same)[0]) << same;
}

}  // namespace
}  // namespace tamzel::base
