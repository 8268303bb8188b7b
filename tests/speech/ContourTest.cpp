#include <gtest/gtest.h>

#include "SpeechTestSupport.h"
#include "speech/text/Contour.h"

namespace tamzel::speech {
namespace {


struct ContourCase {
    const char* name;
    const char* text;  // UTF-8
    std::vector<int> expected;
};

// Expected values worked out by hand from the phrase rules (start, fill and end values of
// the closing mark; first word falling fast then flattening, last word the other way).
TEST(Contour, FollowsThePhraseShapes) {
    const ContourCase cases[] = {
        {"one word, falling to the end value", "~á-no~.~", {127, 64, 64, 22, 1, 127, 127, 0}},
        {"question rises; 191.5 rounds to the even 192", "~ano~?~", {127, 192, 234, 255, 127, 127, 0}},
        // Last word: 117.42, 96.25, 64.5 (half to even: 64), 22.17. Pauses and mark keep 0.
        {"two words: nothing filled", "~ahoj~jano~.~", {0, 128, 128, 128, 128, 0, 117, 96, 64, 22, 0, 0, 0}},
        {"three words: pauses and mark filled", "~ja~sa~mám~.~",
         {127, 128, 128, 127, 127, 127, 127, 107, 64, 1, 127, 127, 0}},
        // Even sound count: the first word overshoots to -20.2, held at 0 and not refilled.
        {"overshoot below 0 is held at 0", "~ahoj~.~", {127, 75, 33, 1, 0, 127, 127, 0}},
        {"overshoot above 255 is held at 255", "~ahoj~?~", {127, 181, 223, 255, 255, 127, 127, 0}},
        {"exclamation falls from 255 to 20", "~ano~!~", {127, 138, 59, 20, 127, 127, 0}},
        {"marks in a row close one phrase; the last decides", "~ano~?!~",
         {127, 138, 59, 20, 127, 127, 127, 0}},
        {"no mark: all zero", "~ahoj~jano~", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"a lone mark after a pause gets the fill value", "~a~.~.~", {127, 1, 127, 127, 127, 127, 0}},
        {"a phrase of pauses only is filled", "~~~,~", {127, 127, 127, 127, 0}},
        {"text ending in its mark", "~ano~.", {127, 64, 22, 1, 127, 127}},
        {"a mark alone", ".", {127}},
        {"empty text", "", {}},
    };
    for (const auto& c : cases) {
        Contour got = ComputeContour(base::Cp1250(c.text));
        std::vector<int> values(got.begin(), got.end());
        EXPECT_EQ(values, c.expected) << c.name;
    }
}

}  // namespace
}  // namespace tamzel::speech
