// Faults found by fuzzing, each kept as a test of the fixed behaviour.
#include <gtest/gtest.h>

#include <chrono>

#include "HardeningSupport.h"
#include "JpegSizeTest.h"
// Test of engine internals.
#include "engine/internal/EngineCore.h"
#include "engine/TextUtils.h"
#include "speech/text/SpeechError.h"

namespace tamzel::hardening {
namespace {

// A picture whose header claims gigapixels made the decoder allocate its buffer (12 GB for
// 65279 x 65279) before reading a single row: refused now, with a message.
TEST(FuzzRegression, JpegClaimingAHugeSizeIsRefusedBeforeAllocating) {
    const std::string small = SmallJpeg();
    for (const ClaimedSize& c : kClaimedSizes) {
        std::string bytes = WithClaimedSize(small, c.width, c.height);
        if (c.decodes && c.width == 16) {
            speech::JpegImage image = speech::JpegImage::Decode(bytes, "maly.jpg");
            EXPECT_EQ(image.width(), 16);
            EXPECT_EQ(image.height(), 8);
            continue;
        }
        try {
            speech::JpegImage::Decode(bytes, "velky.jpg");
            EXPECT_TRUE(c.decodes) << c.width << "x" << c.height << " decoded";
        } catch (const speech::SpeechError& error) {
            std::string message = error.what();
            EXPECT_NE(message.find("velky.jpg"), std::string::npos) << message;
            if (!c.decodes) {
                EXPECT_NE(message.find("ve\xBEk"), std::string::npos) << message;
            }
        }
    }
}

// A 525-byte input: a sentence full of '<' and a text that reflects it inside other tags.
// Each of the thousand allowed replacements could insert the sentence again, the text grew
// to 150 KB and every pass searched all of it (about a second for the turn in the optimised
// build, 11 s under the sanitizers). The expanded text is bounded now.
TEST(FuzzRegression, TagsReflectingATagFullSentenceExpandQuickly) {
    ScratchFolder folder;
    fs::create_directories("users/_Jan");
    Put("users/_Jan/user.mem", "[DUZ]\r\nOBJECT(user)\r\n->\r\n<-\r\n");
    const std::string input(
        "mam <<\xFF\x01<<<<<<<<<<<<<<<<<<<<<<><<<<<<<<<<<<<<<<<<<<<<<<<<<<<\xFF\xFF"
        "\xFF\xDA<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<< t\xFD" "cht"
        "o zvieratER, v &a ma\x01\x00y\xF6\xE9 -<#ZVYSOK(THIS_USER, )>? Je<<<<<<)>? J"
        "edno slovo je \x00\x00\x00\x1Cm\xE1l\x01\x00\x00|||mave ; u a  rad pso\xA5 a"
        " macky\n?(<#ODRAZ(<SOMEOF( ano ;.hej ; j; presne <<\xFF\x01<<<<<<<<<<<<<<<<<"
        "<<<<<><<<<<<<<<<<<<<<<<<<<<<<<<<<<<\xFF\xFF\xFF\xDA<<<<<<<<<<<<<<<<<<<<<<<<<"
        "<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<< t\xFD" "chto zvieratER, v &a ma\x01\x00y\xF6"
        "\xE9 -<#ZVYSOK(THIS_USER, )>? Je<<<<<<)>? Jedno slovo je \x00\x00\x00\x1Cm"
        "\xE1l\x01\x00\x00|||mave ; u a macamaca mo\x9Ekn",
        525);
    const size_t lineEnd = input.find('\n');
    const std::string sentence = input.substr(0, lineEnd);
    std::string text = input.substr(lineEnd + 1, input.find('\n', lineEnd + 1) - lineEnd - 1);
    engine::EngineCore e;
    auto random = std::make_shared<base::Random>();
    random->Seed(7);
    e.SetRandom(random);
    e.keepSeed = true;
    e.UserName = "Jan";
    e.hooks.onFatalStop = [](const std::string& reason) { FAIL() << reason; };
    e.hooks.onReportError = [](const std::string&) {};
    e.hooks.onMemoryProblem = [](const std::string&) {};
    e.hooks.onRunProgram = [](const std::string&) {};
    e.Keywords.DecodeAll();
    e.CurrentInput = e.LastInput = e.LastAnswer = sentence;
    e.WorkSentence = base::FoldDiacritics(sentence);
    auto start = std::chrono::steady_clock::now();
    e.ExpandTags(text);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 0.5);
    EXPECT_LE(text.size(), size_t{16384});
    e.Keywords.EncodeAll(e.random());
}

}  // namespace
}  // namespace tamzel::hardening
