// Whole turns over small brains: blocks and skips, answer groups, commands, the turn's
// narrowing to the last sentence, counters and the fatal stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <fstream>
#include <functional>
#include <set>
#include <thread>

#include "ScriptFixtures.h"
#include "engine/InputLimit.h"

namespace tamzel::engine::testing {
namespace {

struct Stopped : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class PassTest : public ::testing::Test {
protected:
    void SetUp() override {
        random = std::make_shared<QueuedRandom>();
        clock = std::make_shared<FixedClock>();
        clock->Set(2026, 12, 8, 10, 30);
        e.SetRandom(random);
        e.SetClock(clock);
        e.keepSeed = true;
        e.UserName = "Jan";
        e.hooks.onFatalStop = [](const std::string& reason) { throw Stopped(reason); };
        e.hooks.onReportError = [this](const std::string& m) { reports.push_back(m); };
        e.hooks.onRunProgram = [this](const std::string& p) { opened.push_back(p); };
    }

    void Load(const std::vector<std::string>& utf8Lines) {
        std::vector<std::string> lines;
        for (const std::string& l : utf8Lines) lines.push_back(base::Cp1250(l.c_str()));
        WriteBrain(lines);
        e.InitEngine();
    }

    std::string Say(const std::string& utf8) { return base::ToUtf8(e.AnswerSentence(base::Cp1250(utf8.c_str()))); }

    ProgramFolder folder;
    EngineCore e;
    std::shared_ptr<QueuedRandom> random;
    std::shared_ptr<FixedClock> clock;
    std::vector<std::string> reports;
    std::vector<std::string> opened;
};

TEST_F(PassTest, FallbackAfterTheNotUnderstoodMarker) {
    Load({"UNKNOWN", "-prvá", "-druhá"});
    random->next = {1};
    EXPECT_EQ(Say("hocičo"), "Druhá");
    EXPECT_FALSE(e.InputUnderstood);
    EXPECT_FALSE(e.Keywords.plain());
}

TEST_F(PassTest, BlocksAndSkips) {
    struct Case {
        const char* name;
        std::vector<std::string> brain;
        std::string reply;
        int mood;
    };
    const std::vector<Case> cases = {
        {"false block, nested block skipped whole",
         {"IF(2)", "#ZENA_", "->", "MOOD(+5)", "IF(3)", "->", "MOOD(+7)", "<-", "-vnutri", "<-",
          "UNKNOWN", "-vonku"},
         "Vonku", 0},
        {"true block ends the pass at ELSE",
         {"IF(2)", "#MUZ", "->", "-ano", "ELSE", "-nie", "MOOD(+5)", "<-", "MOOD(+1)", "-potom"},
         "Ano", 0},
        {"false block runs the else-branch",
         {"IF(2)", "#ZENA_", "->", "-ano", "ELSE", "MOOD(+2)", "-nie", "<-", "-potom"}, "Nie", 2},
        {"else-skip over a nested block, then the record after the block",
         {"IF(2)", "#MUZ", "->", "MOOD(+1)", "ELSE", "IF(3)", "->", "MOOD(+10)", "<-", "MOOD(+100)",
          "<-", "MOOD(+1000)", "-koniec"},
         "Koniec", 1001},
        {"then-skip ignores a nested ELSE",
         {"IF(2)", "#ZENA_", "->", "IF(3)", "->", "-a", "ELSE", "-b", "<-", "-c", "ELSE", "MOOD(+2)",
          "<-", "-d"},
         "D", 2},
        {"an empty answer does not end the block",
         {"IF(2)", "->", "-", "<-", "-dalej"}, "Dalej", 0},
        {"continue mark joins two blocks' answers",
         {"IF(2)", "->", "-Ahoj.[++]", "<-", "IF(3)", "->", "-ako sa mas?", "<-", "-nikdy"},
         "Ahoj. Ako sa mas?", 0},
        {"keep-going off stops after the next block",
         {"IF(2)", "->", "-A[++]", "<-", "DONE", "IF(3)", "->", "MOOD(+1)", "<-", "-nikdy"}, "A", 1},
        {"block head without a number or bracket still works",
         {"IF", "->", "-bez cisla", "<-"}, "Bez cisla", 0},
        {"a block that never closes",
         {"IF(2)", "#ZENA_", "->", "-a", "-b"}, "", 0},
        {"a block without ->",
         {"IF(2)", "-a", "<-", "-b"}, "", 0},
    };
    for (const Case& c : cases) {
        e.Mood = 0;
        Load(c.brain);
        EXPECT_EQ(Say("ahoj"), c.reply) << c.name;
        EXPECT_EQ(e.Mood, c.mood) << c.name;
    }
}

TEST_F(PassTest, MoodCommand) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"MOOD(+5)", 5}, {"MOOD(-5)", -5}, {"MOOD(5)", 0}, {"MOOD()", 0}, {"MOOD(+x)", 0},
        {"MOOD(+", 0},  // bracket without its pair: code 0, no change
        {"MOOD(+2147483647)", 2147483647},
    };
    for (const auto& [line, mood] : cases) {
        e.Mood = 0;
        Load({line, "-x"});
        Say("ahoj");
        EXPECT_EQ(e.Mood, mood) << line;
    }
    e.Mood = 10;
    Load({"MOOD(+2147483647)", "-x"});
    Say("ahoj");
    EXPECT_EQ(e.Mood, INT32_MAX);  // clamped, never undefined overflow
}

