#include "ui/SpeechHookup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "tests/ProgramFolderSupport.h"
#include "tests/ui/TempFolder.h"
#include "tests/ui/TestApplication.h"
#include "ui/Text.h"

namespace tamzel::ui {
namespace {
namespace fs = std::filesystem;

struct MessageRecorder : MessagePort {
    void ShowMessageDialog(const std::string& title, const std::string& text) override {
        shown.emplace_back(title, text);
    }
    bool AskQuestion(const std::string&, const std::string&) override { return false; }
    std::vector<std::pair<std::string, std::string>> shown;
};

struct FixedSliders : SettingsPort {
    int Volume() const override { return 10; }
    int Speed() const override { return 65; }
    int Intonation() const override { return 3; }
    void SetLevels(int, int, int) override {}
    void ShowSettings() override {}
};

struct NoTalk : TalkPort {
    base::Status InitEngine() override { return base::Ok(); }
    base::Result<engine::TurnResult> OpeningLine() override { return engine::TurnResult{}; }
    base::Result<engine::TurnResult> AnswerSentence(const std::string&, engine::TurnKind) override {
        return engine::TurnResult{};
    }
    base::ProfileValues Profile() const override { return {"Peter", "Peter", true, 0}; }
    void SetProfile(const base::ProfileValues&) override {}
};

class SpeechHookupTest : public ::testing::Test {
protected:
    SpeechHookupTest() { testing::TestApp(); }
    MessageRecorder messages_;
    FixedSliders sliders_;
    NoTalk talk_;
};

// A folder without the voice pack costs the voice, with one message; nothing the window
// does with the speech port afterwards may fail or speak.
TEST_F(SpeechHookupTest, WithoutAVoicePackTheProgramGoesOnSilently) {
    testing::TempFolder empty;
    SpeechHookup hookup(messages_, sliders_, talk_);
    SpeechPort& speech = hookup.port();
    EXPECT_FALSE(speech.InitSpeech(true));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].first, "Pozor");
    EXPECT_FALSE(messages_.shown[0].second.empty());
    speech.Speak(base::Cp1250("Ahoj, ako sa máš?"));
    speech.SpeechTick();
    EXPECT_FALSE(speech.Speaking());
    speech.PlayWaveFile("gorvin/Wave/chyba.wav");
    speech.StopSpeech();
    EXPECT_EQ(messages_.shown.size(), 1u);
}

// With the voice pack in place, a start with speech switched off says nothing, whether
// this machine has a sound device or not.
TEST_F(SpeechHookupTest, AnIntactPackWithSpeechOffShowsNoMessage) {
    fs::path folder = tamzel::testing::FreshProgramFolder("tamzel-hookup");
    fs::path previous = fs::current_path();
    fs::current_path(folder);
    {
        SpeechHookup hookup(messages_, sliders_, talk_);
        bool available = hookup.port().InitSpeech(false);
        EXPECT_TRUE(messages_.shown.empty()) << messages_.shown[0].second;
        hookup.port().PlayWaveFile("gorvin/Wave/nie-je.wav");  // missing: silent
        if (!available) {
            hookup.port().Speak(base::Cp1250("Dobrý deň"));
            EXPECT_FALSE(hookup.port().Speaking());
        }
    }
    fs::current_path(previous);
    fs::remove_all(folder);
}

}  // namespace
}  // namespace tamzel::ui
