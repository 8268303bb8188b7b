#include <gtest/gtest.h>

#include "SpeechTestSupport.h"
#include "VoxCompiler.h"
#include "speech/text/Dictionary.h"
#include "speech/text/SpeechError.h"

namespace tamzel::speech {
namespace {

using test::TempFolder;
using test::U;

TEST(DictionaryScrambling, RestoresEachByteByItsPositionInTheLine) {
    // p = 1, 2, 3: the stored bytes are 'a' - 7, 'b' + 23, 'c' + 15.
    EXPECT_EQ(UnscrambleLine("Zyr"), "abc");
    EXPECT_EQ(ScrambleLine("abcabc"), "ZyrZyr");
    // Wrapping around modulo 256 in both directions.
    EXPECT_EQ(UnscrambleLine(std::string("\xFF\xF0\x05", 3)), std::string("\x06\xD9\xF6", 3));
    std::string every;
    for (int b = 0; b < 256; ++b) every += static_cast<char>(b);
    for (int shift = 0; shift < 3; ++shift) {
        std::string line = std::string(shift, 'x') + every;
        EXPECT_EQ(UnscrambleLine(ScrambleLine(line)), line) << shift;
    }
}

TEST(DictionaryScrambling, SplitsEntriesAtTheFirstEqualsSign) {
    EXPECT_EQ(SplitEntry("a=b=c").key, "a");
    EXPECT_EQ(SplitEntry("a=b=c").value, "b=c");
    EXPECT_EQ(SplitEntry("=x").key, "");
    EXPECT_EQ(SplitEntry("no equals").key, "");
    EXPECT_EQ(SplitEntry("no equals").value, "");
}

struct ApplyCase {
    const char* name;
    std::vector<std::string> lines;  // UTF-8
    const char* text;
    const char* expected;
};

TEST(ApplyDictionary, ReplacesKeysLineByLine) {
    const ApplyCase cases[] = {
        {"abbreviation", {" napr . = napríklad "}, " to je napr . pes ", " to je napríklad pes "},
        {"every occurrence", {"ab=x"}, "ab ab ab", "x x x"},
        {"again until gone", {"ab=b"}, "aab", "b"},
        {"value holding its key is skipped", {"abc=xabcx"}, " abc ", " abc "},
        {"empty value deletes", {"abc="}, " abc abc ", "   "},
        {"line without '=' does nothing", {"abc"}, " abc ", " abc "},
        {"empty key does nothing", {"=x"}, " abc ", " abc "},
        {"lines apply in file order", {"a=b", "b=c"}, "a", "c"},
        {"value may hold '='", {"x=y=z"}, " x ", " y=z "},
        // A stored "ó" at the second place of a line is the byte LF; it stays in its line.
        {"ó in any position", {"xó=o", "óy=p", "zzó=q"}, "xó óy zzó", "o p q"},
        {"empty file", {}, " abc ", " abc "},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        std::string path = folder.Dictionary(c.lines);
        EXPECT_EQ(U(ApplyDictionary(base::Cp1250(c.text), path)), c.expected) << c.name;
    }
}

TEST(ApplyDictionary, ReadsTheFileAtEveryCall) {
    TempFolder folder;
    std::string path = folder.Dictionary({"a=b"});
    EXPECT_EQ(ApplyDictionary("a", path), "b");
    folder.Dictionary({"a=c"});
    EXPECT_EQ(ApplyDictionary("a", path), "c");
}

TEST(ApplyDictionary, AMissingFileIsAnErrorNamingIt) {
    TempFolder folder;
    std::string path = folder.File("files/slovnik.vox");
    try {
        ApplyDictionary("text", path);
        FAIL() << "no error";
    } catch (const SpeechError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
}

TEST(ApplyDictionary, ReadsAFileWithoutAFinalLineEnd) {
    TempFolder folder;
    std::string path = folder.File("d.vox");
    ASSERT_TRUE(base::WriteFileAtomically(path, ScrambleLine("a=b") + "\r\n" + ScrambleLine("c=d")).ok());
    EXPECT_EQ(ApplyDictionary("ac", path), "bd");
}

TEST(DictionaryFile, RefusesALineThatWouldSplitWhenStored) {
    // 0x14 - 7 is CR, "ó" + 23 is LF: stored together they would end the line.
    EXPECT_THROW(ScrambleFile({std::string("\x14\xF3=x")}), SpeechError);
    EXPECT_EQ(UnscrambleFile(ScrambleFile({"a=b", "", base::Cp1250("ó=o")})),
              (std::vector<std::string>{"a=b", "", base::Cp1250("ó=o")}));
}

// --- The compiler's source format -----------------------------------------------------

TEST(DictionarySource, CompilesEntriesWithUnderscoresForSpaces) {
    voxc::Compiled c = voxc::CompileSource("# comment\n\n_napr_._=_napríklad_\r\na=b=c\n");
    EXPECT_TRUE(c.errors.empty());
    EXPECT_TRUE(c.warnings.empty()) << c.warnings.front();
    EXPECT_EQ(c.lines, (std::vector<std::string>{base::Cp1250(" napr . = napríklad "), "a=b=c"}));
    EXPECT_EQ(voxc::DecompileLines(c.lines), "_napr_._=_napríklad_\na=b=c\n");
}

TEST(DictionarySource, ReportsErrorsAndUselessEntriesWithTheirLines) {
    struct SourceCase {
        const char* source;
        bool error;
        const char* fragment;  // expected in the message
    };
    const SourceCase cases[] = {
        {"ok=fine\nmissing equals\n", true, "riadok 2"},
        {"a=b\n\xC3(=x\n", true, "riadok 2"},              // not UTF-8
        {"ö=x\n", false, "riadok 1"},                       // "ö" is a space by then
        {"x=axa\n", false, "obsahuje kľúč"},
        {"=x\n", false, "prázdny kľúč"},
        {"_jeden_=_jedno_\n", false, "jeďen"},             // not softened: can never match
        {"_Napr_=_x_\n", false, "napr"},                    // capitals never reach the dictionary
    };
    for (const auto& c : cases) {
        voxc::Compiled got = voxc::CompileSource(c.source);
        const auto& list = c.error ? got.errors : got.warnings;
        ASSERT_EQ(list.size(), 1u) << c.source;
        EXPECT_NE(list[0].find(c.fragment), std::string::npos) << list[0];
    }
}

TEST(DictionarySource, TheShippedDictionaryCompilesCleanly) {
    const char* root = std::getenv("TAMZEL_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    std::string source;
    ASSERT_TRUE(base::ReadWholeFile(std::string(root) + "/data/dictionary/slovnik.txt", source));
    voxc::Compiled c = voxc::CompileSource(source);
    EXPECT_TRUE(c.errors.empty()) << c.errors.front();
    EXPECT_TRUE(c.warnings.empty()) << c.warnings.front();
    EXPECT_GT(c.lines.size(), 20u);
}

}  // namespace
}  // namespace tamzel::speech