TEST_F(PassTest, AssignCommandOperators) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"12", "12"},       {"12[+]30", "42"},  {"12[+]abc", "12abc"}, {"7[/]2", "3"},
        {"-7[/]2", "-3"},   {"6[*]7", "42"},    {"5[-]8", "-3"},       {"7[/]0", "9"},
        {"[+]5", "5"},      {"1[+]2[*]3", "12[*]3"}, {"2147483647[+]1", "-2147483648"},
        {"-2147483648[/]-1", "-2147483648"},
    };
    for (const auto& [expr, value] : cases) {
        e.Variables[1].value.clear();
        Load({"VAR(x)", "SET(x,9)", "SET(x," + expr + ")", "-x"});
        Say("ahoj");
        EXPECT_EQ(e.Variables[1].value, value) << expr;
        EXPECT_EQ(e.Variables[1].name, "x");
    }
}

TEST_F(PassTest, VariablesDeclareReleaseAndFirstMatch) {
    Load({"VAR(x)", "VAR(x)", "SET(x,1)", "SET(y,5)", "RELEASE(x)", "SET(x,2)", "-x"});
    Say("ahoj");
    EXPECT_TRUE(e.Variables[1].free);
    EXPECT_EQ(e.Variables[1].value, "1");
    EXPECT_FALSE(e.Variables[2].free);
    EXPECT_EQ(e.Variables[2].value, "2");
    EXPECT_TRUE(e.Variables[3].free);
    std::vector<std::string> brain;
    for (int i = 0; i < 60; ++i) brain.push_back("VAR(v" + std::to_string(i) + ")");
    brain.push_back("-x");
    Load(brain);  // InitEngine frees every variable again
    Say("ahoj");
    EXPECT_EQ(e.Variables[50].name, "v49");
    EXPECT_FALSE(e.Variables[50].free);
}

TEST_F(PassTest, SentenceRewriting) {
    struct Case {
        std::string command, input, result;
    };
    const std::vector<Case> cases = {
        {"REPLACE(si, som )", "ja som doma", " ja si doma . "},
        {"REPLACE(nemám, mám )", "Ja mám psa", " ja nemám psa . "},
        {"INSERT(veľmi, mám )", "Ja mám psa", " ja mám veľmi psa . "},
        {"REPLACE(x, pes )", "Ja mám psa", " ja mám psa . "},
        {"INSERT(x, pes )", "Ja mám psa", " ja mám psa . "},
        {"INSERT(x,)", "Ja mám psa", " ja mám psa . "},
        {"REPLACE(", "Ja mám psa", " ja mám psa . "},
    };
    for (const Case& c : cases) {
        Load({c.command, "-x"});
        Say(c.input);
        EXPECT_EQ(base::ToUtf8(e.CurrentInput), c.result) << c.command;
    }
}

