#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "engine/Brain.h"
// Test of engine internals.
#include "engine/internal/EngineCore.h"
#include "engine/KeywordTable.h"

namespace tamzel::engine {
namespace {

std::string Bytes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes) s += static_cast<char>(c);
    return s;
}

TEST(BrainRecords, DecodesTheWorkedExamples) {
    struct Case {
        std::string text;
        std::string body;
        uint32_t sumRaw, sumPlain, cursor;
    };
    const std::vector<Case> cases = {
        {Bytes({0, 21}), "", 21, 0, 2},
        {Bytes({2, 26, 10, 20, 30}), Bytes({219, 239, 70}), 88, 528, 5},
        {Bytes({1, 25, 7, 7, 7, 99}), "", 0, 0, 5},  // n = 3; the fourth byte is the next record
        {Bytes({2, 26, 10}), "", 0, 0, 3},           // truncated: only what is there
        {Bytes({9}), "", 0, 0, 1},                   // fewer than two bytes: empty, at end
    };
    for (const Case& c : cases) {
        BrainRecord brain;
        brain.text = c.text;
        std::string body = ReadRecord(brain);
        EXPECT_EQ(brain.cursor, c.cursor);
        if (c.sumRaw == 0) continue;
        EXPECT_EQ(body, c.body);
        EXPECT_EQ(brain.sumRaw, c.sumRaw);
        EXPECT_EQ(brain.sumPlain, c.sumPlain);
    }
}

TEST(BrainRecords, ReadingPastTheEndIsEmptyAndStaysAtTheEnd) {
    BrainRecord brain;
    brain.text = Bytes({0, 21, 5});
    ReadRecord(brain);
    EXPECT_FALSE(AtEndOfBrain(brain));
    EXPECT_EQ(ReadRecord(brain), "");
    EXPECT_TRUE(AtEndOfBrain(brain));
    EXPECT_EQ(ReadRecord(brain), "");
    EXPECT_EQ(brain.cursor, 3u);
}

TEST(BrainRecords, EncodeRecordIsTheInverseForEveryKeyAndLength) {
    std::mt19937 gen(7);
    for (int round = 0; round < 600; ++round) {
        std::string body(gen() % 256, '\0');
        for (char& c : body) c = static_cast<char>(gen());
        auto key = static_cast<uint8_t>(round % 256);
        BrainRecord brain;
        brain.text = EncodeRecord(body, key);
        ASSERT_EQ(brain.text.size(), body.size() + 2);
        ASSERT_EQ(ReadRecord(brain), body) << "key " << int(key);
        ASSERT_TRUE(AtEndOfBrain(brain));
    }
}

TEST(BrainRecords, ChecksumTextIsBigEndian) {
    EXPECT_EQ(ChecksumText(123456), Bytes({0, 1, 226, 64}));
    EXPECT_EQ(ChecksumText(0xFFFFFFFFu), Bytes({255, 255, 255, 255}));
}

class BrainFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("tamzel-brain-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        path = (folder / "brainfile.ai").string();
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void Write(const std::string& content) { std::ofstream(path, std::ios::binary) << content; }

    std::filesystem::path folder;
    std::string path;
};

TEST_F(BrainFileTest, BuiltFileLoadsAndItsStoredSumsMatchAPass) {
    std::string records = EncodeRecord("IF(1)", 3) + EncodeRecord("-ahoj", 200) + EncodeRecord("", 0);
    std::string file = BuildBrainFile(records);
    ASSERT_EQ(file.size(), kBrainRecordsOffset + records.size());
    Write(file);
    BrainRecord brain;
    LoadBrain(brain, path);
    EXPECT_EQ(brain.checkBytes, BrainCheckBytes());
    EXPECT_EQ(brain.text, records);
    auto [storedPlain, storedRaw] = ReadStoredChecksums(path);
    EXPECT_EQ(storedPlain, ChecksumText(brain.wholeSumPlain));  // worked out at load
    EXPECT_EQ(storedRaw, ChecksumText(brain.wholeSumRaw));
    EXPECT_EQ(brain.cursor, 0u);
    std::vector<std::string> lines;
    while (!AtEndOfBrain(brain)) lines.push_back(ReadRecord(brain));
    EXPECT_EQ(lines, (std::vector<std::string>{"IF(1)", "-ahoj", ""}));
    auto [plain, raw] = ReadStoredChecksums(path);
    EXPECT_EQ(plain, ChecksumText(brain.sumPlain));
    EXPECT_EQ(raw, ChecksumText(brain.sumRaw));
}

