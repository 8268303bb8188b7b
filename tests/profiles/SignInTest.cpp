#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "TestFolder.h"
#include "profiles/ConsoleSession.h"
#include "profiles/ProfileStore.h"
#include "profiles/StartChoice.h"

namespace tamzel::profiles {
namespace {

using testing::TestFolder;

TEST(StartChoice, PreselectionTable) {
    const std::vector<std::string> users = {"Eva", base::Cp1250("Peter"), "Eva", base::Cp1250("Ján")};
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
    auto user = SignIn(base::Cp1250("Ján"), folder.path());
    ASSERT_TRUE(user) << user.message();
    EXPECT_EQ(*user, (base::ProfileValues{base::Cp1250("Ján"), base::Cp1250("Ján"), true, 0}));
    EXPECT_EQ(folder.Read("users/user.lst"), base::Cp1250("Ján") + "\r\n");
    EXPECT_EQ(folder.Read("users/_Ján/user.mem"), NewMemoryFile());
}

TEST(ConsoleSession, SignOutBlendsTheMoodAndTheNextSignInFindsTheSameUser) {
    TestFolder folder;
    ProfileStore store(folder.path());
    ASSERT_TRUE(store.CreateProfile("Eva", "Evka", false, false).ok());
    folder.Write("users/_Eva/user.dat", FormatUserData({"Eva", "Evka", false, 4}));

    auto first = SignIn("EVA", folder.path());  // same user in other letter case
    ASSERT_TRUE(first) << first.message();
    EXPECT_EQ(*first, (base::ProfileValues{"Eva", "Evka", false, 4}));
    first->mood = 15;
    ASSERT_TRUE(SignOut(*first, folder.path()));

    auto second = SignIn("eva", folder.path());
    ASSERT_TRUE(second) << second.message();
    EXPECT_EQ(second->mood, 5);
    EXPECT_EQ(store.ListUsers(), std::vector<std::string>{"Eva"});
}

TEST(ConsoleSession, UnusableNamesAndDamagedProfilesAreReported) {
    TestFolder folder;
    auto refused = SignIn("../root", folder.path());
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().encoding, base::Encoding::Utf8);
    EXPECT_NE(refused.message().find("--user"), std::string::npos) << refused.message();
    EXPECT_EQ(ProfileStore(folder.path()).ListUsers().size(), 0u);

    ASSERT_TRUE(SignIn("Ivo", folder.path()));
    folder.Write("users/_Ivo/user.cfg", "[user]\r\n");
    auto damaged = SignIn("Ivo", folder.path());
    ASSERT_FALSE(damaged);
    EXPECT_NE(damaged.message().find("users/_Ivo/user.cfg"), std::string::npos)
        << damaged.message();
}

// A lost or damaged user list must cost no one a profile: signing in finds the folder,
// keeps its files and puts the user back into the list.
TEST(ConsoleSession, AProfileTheListLacksIsAdoptedWithItsFiles) {
    const struct {
        const char* what;
        std::optional<std::string> list;  // nothing: users/user.lst is gone
    } cases[] = {
        {"list missing", std::nullopt},
        {"list empty", ""},
        {"list garbled", std::string("\x01\xFF\x00#!?\r\nEv\r\n", 12)},
        {"list of another user only", "Eva\r\n"},
    };
    const std::string memory = "[DUZ]\r\nOBJECT(user)\r\n->\r\nfarba:modra\r\n<-\r\n";
    for (const auto& c : cases) {
        TestFolder folder;
        ProfileStore store(folder.path());
        ASSERT_TRUE(store.CreateProfile("Eva", "Evka", false, false).ok());
        ASSERT_TRUE(store.CreateProfile(base::Cp1250("Ján"), "Jano", true, true).ok());
        folder.Write("users/_Ján/user.dat", FormatUserData({base::Cp1250("Ján"), "Jano", true, 7}));
        folder.Write("users/_Ján/user.mem", memory);
        UserConfig config;
        config.volume = 3;
        folder.Write("users/_Ján/user.cfg", FormatUserConfig(config));
        auto before = folder.Snapshot();
        if (c.list) folder.Write("users/user.lst", *c.list);
        else std::filesystem::remove(folder.path() + "/users/user.lst");

        auto user = SignIn(base::Cp1250("Ján"), folder.path());
        ASSERT_TRUE(user) << c.what << ": " << user.message();
        EXPECT_EQ(user->mood, 7) << c.what;
        EXPECT_EQ(user->pronunciation, "Jano") << c.what;
        for (const char* file : {"users/_Ján/user.dat", "users/_Ján/user.cfg",
                                 "users/_Ján/user.mem", "users/_Eva/user.dat",
                                 "users/_Eva/user.mem"})
            EXPECT_EQ(folder.Read(file), before.at(file)) << c.what << ": " << file;
        std::vector<std::string> users = store.ListUsers();
        EXPECT_EQ(std::count(users.begin(), users.end(), base::Cp1250("Ján")), 1) << c.what;
        EXPECT_EQ(std::count(users.begin(), users.end(), "Eva"), 1) << c.what;
    }
}

// A folder left half made keeps what it holds; creation adds only the missing files.
TEST(ConsoleSession, CreationKeepsTheFilesOfAnIncompleteFolder) {
    TestFolder folder;
    const std::string memory = "[DUZ]\r\nOBJECT(user)\r\n->\r\njedlo:pizza\r\n<-\r\n";
    folder.Write("users/_Ivo/user.mem", memory);
    folder.Write("users/_Ivo/user.cfg", "[user]\r\n");  // damaged: no complete profile
    auto user = SignIn("Ivo", folder.path());
    ASSERT_FALSE(user);
    const std::string& error = user.message();
    EXPECT_EQ(folder.Read("users/_Ivo/user.mem"), memory);
    EXPECT_EQ(folder.Read("users/_Ivo/user.cfg"), "[user]\r\n");
    EXPECT_EQ(folder.Read("users/_Ivo/user.dat"), FormatUserData({"Ivo", "Ivo", true, 0}));
    EXPECT_NE(error.find("users/_Ivo/user.cfg"), std::string::npos) << error;
}

}  // namespace
}  // namespace tamzel::profiles
