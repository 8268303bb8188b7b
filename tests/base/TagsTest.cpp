#include <gtest/gtest.h>

#include <string>

#include "base/Tags.h"

namespace tamzel::base {
namespace {

TEST(Tags, StripTagsRemovesEveryRunAndWhatAnUnclosedOneStarts) {
    struct Case { const char* in; const char* out; } cases[] = {
        {"a<b>c<d>e", "ace"}, {"", ""}, {"<smile>Ahoj!", "Ahoj!"},
        {"<a><b>", ""}, {"x<<y>z", "xz"}, {"bez > znaciek", "bez > znaciek"},
        {"koniec <otvorene", "koniec "}, {"<", ""}, {">", ">"}, {"a>b<c>d>", "a>bd>"},
        {"<>", ""}, {"a<>b", "ab"}, {"<a<b>c>", "c>"}, {"ok <smile> <", "ok  "},
    };
    for (const Case& c : cases) EXPECT_EQ(StripTags(c.in), c.out) << c.in;
}

TEST(Tags, StripTagsKeepsEveryByteOutsideTags) {
    std::string all;
    for (int c = 0; c < 256; ++c)
        if (c != '<') all += static_cast<char>(c);
    EXPECT_EQ(StripTags(all), all);
    EXPECT_EQ(StripTags(std::string("a\0<b>\0", 6)), std::string("a\0\0", 3));
}

}  // namespace
}  // namespace tamzel::base
