// The engine as the rest of the program holds it: kinds of turn, what a turn reports,
// failures as results, profile values and seeds, through the public interface only.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "ScriptFixtures.h"
#include "engine/Engine.h"

namespace tamzel::engine::testing {
namespace {

struct Stopped : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A brain that tells the kinds of turn apart and closes the program on "zbohom".
const std::vector<std::string> kKindsBrain = {
    "IF(2)", "#UVODNA", "->", "-Vitaj!", "<-",
    "IF(3)", "#NUD", "->", "-Nudím sa. <#POCET_NUD>", "<-",
    "IF(4)", "#ODCHADZA", "->", "-Už ideš?", "<-",
    "IF(5)", "?( zbohom )", "->", "CLOSE", "-Zbohom.", "<-",
    "IF(6)", "?( ahoj )", "->", "MOOD(+3)", "-<smile>Ahoj!", "<-",
    "UNKNOWN", "-Nerozumiem.", "-Nechápem.", "-Čo myslíš?"};

class EngineApi : public ::testing::Test {
protected:
    void SetUp() override {
        clock->Set(2026, 12, 8, 10, 30);
        e.SetClock(clock);
        e.SetSeed(5);
        e.SetProfile({"Jan", "Jano", true, 0});
        e.hooks().onFatalStop = [](const std::string& reason) { throw Stopped(reason); };
        std::vector<std::string> lines;
        for (const std::string& l : kKindsBrain) lines.push_back(base::Cp1250(l.c_str()));
        WriteBrain(lines);
    }

    TurnResult Turn(const std::string& utf8, TurnKind kind = TurnKind::Typed) {
        base::Result<TurnResult> turn = e.AnswerSentence(base::Cp1250(utf8.c_str()), kind);
        EXPECT_TRUE(turn) << turn.message();
        return turn ? *turn : TurnResult{};
    }

    ProgramFolder folder;
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>();
    Engine e;
};

TEST_F(EngineApi, EachKindOfTurnReachesItsOwnRuleAndTheMarksDoNotLinger) {
    ASSERT_TRUE(e.InitEngine());
    base::Result<TurnResult> opening = e.OpeningLine();
    ASSERT_TRUE(opening) << opening.message();
    EXPECT_EQ(opening->reply, "Vitaj!");
    struct Case {
        const char* input;
        TurnKind kind;
        std::string reply;
        bool understood;
        int idleCount;
    };
    const Case cases[] = {
        {"", TurnKind::Idle, base::Cp1250("Nudím sa. 1"), true, 1},
        {"", TurnKind::Idle, base::Cp1250("Nudím sa. 2"), true, 2},
        {"", TurnKind::Hover, base::Cp1250("Už ideš?"), true, 0},
        // A typed turn after the window's own turns is typed again: no idle rule.
        {"ahoj", TurnKind::Typed, "<smile>Ahoj!", true, 0},
        {"", TurnKind::Typed, "", false, 0},
        {"xyz", TurnKind::Typed, "", false, 0},
    };
    for (const Case& c : cases) {
        TurnResult turn = Turn(c.input, c.kind);
        if (!c.reply.empty()) {
            EXPECT_EQ(turn.reply, c.reply) << c.input;
        }
        EXPECT_EQ(turn.understood, c.understood) << c.input << " / " << base::ToUtf8(turn.reply);
        EXPECT_EQ(turn.idleCount, c.idleCount) << c.input;
        EXPECT_FALSE(turn.quitRequested);
    }
}

TEST_F(EngineApi, ATurnReportsMoodRepeatsHeardTextAndTheQuitRequest) {
    ASSERT_TRUE(e.InitEngine());
    TurnResult first = Turn("Ahoj");
    EXPECT_EQ(first.mood, 3);
    EXPECT_EQ(e.Profile().mood, 3) << "the profile holds the mood the turn reports";
    // As later turns compare them: lower case, blanks round, marks spaced, tags gone.
    EXPECT_EQ(first.heardInput, " ahoj . ");
    EXPECT_EQ(first.heardReply, " ahoj ! ");
    EXPECT_EQ(first.repeatCount, 1);
    EXPECT_EQ(Turn("ahoj").repeatCount, 2) << "the same input folded";
    TurnResult bye = Turn("Zbohom");
    EXPECT_TRUE(bye.quitRequested);
    EXPECT_EQ(bye.reply, "Zbohom.");
}

TEST_F(EngineApi, AMissingOrVanishedBrainIsAMessageAndTheConversationGoesOn) {
    std::filesystem::rename("ai/brainfile.ai", "ai/ulozeny.ai");
    base::Status loaded = e.InitEngine();
    ASSERT_FALSE(loaded);
    EXPECT_NE(loaded.message().find("ai/brainfile.ai"), std::string::npos) << loaded.message();

    std::filesystem::rename("ai/ulozeny.ai", "ai/brainfile.ai");
    ASSERT_TRUE(e.InitEngine());
    std::filesystem::rename("ai/brainfile.ai", "ai/ulozeny.ai");
    base::Result<TurnResult> lost = e.AnswerSentence("", TurnKind::Idle);
    ASSERT_FALSE(lost);
    EXPECT_NE(lost.message().find("ai/brainfile.ai"), std::string::npos) << lost.message();

    // The failed idle turn left no idle mark behind: the next typed turn is a typed one.
    std::filesystem::rename("ai/ulozeny.ai", "ai/brainfile.ai");
    TurnResult after = Turn("ahoj");
    EXPECT_EQ(after.reply, "<smile>Ahoj!");
    EXPECT_EQ(after.idleCount, 0);
}

// A fixed seed is what makes console runs with --seed repeatable: two engines seeded alike
// draw the same alternatives, also across a new start, which must not reseed from the clock.
TEST_F(EngineApi, EnginesWithTheSameSeedHoldTheSameConversation) {
    auto play = [](Engine& engine) {
        std::vector<std::string> replies;
        for (int start = 0; start < 2; ++start) {
            EXPECT_TRUE(engine.InitEngine());
            for (const char* s : {"a", "b", "c", "d", "e", "f"}) {
                auto turn = engine.AnswerSentence(s);
                replies.push_back(turn ? turn->reply : turn.message());
            }
        }
        return replies;
    };
    Engine twin;
    twin.SetClock(clock);
    twin.SetSeed(5);
    std::vector<std::string> first = play(e);
    EXPECT_EQ(play(twin), first);
    std::set<std::string> distinct(first.begin(), first.end());
    EXPECT_GT(distinct.size(), 1u) << "the fallback alternatives are drawn, not fixed";
}

TEST_F(EngineApi, ProfileValuesGoInAndComeOutWhole) {
    const base::ProfileValues values{base::Cp1250("Mária"), base::Cp1250("Majka"), false, -7};
    e.SetProfile(values);
    EXPECT_EQ(e.Profile(), values);
    ASSERT_TRUE(e.InitEngine());
    e.FinalizeEngine();
    EXPECT_EQ(e.Profile(), values) << "finalising keeps the profile for the sign-out";
}

TEST_F(EngineApi, HooksSetThroughTheInterfaceAreTheOnesTheRulesCall) {
    WriteBrain({"RUN(help/index.htm)", "-x"});
    std::vector<std::string> opened;
    e.hooks().onRunProgram = [&](const std::string& path) { opened.push_back(path); };
    ASSERT_TRUE(e.InitEngine());
    Turn("hocico");
    EXPECT_EQ(opened, std::vector<std::string>{"help/index.htm"});
}

}  // namespace
}  // namespace tamzel::engine::testing