TEST_F(PassTest, LastSentenceAndTheSecondPass) {
    Load({"IF(1)", "?( ahoj )", "->", "-Ahoj!", "<-", "UNKNOWN", "-Nerozumiem."});
    EXPECT_EQ(Say("Ahoj. Ako sa máš?"), "Ahoj!");
    EXPECT_TRUE(e.InputUnderstood);
    EXPECT_EQ(base::ToUtf8(e.LastInput), " ahoj . ako sa máš ? ");  // the second pass saw it all
    EXPECT_EQ(Say("Ako sa máš? Ahoj."), "Ahoj!");
    EXPECT_EQ(base::ToUtf8(e.LastInput), " ahoj . ");  // the first pass was enough
    EXPECT_EQ(Say("Dobrý deň. Ako sa máš?"), "Nerozumiem.");
    EXPECT_FALSE(e.InputUnderstood);
    EXPECT_EQ(base::ToUtf8(e.LastInput), " dobrý deň . ako sa máš ? ");
    EXPECT_EQ(Say("Ahoj!!"), "Ahoj!");  // " ! " fails, the whole " ahoj ! ! " answers
}

// Safety rules must see every sentence, though the first pass answers only the last one.
TEST_F(PassTest, WholeInputSelectorInBothPasses) {
    Load({"IF(2)", "?(WHOLE_USER,<SOMEOF( zomriet ; zabijem sa )>)", "->", "-Pomoc: 116 111.", "<-",
          "IF(3)", "?( ahoj )", "->", "-Ahoj!", "<-",
          "IF(4)", "?(WHOLE_USER, ahoj ; mas )", "->", "-Ahoj aj tebe.", "<-",
          "UNKNOWN", "-Nerozumiem."});
    const struct {
        const char* input;
        const char* reply;
    } cases[] = {
        {"Chcem zomrieť. Ahoj.", "Pomoc: 116 111."},
        {"Ahoj. Zabijem sa!", "Pomoc: 116 111."},
        {"Ahoj!", "Ahoj!"},
        {"Ako sa máš? Ahoj.", "Ahoj!"},
        {"Ahoj, ako sa máš. Čo robíš?", "Ahoj aj tebe."},  // first pass, whole input seen
        {"Dobrý deň.", "Nerozumiem."},
    };
    for (const auto& c : cases) EXPECT_EQ(Say(c.input), c.reply) << c.input;
    // The opening line has no input: the selector sees an empty sentence.
    e.OpeningLine();
    EXPECT_EQ(e.WholeInput, "");
}

TEST_F(PassTest, CapitalTagInAnswersOfATurn) {
    Load({"IF(2)", "?( sestra sa vola )", "->", "FORGET(user,sestra)",
          "MEM(user,sestra,<#ZVYSOK(THIS_USER,sestra sa vola )>)",
          "-Tvoja sestra <#VELKE(<#PAMAT(user,sestra,1)>)>? Pekné meno.", "<-",
          "IF(3)", "?( byvam v )", "->", "-V meste <#VELKE(SLOVA,<#ZVYSOK(THIS_USER,byvam v )>)>?", "<-"});
    std::filesystem::create_directories("users/_Jan");
    EXPECT_EQ(Say("Moja sestra sa volá ľubica."), "Tvoja sestra Ľubica? Pekné meno.");
    EXPECT_EQ(Say("bývam v banská bystrica"), "V meste Banská Bystrica?");
}

TEST_F(PassTest, RepeatAndIdleCounters) {
    Load({"UNKNOWN", "-x"});
    struct Step {
        const char* text;
        bool idle;
        int repeat, idleCount;
    };
    const std::vector<Step> steps = {
        {"Ahoj", false, 1, 0}, {"ahoj", false, 2, 0}, {"Áhoj", false, 3, 0},
        {"", true, 1, 1},      {"", true, 1, 2},      {"ahoj", false, 1, 0},
        {"ahoj", false, 2, 0},
    };
    for (const Step& s : steps) {
        e.IdleTurn = s.idle;
        Say(s.text);
        EXPECT_EQ(e.RepeatCount, s.repeat) << s.text;
        EXPECT_EQ(e.IdleCount, s.idleCount) << s.text;
    }
    e.IdleTurn = false;
    e.HoverTurn = true;
    Say("ahoj");
    EXPECT_EQ(e.RepeatCount, 1);
}

TEST_F(PassTest, OpeningLineLeavesNoHistoryAndFirstTurnEndsAfterOneAnswer) {
    Load({"IF(2)", "#UVODNA", "->", "-Vitaj, |!", "<-", "UNKNOWN", "-x", "-y"});
    EXPECT_EQ(base::ToUtf8(e.OpeningLine()), "Vitaj, Jan!");
    EXPECT_TRUE(e.AnswerHistory.empty());
    EXPECT_FALSE(e.OpeningTurn);
    EXPECT_FALSE(e.NoHistory);
    EXPECT_TRUE(e.FirstTurn);
    EXPECT_EQ(base::ToUtf8(e.LastAnswer), " vitaj , jan ! ");
    Say("ahoj");
    EXPECT_FALSE(e.FirstTurn);
    EXPECT_EQ(e.AnswerHistory.size(), 1u);
}