TEST_F(BrainFileTest, MissingOrShortFilesRaiseIoErrorsNamingTheFile) {
    BrainRecord brain;
    brain.text = "kept";
    EXPECT_THROW(LoadBrain(brain, path), IoError);
    Write(std::string(55, 'x'));
    try {
        LoadBrain(brain, path);
        FAIL() << "a 55-byte file loaded";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
    }
    EXPECT_EQ(brain.text, "kept");  // a failed load leaves the old brain alone
    EXPECT_THROW(ReadStoredChecksums(path), IoError);
    Write(std::string(56, 'x'));
    LoadBrain(brain, path);
    EXPECT_TRUE(brain.text.empty());
    EXPECT_TRUE(AtEndOfBrain(brain));
}

TEST(KeywordTable, EncodingRoundTripsAndUsesASalt) {
    base::Random random;
    random.Seed(3);
    for (std::string plain : {"", "IF", "<#POCET_ZOPAKOV>", "\xFF\x00\x80"}) {
        std::string e = EncodeKeyword(plain, random);
        EXPECT_EQ(e.size(), plain.size() + 1);
        EXPECT_EQ(DecodeKeyword(e), plain);
    }
    std::set<std::string> forms;
    for (int i = 0; i < 20; ++i) forms.insert(EncodeKeyword("UNKNOWN", random));
    EXPECT_GT(forms.size(), 10u);
}

TEST(KeywordTable, IsEncodedExceptBetweenDecodeAndEncode) {
    KeywordTable table;
    EXPECT_FALSE(table.plain());
    std::string stored = table.Keyword(kw::BlockHeadKeyword);
    EXPECT_EQ(stored.size(), 3u);
    table.DecodeAll();
    EXPECT_EQ(table.Keyword(kw::BlockHeadKeyword), "IF");
    table.DecodeAll();  // twice does not decode the plain text again
    EXPECT_EQ(table.Keyword(kw::ElseKeyword), "ELSE");
    base::Random random;
    table.EncodeAll(random);
    EXPECT_FALSE(table.plain());
    EXPECT_EQ(DecodeKeyword(table.Keyword(kw::ElseKeyword)), "ELSE");
}

// The rules every keyword text must obey for the brain language to be readable at all.
TEST(KeywordTable, TextsMeetTheLanguageRules) {
    KeywordTable table;
    table.DecodeAll();
    auto K = [&](int k) { return table.Keyword(k); };
    const std::vector<std::pair<int, size_t>> lengths = {
        {1, 6},  {2, 7},  {3, 5},  {4, 13}, {5, 6},  {6, 8},  {10, 3}, {12, 16}, {13, 12},
        {25, 7}, {26, 9}, {27, 4}, {28, 6}, {29, 9}, {30, 6}, {31, 8}, {32, 4},  {33, 6},
        {34, 9}, {35, 5}, {36, 2}, {39, 6}, {40, 7}, {41, 5}, {42, 4}, {43, 3},  {44, 4},
        {45, 3}, {46, 3}, {47, 7}, {48, 3}, {49, 6}, {50, 4}, {51, 4}, {52, 3},  {53, 3},
        {54, 3}, {55, 3},
    };
    for (auto [k, n] : lengths) EXPECT_EQ(K(k).size(), n) << "entry " << k << " " << K(k);
    EXPECT_EQ(K(23), "SOMEOF");
    EXPECT_EQ(K(53)[1], '*');
    EXPECT_EQ(K(54)[1], '-');
    EXPECT_EQ(K(55)[1], '/');
    for (int a = 1; a <= 56; ++a) {
        EXPECT_FALSE(K(a).empty());
        EXPECT_NE(K(a)[0], '-') << a;
        for (int b = 1; b <= 56; ++b) {
            if (a == b) continue;
            // A tag must not occur inside another keyword; a line keyword must not start another.
            if (a <= 20) {
                EXPECT_EQ(K(b).find(K(a)), std::string::npos) << K(a) << " in " << K(b);
            }
            if (a >= 25 && b >= 25) {
                EXPECT_NE(K(b).rfind(K(a), 0), 0u) << K(a) << " starts " << K(b);
            }
        }
    }
}

}  // namespace
}  // namespace tamzel::engine
