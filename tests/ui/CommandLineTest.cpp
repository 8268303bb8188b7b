#include "ui/CommandLine.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace tamzel::ui {
namespace {

using Args = std::vector<std::string>;

struct ParseCase {
    const char* what;
    Args args;
    std::map<std::string, std::string> options;
    std::set<std::string> flags;
    std::vector<std::string> words;
};

TEST(CommandLine, SortsArgumentsIntoOptionsFlagsAndWords) {
    const std::vector<ParseCase> cases = {
        {"nothing", {}, {}, {}, {}},
        {"a folder", {"--home", "/opt/t"}, {{"--home", "/opt/t"}}, {}, {}},
        {"console chat",
         {"--console", "--user", "Mária", "--female", "--seed", "7"},
         {{"--user", "Mária"}, {"--seed", "7"}},
         {"--console", "--female"},
         {}},
        {"the build word", {"build"}, {}, {}, {"build"}},
        {"words keep their order", {"b", "--verbose", "a"}, {}, {"--verbose"}, {"b", "a"}},
        {"a value that looks like a word", {"--speak", "build"}, {{"--speak", "build"}}, {}, {}},
        {"a negative number is a value", {"--seed", "-3"}, {{"--seed", "-3"}}, {}, {}},
        {"an empty value", {"--user", ""}, {{"--user", ""}}, {}, {}},
        {"a text with blanks", {"--speak", "Ahoj, ako sa máš?"},
         {{"--speak", "Ahoj, ako sa máš?"}}, {}, {}},
        {"the last of a repeated option wins", {"--user", "A", "--user", "B"},
         {{"--user", "B"}}, {}, {}},
        {"a single dash is a word (Qt's own options)", {"-platform", "offscreen"}, {}, {},
         {"-platform", "offscreen"}},
        {"every speech option",
         {"--speak", "x", "--wav", "a.wav", "--frames", "f.txt", "--volume", "100", "--speed",
          "80", "--intonation", "9", "--units", "y"},
         {{"--speak", "x"},
          {"--wav", "a.wav"},
          {"--frames", "f.txt"},
          {"--volume", "100"},
          {"--speed", "80"},
          {"--intonation", "9"},
          {"--units", "y"}},
         {},
         {}},
    };
    for (const auto& c : cases) {
        CommandLine cl = ParseCommandLine(c.args);
        EXPECT_EQ(cl.error, "") << c.what;
        EXPECT_EQ(cl.options, c.options) << c.what;
        EXPECT_EQ(cl.flags, c.flags) << c.what;
        EXPECT_EQ(cl.words, c.words) << c.what;
    }
}

// A value option without its value must stop the program with a message naming the option,
// not take the next option as its value (`--user --console` would sign in "--console").
TEST(CommandLine, AValueOptionWithoutItsValueIsAnError) {
    const std::vector<std::pair<Args, std::string>> cases = {
        {{"--home"}, "--home"},
        {{"--console", "--user"}, "--user"},
        {{"--speak", "ahoj", "--wav"}, "--wav"},
        {{"--user", "--console"}, "--user"},
        {{"--home", "--user", "Peter"}, "--home"},
        {{"--seed", "--verbose"}, "--seed"},
    };
    for (const auto& [args, option] : cases) {
        CommandLine cl = ParseCommandLine(args);
        EXPECT_EQ(cl.error, "Voľba " + option + " potrebuje hodnotu.") << args.size();
        EXPECT_FALSE(cl.Get(option).has_value()) << option;
    }
}

TEST(CommandLine, GetAndHasTellPresentFromAbsent) {
    CommandLine cl = ParseCommandLine({"--verbose", "--user", "Ján"});
    EXPECT_TRUE(cl.Has("--verbose"));
    EXPECT_FALSE(cl.Has("--console"));
    EXPECT_FALSE(cl.Has("--user"));  // an option is no flag
    EXPECT_EQ(cl.Get("--user"), "Ján");
    EXPECT_EQ(cl.Get("--home"), std::nullopt);
    EXPECT_EQ(cl.Get("--verbose"), std::nullopt);  // a flag has no value
}

struct IntCase {
    const char* value;  // nullptr: the option is absent
    std::optional<long> expected;
};

TEST(CommandLine, IntegerOptionsAcceptOnlyWholeNumbersInRange) {
    const long kFallback = 42;
    const std::vector<IntCase> cases = {
        {nullptr, kFallback},
        {"0", 0},
        {"800", 800},
        {"-5", -5},
        {"+7", 7},
        {"007", 7},
        {"9223372036854775807", LONG_MAX},
        {"-9223372036854775808", LONG_MIN},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"12abc", std::nullopt},
        {"12 ", std::nullopt},
        {"1.5", std::nullopt},
        {"0x10", std::nullopt},
        {"-", std::nullopt},
        // Beyond long: clamping would turn a typo into the largest possible level or seed.
        {"9223372036854775808", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"-99999999999999999999999", std::nullopt},
    };
    for (const auto& c : cases) {
        Args args;
        if (c.value) args = {"--volume", c.value};
        CommandLine cl = ParseCommandLine(args);
        ASSERT_EQ(cl.error, "");
        EXPECT_EQ(cl.GetInt("--volume", kFallback), c.expected) << (c.value ? c.value : "(absent)");
    }
}

// A failed conversion elsewhere must not make a good number look out of range.
TEST(CommandLine, AnEarlierRangeErrorDoesNotSpoilTheNextNumber) {
    CommandLine cl = ParseCommandLine({"--seed", "99999999999999999999", "--speed", "80"});
    EXPECT_EQ(cl.GetInt("--seed", 0), std::nullopt);
    EXPECT_EQ(cl.GetInt("--speed", 0), 80);
}

TEST(CommandLine, UsageNamesEveryModeAndValueOption) {
    std::string usage = UsageText();
    for (const char* part : {"--home", "--user", "--console", "--female", "--seed", "--verbose",
                             "--units", "--speak", "--wav", "--frames", "--volume", "--speed",
                             "--intonation", "build"}) {
        EXPECT_NE(usage.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(usage.back(), '\n');
    // Every value option the parser knows is one the usage shows with its value.
    for (const char* option : {"--home", "--user", "--seed", "--units", "--speak", "--wav",
                               "--volume", "--speed", "--intonation", "--frames"}) {
        EXPECT_EQ(ParseCommandLine({option}).error, std::string("Voľba ") + option +
                                                        " potrebuje hodnotu.");
    }
}

}  // namespace
}  // namespace tamzel::ui