TEST_F(PassTest, ChooseAlternativeNeverRepeatsUntilTheGroupIsUsedUp) {
    e.AnswerHistory = {7, 40, 41};
    random->next = {0};
    EXPECT_EQ(e.ChooseAlternative(3, 40), 3);  // the only line not given yet
    e.AnswerHistory = {40, 7, 42, 41};      // all given, 41 last
    for (int k : {0, 1}) {
        std::vector<int32_t> history = {40, 7, 42, 41};
        e.AnswerHistory = history;
        random->next = {k};
        int i = e.ChooseAlternative(3, 40);
        EXPECT_NE(i, 2);
        EXPECT_EQ(e.AnswerHistory, (std::vector<int32_t>{7, 41}));
    }
    EXPECT_EQ(e.ChooseAlternative(1, 99), 1);
}

TEST_F(PassTest, AnswersOverManyTurnsFollowTheNoRepeatRule) {
    auto real = std::make_shared<base::Random>();
    e.SetRandom(real);
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        real->Seed(seed);
        Load({"UNKNOWN", "-a", "-b", "-c"});
        std::vector<std::string> replies;
        for (int turn = 0; turn < 12; ++turn) replies.push_back(Say("x"));
        std::set<std::string> firstThree(replies.begin(), replies.begin() + 3);
        EXPECT_EQ(firstThree.size(), 3u) << "seed " << seed;
        for (size_t t = 1; t < replies.size(); ++t) EXPECT_NE(replies[t], replies[t - 1]);
        // After the reset, three turns in a row use each line once again.
        std::set<std::string> next(replies.begin() + 2, replies.begin() + 5);
        EXPECT_EQ(next.size(), 3u) << "seed " << seed;
    }
}

TEST_F(PassTest, HistoryHoldsTheChosenLinesRecordNumbers) {
    // Records: 1 IF, 2 ->, 3 -a, 4 -b, 5 <-, 6 -y1, 7 -y2.
    Load({"IF(2)", "->", "-a[++]", "-b[++]", "<-", "-y1", "-y2"});
    random->next = {1};
    EXPECT_EQ(Say("x"), "By1");
    random->next = {0};
    EXPECT_EQ(Say("x"), "Ay2");
    std::vector<int32_t> history = e.AnswerHistory;
    std::sort(history.begin(), history.end());
    EXPECT_EQ(history, (std::vector<int32_t>{3, 4, 6, 7}));
}

TEST_F(PassTest, CommandsWithEffectsOutsideTheEngine) {
    Load({"RUN(help/index.htm)", "CLOSE", "SENTENCE(LAST_COMP)", "-x"});
    Say("ahoj");
    EXPECT_EQ(opened, (std::vector<std::string>{"help/index.htm"}));
    EXPECT_TRUE(e.QuitRequested);
    EXPECT_NE(std::find(reports.begin(), reports.end(), "Pozor, pouzity prikaz SENTENCE"), reports.end());
}

TEST_F(PassTest, FatalStops) {
    Load({"UNKNOWN", "HALT", "-x"});
    EXPECT_THROW(Say("ahoj"), Stopped);
    EXPECT_FALSE(e.Keywords.plain());

    Load({"IF(2)", "SENTENCE(LAST_COMP)", "->", "<-", "IF(1)", "->", "-x", "<-"});
    EXPECT_THROW(Say("ahoj"), Stopped);
    EXPECT_NE(std::find(reports.begin(), reports.end(), "Pozor, sentence je ina ako USER"), reports.end());

    Load({"UNKNOWN", "-x"});
    std::string file = ReadFile("ai/brainfile.ai");
    file[50] = static_cast<char>(file[50] + 1);  // a stored sum that no longer matches
    ASSERT_TRUE(base::WriteFileAtomically("ai/brainfile.ai", file).ok());
    EXPECT_THROW(Say("ahoj"), Stopped);

    file[45] = 'X';  // check bytes of another release
    ASSERT_TRUE(base::WriteFileAtomically("ai/brainfile.ai", file).ok());
    EXPECT_THROW(e.InitEngine(), Stopped);
}

