#include <gtest/gtest.h>

#include "TestFolder.h"
#include "profiles/ConsoleSession.h"
#include "profiles/ProfileStore.h"
#include "profiles/StartChoice.h"

namespace tamzel::profiles {
namespace {

using testing::TestFolder;
using testing::W;

TEST(StartChoice, PreselectionTable) {
    const std::vector<std::string> users = {"Eva", W("Peter"), "Eva", W("Ján")};
    struct Case {
        const char* what;
        std::optional<std::string> lastUser;
        bool autolog;
        std::string login;
        std::optional<size_t> expected;
    };
    const Case cases[] = {
        {"nothing to go by", std::nullopt, true, "", std::nullopt},
        {"the last equal line wins", "Eva", false, "", 2},
        {"last user compared exactly", "eva", false, "", std::nullopt},
        {"autolog prefers the login profile", "Eva", true, "jan", 3},
        {"autolog off keeps the last user", "Eva", false, "jan", 2},
        {"login that matches nobody", "Eva", true, "peter.novak", 2},
        {"login folded and lower-cased", std::nullopt, true, "PETER", 1},
    };
    for (const Case& c : cases) {
        StartSettings settings;
        settings.lastUser = c.lastUser;
        EXPECT_EQ(PreselectedUser(users, settings, c.autolog, c.login), c.expected) << c.what;
    }
}

TEST(ConsoleSession, FirstSignInCreatesTheProfileQuietly) {
    TestFolder folder;
    engine::Engine e;
    ASSERT_EQ(SignIn(e, W("Ján"), folder.path()), "");
    EXPECT_EQ(e.UserName, W("Ján"));
    EXPECT_EQ(e.UserNamePronunciation, W("Ján"));
    EXPECT_TRUE(e.UserIsMale);
    EXPECT_EQ(e.Mood, 0);
    EXPECT_EQ(folder.Read("users/user.lst"), W("Ján") + "\r\n");
    EXPECT_EQ(folder.Read("users/_Ján/user.mem"), NewMemoryFile());
}

TEST(ConsoleSession, SignOutBlendsTheMoodAndTheNextSignInFindsTheSameUser) {
    TestFolder folder;
    ProfileStore store(folder.path());
    ASSERT_TRUE(store.CreateProfile("Eva", "Evka", false, false).ok);
    folder.Write("users/_Eva/user.dat", FormatUserData({"Eva", "Evka", false, 4}));

    engine::Engine first;
    ASSERT_EQ(SignIn(first, "EVA", folder.path()), "");  // same user in other letter case
    EXPECT_EQ(first.UserName, "Eva");
    EXPECT_FALSE(first.UserIsMale);
    EXPECT_EQ(first.Mood, 4);
    first.Mood = 15;
    ASSERT_EQ(SignOut(first, folder.path()), "");

    engine::Engine second;
    ASSERT_EQ(SignIn(second, "eva", folder.path()), "");
    EXPECT_EQ(second.Mood, 5);
    EXPECT_EQ(store.ListUsers(), std::vector<std::string>{"Eva"});
}

TEST(ConsoleSession, UnusableNamesAndDamagedProfilesAreReported) {
    TestFolder folder;
    engine::Engine e;
    std::string error = SignIn(e, "../root", folder.path());
    EXPECT_NE(error.find("--user"), std::string::npos) << error;
    EXPECT_EQ(ProfileStore(folder.path()).ListUsers().size(), 0u);

    ASSERT_EQ(SignIn(e, "Ivo", folder.path()), "");
    folder.Write("users/_Ivo/user.cfg", "[user]\r\n");
    error = SignIn(e, "Ivo", folder.path());
    EXPECT_NE(error.find("users/_Ivo/user.cfg"), std::string::npos) << error;
}

}  // namespace
}  // namespace tamzel::profiles
