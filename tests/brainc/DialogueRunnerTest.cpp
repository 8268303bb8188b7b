// The dialogue runner and the coverage report over a tiny brain compiled by the test: a
// passing script passes, a failing check is reported with its line and the reply it got,
// broken scripts are refused with the line at fault, and the report finds what no sentence
// of the corpus reached.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "base/Files.h"
#include "engine/Brain.h"
#include "tools/brainc/BrainCompiler.h"
#include "tools/brainc/Coverage.h"
#include "tools/brainc/DialogueRunner.h"

namespace tamzel::brainc {
namespace {

const char kTinyBrain[] = R"(IF(2)
#UVODNA
->
  -Ahoj, |!
<-
IF(1)
?( ahoj )
->
  -Ahoj!
  -Čau!
<-
IF(1)
?( volam sa )
->
  FORGET(user,meno)
  MEM(user,meno,<#ZVYSOK(THIS_USER,volam sa )>)
  -<smile>Teší ma, <#VELKE(<#PAMAT(user,meno,1)>)>.
<-
IF(1)
?( ako sa volam )
->
  -Voláš sa <#VELKE(<#PAMAT(user,meno,1)>)>.
<-
IF(1)
?( kto som )
->
  -Si <#ROD(chlapec,dievča)>.
<-
IF(1)
?( kolko je hodin )
->
  -Je <#HOD>:<#MINUT>.
<-
IF(1)
?( dovidenia )
->
  CLOSE
  -Dovidenia!
<-
IF(2)
#NUD
->
  -Nudím sa.
<-
IF(3)
!?( ticho )
->
  UNKNOWN
  -Nerozumiem.
<-
  -
)";

// A scratch folder with the tiny brain compiled into it; scripts are written beside it.
class Runner : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "tamzel-runner-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        CompileResult compiled = CompileBrain({{"tiny.brain", kTinyBrain}});
        ASSERT_TRUE(compiled.ok()) << FormatDiagnostic(compiled.diagnostics.at(0));
        origins_ = compiled.origins;
        brain_ = dir_ + "/tiny.ai";
        ASSERT_TRUE(base::WriteFileAtomically(brain_, engine::BuildBrainFile(compiled.records)).ok());
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    std::string Script(const std::string& name, const std::string& text) {
        std::string path = dir_ + "/" + name;
        std::ofstream(path) << text;
        return path;
    }

    Dialogue Only(const std::string& text) {
        DialogueScript script = ParseDialogues("d.txt", text);
        EXPECT_TRUE(script.problems.empty()) << script.problems.at(0).message;
        EXPECT_EQ(script.dialogues.size(), 1u);
        return script.dialogues.empty() ? Dialogue{} : script.dialogues[0];
    }

    // Exit code and standard output of the --test run.
    std::pair<int, std::string> RunTests(const std::vector<std::string>& files, int seeds = 3) {
        ::testing::internal::CaptureStdout();
        int code = RunDialogueTests(brain_, files, seeds);
        return {code, ::testing::internal::GetCapturedStdout()};
    }

    std::string dir_;
    std::string brain_;
    std::vector<SourcePlace> origins_;
};

const char kPassing[] = R"(# every directive once
@dialogue Everything holds
@user Katka female
@time 2026-12-24 18:05
@open
= ^Ahoj, Katka!$
> Volám sa lucia.
= Teší ma, Lucia\.$
! lucia|<smile>
? understood
> Kto som?
= dievča
> Koľko je hodín?
= Je 18:5\.
> Bla bla.
= Nerozumiem
? not understood
@idle
= Nudím sa
> Dovidenia.
= Dovidenia!
@restart
> Ako sa voláš?
> Ako sa volám?
= Lucia
> ahoj
= ^(Ahoj|Čau)!$
= ^(.au|Ahoj)!$

@dialogue A man by default, at the default time
> Kto som?
= chlapec
> Koľko je hodín?
= Je 14:15\.
)";