TEST_F(PassTest, BrainRemovedDuringTheConversationIsAnIoErrorOfTheTurn) {
    Load({"UNKNOWN", "-x"});
    std::filesystem::remove("ai/brainfile.ai");
    EXPECT_THROW(Say("ahoj"), IoError);
    EXPECT_FALSE(e.Keywords.plain());
    EngineCore fresh;
    EXPECT_THROW(fresh.InitEngine(), IoError);
}

TEST_F(PassTest, RandomBrainsAndHostileInputNeverCrashOrHang) {
    const std::vector<std::string> vocabulary = {
        "IF(1)", "IF(2)", "IF(", "IF(11)", "->", "<-", "ELSE", "UNKNOWN", "-a", "-b[++]", "-",
        "OR", "?( a )", "?(", "MOOD(+1)", "DONE", "#MUZ", "INSERT(x, a )", "REPLACE(y,a,b,c)",
        "VAR(v)", "SET(v,1[/]0)", "SET(v,v[+]v)", "RELEASE(v)", "", "   ", "<#C1>", "-<#C1>",
    };
    std::mt19937 gen(11);
    std::string hostile;
    for (int i = 0; i < 100 * 1024; ++i) hostile += static_cast<char>(gen());
    for (int round = 0; round < 150; ++round) {
        std::vector<std::string> brain;
        size_t n = gen() % 40;
        for (size_t i = 0; i < n; ++i) brain.push_back(vocabulary[gen() % vocabulary.size()]);
        Load(brain);
        for (const std::string& input : {std::string("a b a"), std::string(), hostile}) {
            auto start = std::chrono::steady_clock::now();
            EXPECT_NO_THROW(e.AnswerSentence(input));
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        }
    }
    // Bytes that are no brain at all: decoded as they come, then stopped by the sums.
    std::string junk = "Tamzel";
    for (int i = 0; i < 5000; ++i) junk += static_cast<char>(gen());
    junk.replace(45, 3, BrainCheckBytes());
    ASSERT_TRUE(base::WriteFileAtomically("ai/brainfile.ai", junk).ok());
    e.InitEngine();
    EXPECT_THROW(e.AnswerSentence("ahoj"), Stopped);
}

// The reason of a fatal stop is the last thing the user sees of the program: Slovak.
TEST_F(PassTest, FatalStopReasonsAreSlovak) {
    auto reasonOf = [](const std::function<void()>& run) {
        try {
            run();
        } catch (const Stopped& stop) {
            return base::ToUtf8(stop.what());
        }
        return std::string("<no stop>");
    };
    Load({"UNKNOWN", "HALT", "-x"});
    EXPECT_EQ(reasonOf([&] { Say("ahoj"); }), "Mozog ukončil program príkazom halt.");
    Load({"IF(2)", "SENTENCE(LAST_COMP)", "->", "<-", "IF(1)", "->", "-x", "<-"});
    EXPECT_NE(reasonOf([&] { Say("ahoj"); }).find("Blok 1 mozgu (záznam "), std::string::npos);
    Load({"UNKNOWN", "-x"});
    std::string file = ReadFile("ai/brainfile.ai");
    file[50] = static_cast<char>(file[50] + 1);
    ASSERT_TRUE(base::WriteFileAtomically("ai/brainfile.ai", file).ok());
    EXPECT_EQ(reasonOf([&] { Say("ahoj"); }),
              "Kontrolné súčty súboru mozgu \"ai/brainfile.ai\" nesúhlasia s jeho záznamami "
              "(poškodený súbor).");
    file[45] = 'X';
    ASSERT_TRUE(base::WriteFileAtomically("ai/brainfile.ai", file).ok());
    EXPECT_NE(reasonOf([&] { e.InitEngine(); }).find("nesedia kontrolné bajty"), std::string::npos);
}

// However long a line some input path lets through, the engine reads only its beginning.
TEST_F(PassTest, AnOverlongSentenceIsCutByTheEngine) {
    Load({"UNKNOWN", "-Rozumiem."});
    std::string huge(8 * 1024 * 1024, 'a');
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(base::ToUtf8(e.AnswerSentence(huge)), "Rozumiem.");
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 1.0);
    EXPECT_LE(e.LastInput.size(), kMaxInputLength + 8);  // with the blanks normalising adds
    EXPECT_NE(std::find(reports.begin(), reports.end(), "Vstup skrateny na 4096 znakov"), reports.end());
}

}  // namespace
}  // namespace tamzel::engine::testing
