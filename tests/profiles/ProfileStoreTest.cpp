#include "profiles/ProfileStore.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "TestFolder.h"
#include "base/Files.h"
#include "base/SystemErrors.h"
#include "base/Lines.h"
#include "profiles/ProfileMessages.h"

namespace tamzel::profiles {
namespace {

using testing::TestFolder;

std::string Lines(std::initializer_list<std::string> lines) {
    return base::JoinLines(std::vector<std::string>(lines));
}

class ProfileStoreTest : public ::testing::Test {
protected:
    TestFolder folder;
    ProfileStore store{folder.path()};

    void Create(const std::string& name, bool male = true) {
        base::Status r = store.CreateProfile(name, name, male, male);
        ASSERT_TRUE(r.ok()) << r.message();
    }
    // user.dat of a folder named in UTF-8.
    std::string DataOf(const std::string& utf8Name) {
        return folder.Read("users/_" + utf8Name + "/user.dat");
    }
};

TEST_F(ProfileStoreTest, CreateWritesTheNewUserFilesAndAppendsToTheList) {
    Create(base::Cp1250("Ján"));
    Create("Eva", false);
    EXPECT_EQ(folder.Read("users/user.lst"), Lines({base::Cp1250("Ján"), "Eva"}));
    EXPECT_EQ(DataOf("Ján"),
              Lines({"[data]", "meno=" + base::Cp1250("Ján"), "vyslovnost=" + base::Cp1250("Ján"), "pohlavie=muz",
                     "nalada=0"}));
    EXPECT_EQ(DataOf("Eva"),
              Lines({"[data]", "meno=Eva", "vyslovnost=Eva", "pohlavie=zena", "nalada=0"}));
    EXPECT_EQ(folder.Read("users/_Ján/user.cfg"), FormatUserConfig(UserConfig{}));
    EXPECT_EQ(folder.Read("users/_Ján/user.mem"), "[DUZ]\r\nOBJECT(user)\r\n->\r\n<-\r\n");
    EXPECT_EQ(store.ListUsers(), (std::vector<std::string>{base::Cp1250("Ján"), "Eva"}));
}

TEST_F(ProfileStoreTest, RegistrationChecksComeInOrderAndWriteNothing) {
    Create(base::Cp1250("Ján"));
    auto before = folder.Snapshot();
    struct Case { std::string name, pronunciation; bool male; std::string title, message; };
    const Case cases[] = {
        {"", "", true, "Pozor", base::Cp1250("Neuviedol si svoje meno.")},
        {"", "", false, "Pozor", base::Cp1250("Neuviedla si svoje meno.")},
        {"Jozef.", "", false, "Pozor", base::Cp1250("Neuviedla si, ako mám vyslovovať tvoje meno.")},
        {"Jozef.", "J", true, "Pozor",
         base::Cp1250("V tvojom mene sa nachádza znak \".\". Tvoje meno však môže obsahovať len písmená "
           "slovenskej (resp. stredoeurópskej) abecedy.")},
        {"jan", "jan", true, "Upozornenie",
         base::Cp1250("Užívateľ s tvojim menom už existuje. Zmeň si prosím svoje meno.")},
        {"JAN", "jan", true, "Upozornenie",
         base::Cp1250("Užívateľ s tvojim menom už existuje. Zmeň si prosím svoje meno.")},
        {"../x", "x", true, "Pozor", MessageBadCharacter('.')},
        {"a/b", "x", true, "Pozor", MessageBadCharacter('/')},
    };
    for (const Case& c : cases) {
        base::Status r = store.CreateProfile(c.name, c.pronunciation, true, c.male);
        EXPECT_FALSE(r.ok()) << c.name;
        EXPECT_EQ(r.error().title, c.title) << c.name;
        EXPECT_EQ(r.message(), c.message) << c.name;
    }
    EXPECT_EQ(folder.Snapshot(), before);
    Create("Jana");  // close to Ján but another user
    EXPECT_EQ(store.ListUsers().back(), "Jana");
}

TEST_F(ProfileStoreTest, QuietCreationSkipsInvalidAndExistingNames) {
    EXPECT_TRUE(store.CreateProfileQuietly("peter"));
    EXPECT_FALSE(store.CreateProfileQuietly("Peter"));
    EXPECT_FALSE(store.CreateProfileQuietly("peter.novak"));
    EXPECT_EQ(folder.Read("users/user.lst"), Lines({"peter"}));
    EXPECT_EQ(store.FindUser(base::Cp1250("PÉTER")), std::optional<std::string>("peter"));
    EXPECT_FALSE(store.FindUser("petra").has_value());
}

TEST_F(ProfileStoreTest, EditingOnlyThePronunciationKeepsTheMood) {
    Create("Eva", false);
    folder.Write("users/_Eva/user.dat",
                 Lines({"[data]", "meno=Eva", "vyslovnost=Eva", "pohlavie=zena", "nalada=12"}));
    base::Status r = store.EditProfile("Eva", "Eva", "Evka", false, false);
    ASSERT_TRUE(r.ok()) << r.message();
    EXPECT_EQ(DataOf("Eva"),
              Lines({"[data]", "meno=Eva", "vyslovnost=Evka", "pohlavie=zena", "nalada=12"}));
}

TEST_F(ProfileStoreTest, RenameMovesMemoryAndSettingsAndKeepsTheListOrder) {
    Create("Adam");
    Create("Jan");
    Create("Zuzana", false);
    folder.Write("users/user.lst", Lines({"Adam", "Jan", "Zuzana", "Jan"}));
    folder.Write("users/_Jan/user.mem", Lines({"[DUZ]", "OBJECT(user)", "->", "pes:Dunco", "<-"}));
    folder.Write("users/_Jan/user.cfg", FormatUserConfig(UserConfig{false, true, false, true,
                                                                    300, 70, 9}));
    folder.Write("users/_Jan/user.dat", Lines({"[data]", "meno=Jan", "vyslovnost=Jan",
                                               "pohlavie=muz", "nalada=-3"}));
    auto memory = folder.Read("users/_Jan/user.mem");
    auto config = folder.Read("users/_Jan/user.cfg");

    base::Status r = store.EditProfile("Jan", base::Cp1250("Ján Novák"), "Jano", true, true);
    ASSERT_TRUE(r.ok()) << r.message();
    EXPECT_EQ(folder.Read("users/user.lst"),
              Lines({"Adam", base::Cp1250("Ján Novák"), "Zuzana", base::Cp1250("Ján Novák")}));
    EXPECT_EQ(folder.Read("users/_Ján Novák/user.mem"), memory);
    EXPECT_EQ(folder.Read("users/_Ján Novák/user.cfg"), config);
    EXPECT_EQ(DataOf("Ján Novák"), Lines({"[data]", "meno=" + base::Cp1250("Ján Novák"),
                                          "vyslovnost=Jano", "pohlavie=muz", "nalada=-3"}));
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/users/_Jan"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/users/changed_user.lst"));
}