TEST_F(Runner, APassingScriptPassesWithEverySeed) {
    auto [code, out] = RunTests({Script("ok.txt", kPassing)});
    EXPECT_EQ(code, 0) << out;
    EXPECT_NE(out.find("OK    " + dir_ + "/ok.txt:2  Everything holds"), std::string::npos) << out;
    EXPECT_NE(out.find("ok.txt:30  A man by default"), std::string::npos) << out;
    EXPECT_NE(out.find("2 passed, 0 failed\n"), std::string::npos) << out;
    // A folder stands for its scripts.
    auto [folderCode, folderOut] = RunTests({dir_});
    EXPECT_EQ(folderCode, 0);
    EXPECT_NE(folderOut.find("2 passed, 0 failed\n"), std::string::npos) << folderOut;
}

TEST_F(Runner, TheFirstFailingCheckIsReportedWithItsLineAndTheReply) {
    struct Case {
        const char* script;
        int line;  // of the failing check
        const char* reply;
        const char* check;
    } cases[] = {
        {"@dialogue a\n> Volám sa lucia.\n= Lucia\n= Eva\n= Jana\n", 4, "Teší ma, Lucia.", "= Eva"},
        {"@dialogue a\n> Volám sa lucia.\n! Lucia\n", 3, "Teší ma, Lucia.", "! Lucia"},
        {"@dialogue a\n> ahoj\n\n# comment\n> bla\n? understood\n", 6, "Nerozumiem.", "? understood"},
        {"@dialogue a\n> ahoj\n? not understood\n", 3, "", "? not understood"},
        {"@dialogue a\n> ahoj\n> ticho\n> ahoj\n", 3, "", "neprázdna"},  // empty, no check
        {"@dialogue a\n@open\n= Peter\n", 3, "Ahoj, Tester!", "= Peter"},
        {"@dialogue a\n> dovidenia\n@time 2026-12-09 08:00\n> ahoj\n", 4, "", "mozog po ťahu z riadku 2"},
    };
    for (const Case& c : cases) {
        Dialogue d = Only(c.script);
        std::optional<DialogueFailure> failure = RunDialogue(d, {brain_, 1, nullptr, {}});
        ASSERT_TRUE(failure.has_value()) << c.script;
        EXPECT_EQ(failure->line, c.line) << c.script;
        if (*c.reply) {
            EXPECT_EQ(failure->reply, c.reply) << c.script;
        }
        EXPECT_EQ(failure->check.rfind(c.check, 0), 0u) << failure->check;
    }
    auto [code, out] = RunTests({Script("bad.txt", std::string(kPassing) + "\n@dialogue Fails\n"
                                                   "> Volám sa eva.\n= Lucia\n")});
    EXPECT_EQ(code, 1);
    EXPECT_NE(out.find("FAIL  " + dir_ + "/bad.txt:36  Fails"), std::string::npos) << out;
    EXPECT_NE(out.find(dir_ + "/bad.txt:38: seed 1, ťah z riadku 37: > Volám sa eva."),
              std::string::npos) << out;
    EXPECT_NE(out.find("odpoveď: \"Teší ma, Eva.\""), std::string::npos) << out;
    EXPECT_NE(out.find("kontrola: = Lucia"), std::string::npos) << out;
    EXPECT_NE(out.find("2 passed, 1 failed\n"), std::string::npos) << out;
}

// "= Ahoj!" accepts one of the two greetings; some seed must bring the other one.
TEST_F(Runner, SeedsBringOtherAlternativesOfAGroup) {
    Dialogue d = Only("@dialogue g\n> ahoj\n= ^Ahoj!$\n");
    std::set<std::string> replies;
    for (uint64_t seed = 1; seed <= 10; ++seed) {
        DialogueRunOptions options{brain_, seed, nullptr, {}};
        options.onTurn = [&](const TurnOutcome& t) { replies.insert(t.reply); };
        RunDialogue(d, options);
    }
    EXPECT_EQ(replies, (std::set<std::string>{"Ahoj!", "Čau!"}));
    auto [code, out] = RunTests({Script("g.txt", "@dialogue g\n> ahoj\n= ^Ahoj!$\n")}, 10);
    EXPECT_EQ(code, 1) << out;
    EXPECT_NE(out.find("0 passed, 1 failed"), std::string::npos) << out;
}

