// Two conversations in one program folder: the fact told in the first is recalled in the
// second, because sign-out and sign-in go through the profile store and find the same
// profile. The brain is a small one of our own, so the test does not follow the wording of
// the shipped brain.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestFolder.h"
#include "engine/Brain.h"
#include "base/Codepage.h"
#include "engine/Engine.h"
#include "profiles/ConsoleSession.h"
#include "profiles/ProfileStore.h"

namespace tamzel::profiles {
namespace {

using testing::TestFolder;

// Remembers a favourite colour and tells it back; anything else gets "?".
const char* const kBrain[] = {
    "IF(1)", "?( oblubena farba ; ? )", "->",
    "IF(2)", "=(<#PAMAT(user,farba,1)>,)", "->", "-Neviem.", "ELSE",
    "-Farba: <#PAMAT(user,farba,1)>.", "<-", "<-",
    "IF(1)", "?( farba je )", "->", "FORGET(user,farba)", "MEM(user,farba,<#ZVYSOK(farba je)>)",
    "-Zapamätám si <#ZVYSOK(farba je)>.", "<-",
    "UNKNOWN", "-?",
};

class ProgramFolderRun : public ::testing::Test {
protected:
    void SetUp() override {
        std::string records;
        for (const char* line : kBrain) records += engine::EncodeRecord(base::Cp1250(line), 0x2A);
        folder.Write("ai/brainfile.ai", engine::BuildBrainFile(records));
        previous = std::filesystem::current_path();
        std::filesystem::current_path(folder.path());
    }
    void TearDown() override { std::filesystem::current_path(previous); }

    // One conversation: sign in, the opening line, the sentences, sign out.
    std::vector<std::string> Converse(const std::string& user,
                                      const std::vector<std::string>& sentences) {
        engine::Engine e;
        e.hooks().onFatalStop = [](const std::string& reason) { throw std::runtime_error(reason); };
        e.SetSeed(7);
        auto signedIn = SignIn(user);
        EXPECT_TRUE(signedIn) << signedIn.message();
        if (signedIn) e.SetProfile(*signedIn);
        EXPECT_TRUE(e.InitEngine());
        EXPECT_TRUE(e.OpeningLine());
        std::vector<std::string> replies;
        for (const std::string& s : sentences) {
            auto turn = e.AnswerSentence(base::Cp1250(s));
            replies.push_back(turn ? base::ToUtf8(turn->reply) : "(" + turn.message() + ")");
        }
        e.FinalizeEngine();
        base::Status stored = SignOut(e.Profile());
        EXPECT_TRUE(stored) << stored.message();
        return replies;
    }

    TestFolder folder;
    std::filesystem::path previous;
};

TEST_F(ProgramFolderRun, AFactToldInOneRunIsRecalledInTheNext) {
    auto first = Converse(base::Cp1250("Ján"), {"Aká je moja obľúbená farba?",
                                     "Moja obľúbená farba je zelená."});
    EXPECT_EQ(first, (std::vector<std::string>{"Neviem.", "Zapamätám si zelená."}));

    // Another spelling of the same user signs in to the same profile and its memory.
    auto second = Converse("jan", {"aka je moja oblubena farba?"});
    EXPECT_EQ(second, std::vector<std::string>{"Farba: zelená."});
    EXPECT_EQ(ProfileStore(".").ListUsers(), std::vector<std::string>{base::Cp1250("Ján")});
}

}  // namespace
}  // namespace tamzel::profiles
