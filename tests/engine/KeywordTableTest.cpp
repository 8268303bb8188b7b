#include "engine/KeywordTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <string>

namespace tamzel::engine {
namespace {

constexpr int kEntries = 56;
constexpr int kByteValues = 256;

// Hands out the salts it is given, in turn.
class FixedSalt : public base::Random {
public:
    explicit FixedSalt(int salt) : salt_(salt) {}
    int32_t Below(int32_t n) override {
        asked = n;
        return salt_;
    }
    int32_t asked = 0;

private:
    int salt_;
};

std::string SourceDir() {
    const char* source = std::getenv("TAMZEL_SOURCE_DIR");
    return source ? source : TAMZEL_TEST_SOURCE_DIR;
}

// The keyword table of the brain language's documentation: entry number -> text.
std::map<int, std::string> DocumentedKeywords() {
    std::ifstream in(SourceDir() + "/docs/brain-language.md");
    const std::regex row(R"(^\| (\d+) \| [^|]+ \| `([^`]+)` \|.*)");
    std::map<int, std::string> table;
    std::smatch m;
    for (std::string line; std::getline(in, line);) {
        if (std::regex_match(line, m, row)) table[std::stoi(m[1])] = m[2];
    }
    return table;
}

std::string AllBytes() {
    std::string bytes;
    for (int b = 0; b < kByteValues; ++b) bytes += static_cast<char>(b);
    return bytes;
}

// Brain authors write from the documented table; an entry that differs from it makes the
// engine miss every use of that keyword without a word of warning.
TEST(KeywordTable, DecodesToTheDocumentedTable) {
    std::map<int, std::string> documented = DocumentedKeywords();
    ASSERT_EQ(documented.size(), static_cast<size_t>(kEntries));
    KeywordTable table;
    table.DecodeAll();
    for (const auto& [k, text] : documented) {
        EXPECT_EQ(table.Keyword(k), text) << "entry " << k;
    }
}

TEST(KeywordTable, EncodingRoundTripsForEverySaltAndByte) {
    const std::string plain = AllBytes() + "<#POCET_ZOPAKOV>" + AllBytes();
    for (int salt = 0; salt < kByteValues; ++salt) {
        FixedSalt random(salt);
        std::string encoded = EncodeKeyword(plain, random);
        ASSERT_EQ(encoded.size(), plain.size() + 1) << salt;
        EXPECT_EQ(static_cast<unsigned char>(encoded[0]), salt);
        EXPECT_EQ(random.asked, kByteValues) << "the salt covers every byte value";
        EXPECT_EQ(DecodeKeyword(encoded), plain) << "salt " << salt;
    }
}

TEST(KeywordTable, TheShortestFormsDecodeToNothing) {
    EXPECT_EQ(DecodeKeyword(""), "");
    for (int salt : {0, 10, 255}) {
        FixedSalt random(salt);
        std::string encoded = EncodeKeyword("", random);
        EXPECT_EQ(encoded, std::string(1, static_cast<char>(salt)));
        EXPECT_EQ(DecodeKeyword(encoded), "");
    }
}

// The table the program carries is made while compiling; it must be what the run-time
// encoder makes of the same text with the same salt, or a table encoded again after a
// rule pass would no longer decode to what it held before.
TEST(KeywordTable, TheCompiledTableIsWhatTheEncoderMakes) {
    KeywordTable stored;
    KeywordTable plain;
    plain.DecodeAll();
    for (int k = 1; k <= kEntries; ++k) {
        const std::string& form = stored.Keyword(k);
        ASSERT_EQ(form.size(), plain.Keyword(k).size() + 1) << k;
        FixedSalt random(static_cast<unsigned char>(form[0]));
        EXPECT_EQ(EncodeKeyword(plain.Keyword(k), random), form) << "entry " << k;
    }
}

// The point of the scrambling: the keywords cannot be read out of the program or its
// memory between rule passes.
TEST(KeywordTable, TheEncodedFormsDoNotShowTheKeywords) {
    KeywordTable plain;
    plain.DecodeAll();
    KeywordTable stored;
    for (int k = 1; k <= kEntries; ++k) {
        const std::string& text = plain.Keyword(k);
        EXPECT_EQ(stored.Keyword(k).find(text), std::string::npos) << text;
        if (text.size() < 3) continue;  // a shift can be zero, so two letters may survive
        for (int salt = 0; salt < kByteValues; ++salt) {
            FixedSalt random(salt);
            EXPECT_EQ(EncodeKeyword(text, random).find(text), std::string::npos)
                << text << " with salt " << salt;
        }
    }
}

TEST(KeywordTable, ManyPassesKeepEveryEntryAndChangeTheStoredForms) {
    KeywordTable reference;
    reference.DecodeAll();
    KeywordTable table;
    base::Random random;
    random.Seed(11);
    std::string firstForms, lastForms;
    for (int k = 1; k <= kEntries; ++k) firstForms += table.Keyword(k);
    for (int pass = 0; pass < 500; ++pass) {
        table.DecodeAll();
        table.EncodeAll(random);
    }
    for (int k = 1; k <= kEntries; ++k) lastForms += table.Keyword(k);
    EXPECT_NE(lastForms, firstForms);
    table.DecodeAll();
    for (int k = 0; k <= kEntries; ++k) {
        EXPECT_EQ(table.Keyword(k), reference.Keyword(k)) << "entry " << k;
    }
}

TEST(KeywordTable, EncodingTwiceDoesNotScrambleTheScrambledForms) {
    KeywordTable table;
    FixedSalt random(77);
    table.EncodeAll(random);  // already encoded: nothing to do
    EXPECT_EQ(random.asked, 0);
    table.DecodeAll();
    table.EncodeAll(random);
    table.EncodeAll(random);
    table.DecodeAll();
    EXPECT_EQ(table.Keyword(kw::BlockHeadKeyword), "IF");
    EXPECT_EQ(table.Keyword(kw::Reserved56), "[#]");
    EXPECT_EQ(table.Keyword(kw::YearTag), "<#ROK>");
}

// Entry 0 is no keyword: it stays empty in both forms, so that a search for it finds
// nothing rather than a salt byte.
TEST(KeywordTable, EntryZeroStaysEmpty) {
    KeywordTable table;
    EXPECT_EQ(table.Keyword(0), "");
    table.DecodeAll();
    EXPECT_EQ(table.Keyword(0), "");
    base::Random random;
    table.EncodeAll(random);
    EXPECT_EQ(table.Keyword(0), "");
}

}  // namespace
}  // namespace tamzel::engine