TEST_F(Runner, BrokenScriptsAreRefusedWithTheLineAtFault) {
    struct Case {
        const char* script;
        int line;
    } cases[] = {
        {"> ahoj\n", 1},
        {"@dialogue a\n= Ahoj\n> ahoj\n", 2},
        {"@dialogue a\n> ahoj\n= (Ahoj\n", 3},
        {"@dialogue a\n> ahoj\n@user Eva female\n", 3},
        {"@dialogue a\n@time zajtra\n> ahoj\n", 2},
        {"@dialogue a\n@later\n> ahoj\n", 2},
        {"@dialogue a\n> ahoj\n? maybe\n", 3},
        {"@dialogue a\n> ahoj\nAhoj\n", 3},
        {"@dialogue prázdny\n# nothing\n@dialogue b\n> ahoj\n", 1},
    };
    for (const Case& c : cases) {
        DialogueScript script = ParseDialogues("s.txt", c.script);
        ASSERT_EQ(script.problems.size(), 1u) << c.script;
        EXPECT_EQ(script.problems[0].line, c.line) << c.script;
    }
    auto [code, out] = RunTests({Script("broken.txt", "@dialogue a\n> ahoj\n= (\n"), dir_ + "/missing.txt"});
    EXPECT_EQ(code, 1);
    EXPECT_NE(out.find("broken.txt:3: chyba v skripte"), std::string::npos) << out;
    EXPECT_NE(out.find("missing.txt: súbor sa nedá prečítať"), std::string::npos) << out;
    EXPECT_NE(out.find("0 passed, 2 failed"), std::string::npos) << out;
}

TEST_F(Runner, CoverageFindsUnreachedBlocksAnswersAndNotUnderstoodSentences) {
    std::string sentences = Script("sentences.txt", "# a list\nahoj\nVolám sa jano.\nbla bla\n");
    std::string dialogues = Script("d.txt", "@dialogue d\n@open\n> Ako sa volám?\n> hm\n");
    CoverageReport r = MeasureCoverage(brain_, {sentences, dialogues}, 3);
    EXPECT_TRUE(r.problems.empty());
    EXPECT_EQ(r.blocks.size(), 9u);
    EXPECT_EQ(r.answers.size(), 11u);
    std::string text = FormatCoverage(r, origins_);
    // Not entered: "kto som", "kolko je hodin", "dovidenia", the idle block.
    EXPECT_EQ(r.MissedBlocks(), 4) << text;
    EXPECT_NE(text.find("tiny.brain:24 (záznam 24): IF(1)  ?( kto som )"), std::string::npos) << text;
    EXPECT_NE(text.find("tiny.brain:40 (záznam 40): IF(2)  #NUD"), std::string::npos) << text;
    EXPECT_EQ(text.find("IF(1)  ?( ahoj )"), std::string::npos) << text;
    EXPECT_NE(text.find(": -Si <#ROD(chlapec,dievča)>."), std::string::npos) << text;
    EXPECT_NE(text.find(": -Nudím sa."), std::string::npos) << text;
    EXPECT_EQ(text.find(": -Nerozumiem."), std::string::npos) << text;
    EXPECT_NE(text.find("sentences.txt:4: bla bla  ->  Nerozumiem."), std::string::npos) << text;
    EXPECT_NE(text.find("d.txt:4: hm  ->  Nerozumiem."), std::string::npos) << text;
    EXPECT_EQ(r.sentences, 5);
    EXPECT_EQ(r.understood, 3);
    EXPECT_EQ(CoverageSummary(r).rfind("Pokrytie: bloky 5 z 9 (55.6 %), ", 0), 0u) << CoverageSummary(r);
    EXPECT_NE(CoverageSummary(r).find("vety pochopené 3 z 5 (60.0 %)"), std::string::npos);
    // Without the source lines the record numbers still name the places.
    EXPECT_NE(FormatCoverage(r, {}).find("  záznam 24: IF(1)  ?( kto som )"), std::string::npos);
}

}  // namespace
}  // namespace tamzel::brainc
