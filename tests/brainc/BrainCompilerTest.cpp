#include <gtest/gtest.h>

#include "engine/Brain.h"
#include "base/Codepage.h"
#include "tools/brainc/BrainCompiler.h"

namespace tamzel::brainc {
namespace {

CompileResult Compile(const std::string& text) { return CompileBrain({{"mozog.brain", text}}); }

std::vector<std::string> Records(const std::string& area) {
    engine::BrainRecord brain;
    brain.text = area;
    std::vector<std::string> lines;
    while (!engine::AtEndOfBrain(brain)) lines.push_back(base::ToUtf8(engine::ReadRecord(brain)));
    return lines;
}

TEST(BrainCompiler, DropsCommentsBlanksAndIndentationAndConvertsToWindows1250) {
    CompileResult r = Compile(
        "// úvod\r\n\r\nIF(1)\r\n  ?( ahoj )  \r\n\t->\n    -Ahoj, |! Čo nové?\n<-\n   // koniec\n");
    ASSERT_TRUE(r.ok()) << FormatDiagnostic(r.diagnostics.at(0));
    EXPECT_EQ(r.recordCount, 5);
    EXPECT_EQ(Records(r.records),
              (std::vector<std::string>{"IF(1)", "?( ahoj )", "->", "-Ahoj, |! Čo nové?", "<-"}));
}

TEST(BrainCompiler, SourcesAreJoinedInOrderAndDecompileRoundTrips) {
    CompileResult r = CompileBrain({{"a.brain", "UNKNOWN\n"}, {"b.brain", "-áno\n-nie\n"}});
    ASSERT_TRUE(r.ok());
    DecompileResult d = DecompileBrain(engine::BuildBrainFile(r.records));
    EXPECT_EQ(d.problem, "");
    EXPECT_EQ(d.lines, (std::vector<std::string>{"UNKNOWN", "-áno", "-nie"}));
    std::string broken = engine::BuildBrainFile(r.records);
    broken.back() = static_cast<char>(broken.back() + 1);
    EXPECT_NE(DecompileBrain(broken).problem, "");
    EXPECT_NE(DecompileBrain("krátky").problem, "");
}

TEST(BrainCompiler, ErrorsNameLineAndColumnAndProduceNothing) {
    struct Case {
        const char* name;
        std::string source;
        int line, column;
    };
    std::string longLine = "  -" + std::string(253, 'a');  // 254 bytes after the blanks: fine
    std::string tooLong = "  -" + std::string(255, 'a');   // 256 bytes
    std::string group;
    for (int i = 0; i < 21; ++i) group += "-odpoveď " + std::to_string(i) + "\n";
    std::string variables;
    for (int i = 0; i < 51; ++i) variables += "VAR(v" + std::to_string(i) + ")\n";
    const std::vector<Case> cases = {
        {"character without Windows-1250", "UNKNOWN\n-ahoj Жено\n", 2, 7},
        {"invalid UTF-8", "-a\xFFz\n", 1, 3},
        {"line too long", "UNKNOWN\n" + tooLong + "\n", 2, 258},
        {"21 answers in a group", "UNKNOWN\n" + group, 22, 1},
        {"51 variables", variables, 51, 1},
        {"block closed twice", "IF(1)\n->\n<-\n<-\n", 4, 1},
        {"block never closed", "-a\n  IF(2)\n->\n-b\n", 2, 3},
        {"block without ->", "IF(2)\n?( a )\n-b\n<-\n", 4, 1},
        {"-> outside a block", "->\n", 1, 1},
        {"ELSE outside a block", "ELSE\n", 1, 1},
        {"two ELSE", "IF(1)\n->\nELSE\nELSE\n<-\n", 4, 1},
        {"conditions reach the end", "IF(1)\n?( a )\n", 1, 1},
    };
    for (const Case& c : cases) {
        CompileResult r = Compile(c.source);
        EXPECT_FALSE(r.ok()) << c.name;
        EXPECT_TRUE(r.records.empty()) << c.name;
        const Diagnostic* error = nullptr;
        for (const Diagnostic& d : r.diagnostics)
            if (d.error && !error) error = &d;
        ASSERT_NE(error, nullptr) << c.name;
        EXPECT_EQ(error->file, "mozog.brain");
        EXPECT_EQ(error->line, c.line) << c.name << ": " << FormatDiagnostic(*error);
        EXPECT_EQ(error->column, c.column) << c.name << ": " << FormatDiagnostic(*error);
    }
    EXPECT_TRUE(Compile("UNKNOWN\n" + longLine + "\n").ok());
    std::string twenty;
    for (int i = 0; i < 20; ++i) twenty += "-a\n";
    EXPECT_TRUE(Compile(twenty + "DONE\n" + twenty).ok());  // two groups of 20
}

TEST(BrainCompiler, WarnsAboutUnknownKeywordLikeLinesAndTags) {
    struct Case {
        const char* source;
        int warnings;
    };
    const std::vector<Case> cases = {
        {"MOOD(+1)\nCLOSE\nUNKNOWN\n-ahoj <#C1> <#ROK>\n", 0},
        {"NIECO\n", 1},
        {"CLOSED\n", 1},                  // read as CLOSE
        {"-ahoj <#XYZ>\n", 1},            // unknown tag
        {"SET(v,<#V[+]EK(1.1.2000)>)\n", 0},  // a tag built from parts
        {"SET(x,1\n", 1},                 // no ")"
        {"IF(11)\n->\n<-\n", 1},          // capture slot out of range
        {"IF(1)\n#NEPOZNAM\n->\n<-\n", 1},
        {"IF(1)\n-odpoved\n->\n<-\n", 1},  // answer among conditions
        {"SENTENCE(LAST_COMP)\n", 1},     // has no effect outside a block's conditions
        {"IF(1)\n!?(<#NADAVKY>)\nOR\n=(a,b)\nSENTENCE(LAST_USER)\n#SLOV(2)\n->\n<-\n", 0},
        {"ahoj\n*\n", 0},                 // plain lines are skipped without a word
    };
    for (const Case& c : cases) {
        CompileResult r = Compile(c.source);
        EXPECT_TRUE(r.ok()) << c.source;
        int warnings = 0;
        for (const Diagnostic& d : r.diagnostics) warnings += d.error ? 0 : 1;
        EXPECT_EQ(warnings, c.warnings) << c.source;
    }
}

TEST(BrainCompiler, DiagnosticFormat) {
    EXPECT_EQ(FormatDiagnostic({"a.brain", 3, 7, true, "zlé"}), "a.brain:3:7: chyba: zlé");
    EXPECT_EQ(FormatDiagnostic({"a.brain", 1, 1, false, "pozor"}), "a.brain:1:1: varovanie: pozor");
}

}  // namespace
}  // namespace tamzel::brainc
