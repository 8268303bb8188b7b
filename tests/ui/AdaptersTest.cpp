#include "ui/Adapters.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <filesystem>

#include "base/Files.h"
#include "base/SystemErrors.h"
#include "base/Codepage.h"
#include "tests/ProgramFolderSupport.h"
#include "ui/Text.h"

namespace tamzel::ui {
namespace {
namespace fs = std::filesystem;

// A copy of the built program folder (with the shipped brain) as the working folder.
class AdaptersTest : public ::testing::Test {
protected:
    AdaptersTest() : folder_(tamzel::testing::FreshProgramFolder("tamzel-adapters")) {
        previous_ = fs::current_path();
        fs::current_path(folder_);
    }
    ~AdaptersTest() override {
        base::SetWriteFaultInjector(nullptr);
        fs::current_path(previous_);
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }

    fs::path folder_, previous_;
    engine::Engine engine_;
    EngineTalk talk_{engine_};
};

TEST_F(AdaptersTest, AMissingBrainIsAMessageNamingTheFile) {
    fs::remove("ai/brainfile.ai");
    base::Status loaded = talk_.InitEngine();
    ASSERT_FALSE(loaded.ok());
    EXPECT_NE(loaded.message().find("brainfile.ai"), std::string::npos) << loaded.message();
}

TEST_F(AdaptersTest, TurnsReportTheReplyAndTheMoodTheProfileHolds) {
    ASSERT_TRUE(fs::exists("ai/brainfile.ai")) << "the program folder is built first";
    talk_.SetProfile({base::Cp1250("Mária"), base::Cp1250("Mária"), false, 12});
    ASSERT_TRUE(talk_.InitEngine().ok());
    auto opening = talk_.OpeningLine();
    ASSERT_TRUE(opening.ok()) << opening.message();
    EXPECT_FALSE(opening->reply.empty());
    auto turn = talk_.AnswerSentence("Ahoj", engine::TurnKind::Typed);
    ASSERT_TRUE(turn.ok()) << turn.message();
    EXPECT_FALSE(turn->reply.empty());
    EXPECT_FALSE(turn->heardInput.empty());
    EXPECT_EQ(turn->mood, talk_.Profile().mood);
    EXPECT_EQ(talk_.Profile().name, base::Cp1250("Mária"));
    EXPECT_FALSE(talk_.Profile().male);
}

// The brain file is read on every turn; when it is gone the turn is a message, and the
// conversation goes on once it is back.
TEST_F(AdaptersTest, ABrainThatVanishesMidConversationIsAMessageNotACrash) {
    ASSERT_TRUE(talk_.InitEngine().ok());
    fs::rename("ai/brainfile.ai", "ai/odlozeny.ai");
    base::Result<engine::TurnResult> turn = talk_.AnswerSentence("Ahoj", engine::TurnKind::Typed);
    EXPECT_FALSE(turn.ok());
    EXPECT_NE(turn.message().find("brainfile.ai"), std::string::npos) << turn.message();
    fs::rename("ai/odlozeny.ai", "ai/brainfile.ai");
    turn = talk_.AnswerSentence("Ahoj", engine::TurnKind::Typed);
    EXPECT_TRUE(turn.ok()) << turn.message();
}

// Every value of the shutdown write lands in its own field of its own file: a swap of two
// sliders or switches would go unnoticed until the next start.
TEST_F(AdaptersTest, TheShutdownWriteKeepsEverySettingInItsPlace) {
    profiles::ProfileStore store(".");
    ASSERT_TRUE(store.CreateProfile(base::Cp1250("Mária"), base::Cp1250("Majka"), false, false).ok());
    ProfileShutdownStore shutdown(store);
    ShutdownStore::Settings settings{false, false, true, false, true, 300, 70, 9,
                                     "design/modrá téma.thm"};
    EXPECT_TRUE(shutdown.Store(settings, {base::Cp1250("Mária"), base::Cp1250("Majka"), false, 40}).ok());

    profiles::StartSettings ini = store.ReadIni();
    EXPECT_FALSE(ini.autolog);
    EXPECT_EQ(ini.lastUser, base::Cp1250("Mária"));
    EXPECT_EQ(ini.theme, base::Cp1250("design/modrá téma.thm"));
    auto profile = store.LoadSignIn(base::Cp1250("Mária"));
    ASSERT_TRUE(profile.ok()) << profile.message();
    const profiles::UserConfig& c = profile->config;
    EXPECT_EQ((std::vector<bool>{c.records, c.speech, c.animation, c.infoBar}),
              (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ((std::vector<int>{c.volume, c.speed, c.intonation}), (std::vector<int>{300, 70, 9}));
    EXPECT_EQ(profile->data.pronunciation, base::Cp1250("Majka"));
    EXPECT_EQ(profile->data.mood, profiles::BlendMood(40, 0));
}

TEST_F(AdaptersTest, AShutdownWriteThatFailsSaysWhy) {
    profiles::ProfileStore store(".");
    ASSERT_TRUE(store.CreateProfile("Peter", "Peter", true, true).ok());
    ProfileShutdownStore shutdown(store);
    // The store's message is Windows-1250 and gives the system's reason in Slovak.
    base::SetWriteFaultInjector([](const std::string& path) {
        return path.find("tamzel.ini") != std::string::npos ? ENOSPC : 0;
    });
    const std::string full = base::ErrorPhrase1250(ENOSPC);
    ShutdownStore::Settings settings{true, true, true, true, true, 10, 65, 3, "design/interface.thm"};
    std::string problem = shutdown.Store(settings, {"Peter", "Peter", true, 5}).message();
    EXPECT_NE(problem.find(full), std::string::npos) << problem;
    base::SetWriteFaultInjector(nullptr);
    auto profile = store.LoadSignIn("Peter");
    ASSERT_TRUE(profile.ok());
    EXPECT_EQ(profile->data.mood, profiles::BlendMood(5, 0)) << "the other files are written";
}

}  // namespace
}  // namespace tamzel::ui

namespace tamzel::ui {
namespace {

class RecordedMessages : public MessagePort {
public:
    void ShowMessageDialog(const std::string& title, const std::string& text) override {
        shown.push_back(title + "|" + text);
    }
    bool AskQuestion(const std::string& title, const std::string& text) override {
        shown.push_back(title + "?" + text);
        return true;
    }
    std::vector<std::string> shown;
};

// Start-up messages wait for the user's theme and then come together, in order; later
// ones and questions are not held.
TEST(HeldMessagesTest, StartMessagesWaitForTheThemeThenPassStraight) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> held;
        std::vector<std::string> atRelease;
    } cases[] = {
        {{}, {}},
        {{{"Pozor", "Bez zvuku."}}, {"Pozor|Bez zvuku."}},
        {{{"Pozor", "Bez zvuku."}, {"Chyba", "Bez hlasu."}}, {"Pozor|Bez zvuku.\\\\Bez hlasu."}},
    };
    for (const Case& c : cases) {
        RecordedMessages target;
        HeldMessages held(target);
        for (const auto& [title, text] : c.held) held.ShowMessageDialog(title, text);
        EXPECT_TRUE(target.shown.empty());
        held.Release();
        EXPECT_EQ(target.shown, c.atRelease);
        held.Release();  // a second release repeats nothing
        held.ShowMessageDialog("Chyba", "Neskoro.");
        ASSERT_EQ(target.shown.size(), c.atRelease.size() + 1);
        EXPECT_EQ(target.shown.back(), "Chyba|Neskoro.");
    }
    RecordedMessages target;
    HeldMessages held(target);
    held.ShowMessageDialog("Pozor", "Bez zvuku.");
    EXPECT_TRUE(held.AskQuestion("Potvrdenie", "Naozaj?"));
    EXPECT_EQ(target.shown, (std::vector<std::string>{"Pozor|Bez zvuku.", "Potvrdenie?Naozaj?"}));
    EXPECT_FALSE(held.holding());
}

}  // namespace
}  // namespace tamzel::ui
