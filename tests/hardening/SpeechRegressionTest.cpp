// Speech preparation faults found by fuzzing. A name whose pronunciation was long and full
// of letter groups ("ô" and the like) made the letter-group and voicing-exception passes take
// seconds; the passes now keep track of where each group occurs. These tests hold the result
// to that of the plain passes (searching the whole text every time) and bound the time.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "HardeningSupport.h"
#include "speech/text/SpeechText.h"

namespace tamzel::hardening {
namespace {

using speech::PrepareSpeechText;
using speech::SpeechRequest;

// The letter-group rules as the voice defines them (Windows-1250).
const std::vector<std::pair<std::string, std::string>> kRules = {
    {"\xF4", "uo"}, {"dz", "("}, {"d\x9E", ")"}, {"ch", "_"}, {"ts", "c"}, {"ds", "c"},
    {"ov ", "ou "}, {"q", "kv"}, {"x", "ks"}, {"\xBE", "l"}, {"\xE4", "e"}, {"ia", "1"},
    {"ie", "2"}, {"io", "3"}, {"iu", "4"}, {"<smile>", "5555555555"},
    {"<sad>", "6666666666"}, {"<nuda>", "7777777777"}, {"<zmurk>", "8888888888"},
    {"<mad1>", "9999999999"}, {"<mad2>", "0000000000"}, {"<yes>", "[@]@[@]@"},
    {"<no>", "{@}@{@}@"}};

bool ReplaceFirst(std::string& t, const std::string& p, const std::string& by) {
    size_t at = t.find(p);
    if (at == std::string::npos) return false;
    t.replace(at, p.size(), by);
    return true;
}

// The passes searched afresh: one first occurrence per rule per pass until a pass is idle.
std::string PlainPasses(std::string t, const std::string& namePattern, const std::string& spoken) {
    int firings = 0;
    for (bool changed = true; changed;) {
        changed = false;
        if (namePattern != "  " && firings < speech::kMaxNameReplacements &&
            ReplaceFirst(t, namePattern, spoken)) {
            ++firings;
            changed = true;
        }
        for (const auto& [p, by] : kRules) changed |= ReplaceFirst(t, p, by);
    }
    return t;
}

// The texts before and after the letter-group step of one preparation.
std::pair<std::string, std::string> AroundLetterGroups(SpeechRequest request) {
    std::string before, after;
    request.onStep = [&](std::string_view step, const std::string& text) {
        if (step == "name") before = text;
        if (step == "letter groups") after = text;
    };
    EXPECT_TRUE(PrepareSpeechText(request).ok());
    return {before, after};
}

class SpeechRegression : public ::testing::Test {
protected:
    void SetUp() override {
        const char* home = std::getenv("TAMZEL_HOME");
        dictionary = home ? std::string(home) + "/files/slovnik.vox" : "";
        if (dictionary.empty() || !fs::exists(dictionary)) GTEST_SKIP() << "no built dictionary";
    }
    SpeechRequest Request(std::string text, std::string name, std::string pronunciation) {
        SpeechRequest r;
        r.text = std::move(text);
        r.userName = std::move(name);
        r.userNamePronunciation = std::move(pronunciation);
        r.dictionaryPath = dictionary;
        return r;
    }
    std::string dictionary;
};

TEST_F(SpeechRegression, LetterGroupsMatchThePlainPassesOnRandomTexts) {
    // Pieces that make the rules meet, overlap and feed each other.
    const std::vector<std::string> pieces = {
        "\xF4", "d", "z", "\x9E", "c", "h", "t", "s", "ov ", "q", "x", "\xBE", "\xE4", "i", "a",
        "e", "o", "u", " ", "<smile>", "<sad>", "<no>", "<yes>", "<", ">", "jano", " jano ", "m"};
    std::mt19937 random(9);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        int length = 1 + static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i) text += pieces[random() % pieces.size()];
        const bool named = round % 2 == 0;
        auto [before, after] = AroundLetterGroups(Request(text, named ? "Jano" : "", "J\xE1nko ov"));
        std::string expected = PlainPasses(before, named ? " jano " : "  ", "j\xE1nko ov");
        ASSERT_EQ(after, expected) << "text: " << text;
    }
}

TEST_F(SpeechRegression, LongPronunciationFullOfLetterGroupsIsPreparedQuickly) {
    // Letter groups and voicing exceptions ("sme"), many of each once the name is replaced.
    std::string pronunciation;
    for (int i = 0; i < 35; ++i) pronunciation += "\xF4\xF4\xF4\xF4\xF4 sme ";
    std::string text = "Ahoj";
    for (int i = 0; i < 60; ++i) text += " Jo";  // each becomes the pronunciation
    text += ".";
    auto start = std::chrono::steady_clock::now();
    auto [before, after] = AroundLetterGroups(Request(text, "Jo", pronunciation));
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(after.find('\xF4'), std::string::npos);
    EXPECT_GT(after.size(), before.size());
    // About 18,000 groups: the plain passes took minutes here.
    EXPECT_LT(seconds, 2.0);
}

}  // namespace
}  // namespace tamzel::hardening
