// Two conversations with the built brain in one program folder: the fact told in the first
// is recalled in the second, because sign-out and sign-in go through the profile store.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "TestFolder.h"
#include "engine/Codepage.h"
#include "profiles/ConsoleSession.h"
#include "profiles/ProfileStore.h"

namespace tamzel::profiles {
namespace {

using testing::TestFolder;
using testing::W;

// Runs the test inside a program folder holding a copy of the built brain.
class ProgramFolderRun : public ::testing::Test {
protected:
    void SetUp() override {
        const char* home = std::getenv("TAMZEL_HOME");
        std::string brain = std::string(home ? home : TAMZEL_HOME_DIR) + "/ai/brainfile.ai";
        if (!std::filesystem::exists(brain)) GTEST_SKIP() << "no built brain at " << brain;
        std::filesystem::create_directories(folder.path() + "/ai");
        std::filesystem::copy_file(brain, folder.path() + "/ai/brainfile.ai");
        previous = std::filesystem::current_path();
        std::filesystem::current_path(folder.path());
    }
    void TearDown() override {
        if (!previous.empty()) std::filesystem::current_path(previous);
    }

    // One conversation: sign in, the opening line, the sentences, sign out.
    std::vector<std::string> Converse(const std::string& user,
                                      const std::vector<std::string>& sentences) {
        engine::Engine e;
        e.onFatalStop = [](const std::string& reason) { throw std::runtime_error(reason); };
        e.random().Seed(7);
        e.keepSeed = true;
        EXPECT_EQ(SignIn(e, user), "");
        e.InitEngine();
        e.OpeningLine();
        std::vector<std::string> replies;
        for (const std::string& s : sentences)
            replies.push_back(engine::ToUtf8(e.AnswerSentence(W(s))));
        e.FinalizeEngine();
        EXPECT_EQ(SignOut(e), "");
        return replies;
    }

    TestFolder folder;
    std::filesystem::path previous;
};

TEST_F(ProgramFolderRun, AFactToldInOneRunIsRecalledInTheNext) {
    auto first = Converse(W("Ján"), {"Aká je moja obľúbená farba?",
                                     "Moja obľúbená farba je zelená."});
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].find("zelen"), std::string::npos) << "nothing known yet: " << first[0];
    EXPECT_NE(folder.Read("users/_Ján/user.mem").find("farba:" + W("zelená")),
              std::string::npos);

    // Another spelling of the same user signs in to the same profile.
    auto second = Converse("jan", {"aka je moja oblubena farba?"});
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NE(second[0].find("zelen"), std::string::npos) << second[0];
    EXPECT_EQ(ProfileStore(".").ListUsers(), std::vector<std::string>{W("Ján")});
}

}  // namespace
}  // namespace tamzel::profiles
