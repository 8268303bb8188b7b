#include "ui/TurnPresenter.h"

#include <gtest/gtest.h>

#include "ui/Text.h"

namespace tamzel::ui {
namespace {

const char* const kReply = "<smile>Ahoj <b>ty!";

engine::TurnResult Turn(bool understood) {
    engine::TurnResult turn;
    turn.reply = kReply;
    turn.understood = understood;
    return turn;
}

// What each origin does with the files when "Záznamy" is on; the switches and the brain's
// understanding then take parts away.
struct OriginCase {
    const char* name;
    TurnOrigin origin;
    std::string input;
    Lines shown;                    // the view, with the character's prefix
    Lines recorded;                 // zaznamy.txt with records on
    bool reportsMisunderstanding;   // report.txt gets the turn when not understood
    std::optional<std::string> selfTalkAnswer;  // written back whatever the switches
    bool endsTypedLine;
};

std::vector<OriginCase> Origins() {
    const std::string reply = base::Cp1250("» Ahoj ty!");
    const std::string typed = base::Cp1250("Ako sa máš?");
    return {
        {"opening", TurnOrigin::Opening, "", {reply}, {reply}, false, std::nullopt, false},
        {"typed", TurnOrigin::Typed, typed, {typed, reply}, {typed, reply}, true, std::nullopt,
         true},
        {"idle", TurnOrigin::Idle, "", {reply}, {base::Cp1250("[Užívateľ nečinný]"), reply}, false,
         std::nullopt, false},
        {"hover", TurnOrigin::Hover, "", {reply},
         {base::Cp1250("[Užívateľ ide zjavne Tamzela vypnúť]"), reply}, false, std::nullopt, false},
        {"self-talk", TurnOrigin::SelfTalk, "ahoj", {"ahoj", reply}, {}, true,
         std::string("BAhoj ty!\r\n"), true},
    };
}

Lines Texts(const std::vector<ShownLine>& shown) {
    Lines texts;
    for (const ShownLine& line : shown) texts.push_back(line.text);
    return texts;
}

TEST(TurnPresenterTest, EveryOriginTimesSwitchesTimesUnderstanding) {
    for (const OriginCase& c : Origins()) {
        for (bool records : {false, true}) {
            for (bool speech : {false, true}) {
                for (bool understood : {false, true}) {
                    SCOPED_TRACE(std::string(c.name) + (records ? " records" : "") +
                                 (speech ? " speech" : "") + (understood ? " understood" : ""));
                    TurnPresentation p =
                        PresentTurn(c.origin, c.input, Turn(understood), {records, speech}, "B");
                    EXPECT_EQ(Texts(p.shown), c.shown);
                    EXPECT_EQ(p.record, records ? c.recorded : Lines{});
                    const bool reported = records && !understood && c.reportsMisunderstanding;
                    const Lines report{"", "-" + c.input, ">>>Ahoj ty!"};
                    EXPECT_EQ(p.report, reported ? report : Lines{});
                    EXPECT_EQ(p.speech, speech ? std::optional<std::string>(kReply) : std::nullopt);
                    EXPECT_EQ(p.selfTalkAnswer, c.selfTalkAnswer);
                    EXPECT_EQ(p.endsTypedLine, c.endsTypedLine);
                }
            }
        }
    }
}

// The view sets the user's line in normal type and the character's in bold.
TEST(TurnPresenterTest, OnlyTheReplyIsTheCharactersLine) {
    for (const OriginCase& c : Origins()) {
        SCOPED_TRACE(c.name);
        TurnPresentation p = PresentTurn(c.origin, c.input, Turn(true), {true, true});
        ASSERT_FALSE(p.shown.empty());
        EXPECT_TRUE(p.shown.back().character);
        for (size_t i = 0; i + 1 < p.shown.size(); ++i) EXPECT_FALSE(p.shown[i].character);
    }
}

// Tags go from every line a person reads, the voice gets them; an unclosed tag takes the rest.
TEST(TurnPresenterTest, TagsReachOnlyTheVoice) {
    engine::TurnResult turn;
    turn.reply = "<sad>Neviem <smile";
    turn.understood = false;
    TurnPresentation p = PresentTurn(TurnOrigin::SelfTalk, "co", turn, {true, true}, "A");
    EXPECT_EQ(Texts(p.shown), (Lines{"co", base::Cp1250("» Neviem ")}));
    EXPECT_EQ(p.report, (Lines{"", "-co", ">>>Neviem "}));
    EXPECT_EQ(p.speech, std::optional<std::string>("<sad>Neviem <smile"));
    EXPECT_EQ(p.selfTalkAnswer, std::optional<std::string>("ANeviem \r\n"));
}

TEST(TurnPresenterTest, TheWindowsOwnTurnsAskForTheirKind) {
    const struct {
        TurnOrigin origin;
        engine::TurnKind kind;
    } cases[] = {{TurnOrigin::Typed, engine::TurnKind::Typed},
                 {TurnOrigin::SelfTalk, engine::TurnKind::Typed},
                 {TurnOrigin::Idle, engine::TurnKind::Idle},
                 {TurnOrigin::Hover, engine::TurnKind::Hover}};
    for (const auto& c : cases) EXPECT_EQ(KindOf(c.origin), c.kind);
}

}  // namespace
}  // namespace tamzel::ui
