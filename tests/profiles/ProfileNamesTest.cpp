#include "profiles/ProfileNames.h"

#include <gtest/gtest.h>

#include "TestFolder.h"

namespace tamzel::profiles {
namespace {


TEST(ProfileNames, ValidityTable) {
    struct Case { std::string name; bool valid; };
    const Case cases[] = {
        {base::Cp1250("Jožko"), true},
        {"R2D2", true},
        {base::Cp1250("Ján Novák"), true},
        {base::Cp1250("ŠŤŽšťžĽľŔÁÄĹČÉÍĎŇÓÔÖŘŮÚÜÝŕáäĺčéíďňóôöřůúüý"), true},
        {"", false},
        {"Jozef.", false},
        {"Jan-Peter", false},
        {"jan_novak", false},
        {"..", false},
        {"a/b", false},
        {"../../etc", false},
        {std::string("a\0b", 3), false},
        {"a\tb", false},
        {"a\nb", false},
        {"a\x7F", false},
        {base::Cp1250("Łukasz"), false},  // a Windows-1250 letter outside the Slovak set
        {base::Cp1250("€"), false},
        {"\xE1\x81", false},   // an undefined Windows-1250 code
    };
    for (const Case& c : cases) EXPECT_EQ(IsValidName(c.name), c.valid) << c.name;
}

TEST(ProfileNames, EveryByteOutsideTheSetIsRefused) {
    // 62 plain characters + space + 42 letters with diacritics.
    int allowed = 0;
    for (int b = 0; b < 256; ++b) {
        char c = static_cast<char>(b);
        if (!IsNameCharacter(c)) continue;
        ++allowed;
        EXPECT_NE(c, '/');
        EXPECT_NE(c, '.');
        EXPECT_GE(b, 0x20);
    }
    EXPECT_EQ(allowed, 10 + 26 + 26 + 1 + 42);
}

TEST(ProfileNames, FirstInvalidCharacterIsReported) {
    EXPECT_EQ(FirstInvalidCharacter("Jozef."), '.');
    EXPECT_EQ(FirstInvalidCharacter("a-b.c"), '-');
    EXPECT_FALSE(FirstInvalidCharacter(base::Cp1250("Ďuro")).has_value());
}

TEST(ProfileNames, SamenessTable) {
    struct Case { std::string a, b; bool same; };
    const Case cases[] = {
        {base::Cp1250("Ján"), "jan", true},
        {base::Cp1250("Ján"), "JAN", true},
        {base::Cp1250("Jan Novák"), "Jan Novak", true},
        {base::Cp1250("ŠTEFAN"), base::Cp1250("štefan"), true},
        {base::Cp1250("Ľubo"), base::Cp1250("ĺubo"), true},
        {"Jan2", "Jan", false},
        {"Jana", "Jan", false},
        {"Jan ", "Jan", false},
        {base::Cp1250("Óla"), "Ola", true},   // Ó folds like every other Slovak letter
        {base::Cp1250("Röhm"), "Rohm", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SameUser(c.a, c.b), c.same) << c.a << " / " << c.b;
}

}  // namespace
}  // namespace tamzel::profiles