TEST_F(ProfileStoreTest, RenameToAnotherUsersNameIsRefusedAndTouchesNothing) {
    Create(base::Cp1250("Ján"));
    Create("Eva", false);
    folder.Write("users/_Eva/user.mem", Lines({"[DUZ]", "OBJECT(user)", "->", "a:b", "<-"}));
    auto before = folder.Snapshot();
    for (const std::string& taken : {base::Cp1250("Ján"), std::string("jan"), std::string("JAN")}) {
        base::Status r = store.EditProfile("Eva", taken, "x", false, false);
        EXPECT_FALSE(r.ok()) << taken;
        EXPECT_EQ(r.error().title, "Upozornenie");
        EXPECT_EQ(r.message(), MessageNameTaken());
        EXPECT_EQ(folder.Snapshot(), before) << taken;
    }
    // The checks of registration apply as well, before anything is read or written.
    base::Status bad = store.EditProfile("Eva", "Eva/..", "x", false, false);
    EXPECT_EQ(bad.message(), MessageBadCharacter('/'));
    EXPECT_EQ(folder.Snapshot(), before);
}

TEST_F(ProfileStoreTest, RenameWithinTheSameUserMovesTheFolder) {
    Create("jan");
    folder.Write("users/_jan/user.mem", Lines({"[DUZ]", "OBJECT(user)", "->", "a:b", "<-"}));
    auto memory = folder.Read("users/_jan/user.mem");
    for (const std::string& next : {std::string("Jan"), base::Cp1250("Ján")}) {
        std::string previous = store.ListUsers().front();
        base::Status r = store.EditProfile(previous, next, next, true, true);
        ASSERT_TRUE(r.ok()) << r.message();
        EXPECT_EQ(store.ListUsers(), std::vector<std::string>{next});
        EXPECT_EQ(folder.Read("users/_" + base::ToUtf8(next) + "/user.mem"), memory);
    }
}

TEST_F(ProfileStoreTest, RenameOntoALeftoverFolderReplacesItsFiles) {
    Create("Eva", false);
    folder.Write("users/_Evka/user.mem", "stale");
    folder.Write("users/_Eva/user.mem", Lines({"[DUZ]", "OBJECT(user)", "->", "a:b", "<-"}));
    auto memory = folder.Read("users/_Eva/user.mem");
    ASSERT_TRUE(store.EditProfile("Eva", "Evka", "Evka", false, false).ok());
    EXPECT_EQ(folder.Read("users/_Evka/user.mem"), memory);
    EXPECT_EQ(store.ListUsers(), std::vector<std::string>{"Evka"});
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/users/_Eva"));
}

TEST_F(ProfileStoreTest, DeleteRemovesAllEqualLinesAndTheFolder) {
    Create("Jan");
    Create("Eva", false);
    folder.Write("users/user.lst", Lines({"Jan", "Eva", "Jan", "jan"}));
    base::Status r = store.DeleteProfile("Jan");
    ASSERT_TRUE(r.ok()) << r.message();
    EXPECT_EQ(folder.Read("users/user.lst"), Lines({"Eva", "jan"}));
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/users/_Jan"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/users/user_stay.lst"));
    EXPECT_EQ(DataOf("Eva").substr(0, 6), "[data]");
}

TEST_F(ProfileStoreTest, DeletingAnInvalidListLineNeverUsesItAsAPath) {
    Create("Eva", false);
    folder.Write("victim/user.dat", "keep");
    folder.Write("users/user.lst", Lines({"Eva", "../victim", ".."}));
    ASSERT_TRUE(store.DeleteProfile("../victim").ok());
    ASSERT_TRUE(store.DeleteProfile("..").ok());
    EXPECT_EQ(folder.Read("victim/user.dat"), "keep");
    EXPECT_EQ(store.ListUsers(), std::vector<std::string>{"Eva"});
    EXPECT_FALSE(store.LoadSignIn("../victim"));
}

TEST_F(ProfileStoreTest, SignInLoadsBothFilesAndReportsDamagedOnes) {
    Create("Eva", false);
    Create("Jan");
    folder.Write("users/_Eva/user.cfg", FormatUserConfig({true, false, true, false, 5, 60, 7}));
    auto eva = store.LoadSignIn("Eva");
    ASSERT_TRUE(eva) << eva.message();
    EXPECT_EQ(eva->data.name, "Eva");
    EXPECT_FALSE(eva->data.male);
    EXPECT_FALSE(eva->config.speech);
    EXPECT_EQ(eva->config.intonation, 7);

    folder.Write("users/_Jan/user.dat", Lines({"[data]", "meno=Jan", "vyslovnost=Jan",
                                               "pohlavie=muz", "nalada=vesela"}));
    auto jan = store.LoadSignIn("Jan");
    EXPECT_FALSE(jan);
    EXPECT_NE(jan.message().find("users/_Jan/user.dat"), std::string::npos) << jan.message();
    EXPECT_NE(jan.message().find("riadku 5"), std::string::npos) << jan.message();
    auto damaged = folder.Read("users/_Jan/user.dat");
    EXPECT_FALSE(store.StoreUserData({"Jan", "Jan", true, 3}).ok());  // no blend from garbage
    EXPECT_EQ(folder.Read("users/_Jan/user.dat"), damaged);
    std::filesystem::remove(folder.path() + "/users/_Eva/user.cfg");
    auto noConfig = store.LoadSignIn("Eva");
    EXPECT_NE(noConfig.message().find("users/_Eva/user.cfg"), std::string::npos) << noConfig.message();
    // Other profiles stay usable.
    Create("Ivo");
    EXPECT_TRUE(store.LoadSignIn("Ivo"));
}

TEST_F(ProfileStoreTest, ShutdownWritesIniConfigAndBlendedMood) {
    Create(base::Cp1250("Ján"));
    folder.Write("users/_Ján/user.dat", FormatUserData({base::Cp1250("Ján"), base::Cp1250("Ján"), true, 4}));
    UserConfig config{false, true, true, false, 420, 80, 2};
    StartSettings settings{false, base::Cp1250("Ján"), "design/interface.thm"};
    base::Status r = store.StoreAtShutdown(settings, {base::Cp1250("Ján"), "Jano", false, 15}, config);
    ASSERT_TRUE(r.ok()) << r.message();
    EXPECT_EQ(DataOf("Ján"), Lines({"[data]", "meno=" + base::Cp1250("Ján"), "vyslovnost=Jano",
                                    "pohlavie=zena", "nalada=5"}));
    EXPECT_EQ(folder.Read("users/_Ján/user.cfg"), FormatUserConfig(config));
    EXPECT_EQ(folder.Read("users/tamzel.ini"),
              Lines({"[tamzel]", "autolog=0", "last_user=" + base::Cp1250("Ján"),
                     "theme=design/interface.thm"}));
    StartSettings back = store.ReadIni();
    EXPECT_FALSE(back.autolog);
    EXPECT_EQ(back.lastUser, base::Cp1250("Ján"));
}

TEST_F(ProfileStoreTest, AFailedWriteIsReportedAndKeepsTheOldContent) {
    Create("Eva", false);
    auto before = folder.Snapshot();
    base::SetWriteFaultInjector([](const std::string& path) {
        bool list = path.size() > 4 && path.compare(path.size() - 4, 4, ".lst") == 0;
        return list ? ENOSPC : 0;
    });
    base::Status created = store.CreateProfile("Ivo", "Ivo", true, true);
    base::Status deleted = store.DeleteProfile("Eva");
    base::SetWriteFaultInjector(nullptr);
    EXPECT_FALSE(created.ok());
    EXPECT_NE(created.message().find(base::ErrorPhrase1250(ENOSPC)), std::string::npos)
        << created.message();
    EXPECT_FALSE(deleted.ok());
    EXPECT_EQ(folder.Read("users/user.lst"), before.at("users/user.lst"));
    EXPECT_EQ(folder.Read("users/_Eva/user.dat"), before.at("users/_Eva/user.dat"));
}

}  // namespace
}  // namespace tamzel::profiles
