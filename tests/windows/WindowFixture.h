// A program folder of its own for every test (users/, a theme file), the five windows
// wired as the program wires them, and recorders in place of the main window and engine.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "profiles/ProfileMessages.h"
#include "profiles/ProfileStore.h"
#include "profiles/windows/OptionsForm.h"
#include "profiles/windows/RegisterForm.h"
#include "profiles/windows/WarningForm.h"
#include "profiles/windows/WelcomeForm.h"

namespace tamzel::profiles::testing {

struct MainRecorder : MainLink {
    void SetSwitches(bool r, bool s, bool a, bool i) override {
        records = r, speech = s, animation = a, infoBar = i;
    }
    bool Autolog() const override { return autolog; }
    void SetAutolog(bool on) override { autolog = on; }
    void SetTheme(const WindowTheme& t) override { theme = t; }
    void ShowMain() override { ++shown; }
    void StartFade(bool in) override { fades.push_back(in); }
    void SetMainEnabled(bool e) override { enabled = e; }

    bool records = false, speech = false, animation = false, infoBar = false;
    bool autolog = false, enabled = true;
    int shown = 0;
    WindowTheme theme;
    std::vector<bool> fades;
};

struct TalkRecorder : ui::TalkPort {
    base::Status InitEngine() override { return base::Ok(); }
    base::Result<engine::TurnResult> OpeningLine() override { return engine::TurnResult{}; }
    base::Result<engine::TurnResult> AnswerSentence(const std::string&, engine::TurnKind) override {
        return engine::TurnResult{};
    }
    base::ProfileValues Profile() const override { return values; }
    void SetProfile(const base::ProfileValues& v) override { values = v; }
    base::ProfileValues values;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Windows-1250 text of a UTF-8 literal.
    std::string Path(const std::string& relative) const;
    std::string Read(const std::string& relative) const;
    void Write(const std::string& relative, const std::string& text);
    bool Exists(const std::string& relative) const;
    // A profile made through the store, as an earlier run would have left it.
    void AddUser(const char* utf8Name, bool male = true);
    // The message dialog's current title and text (Windows-1250, lines joined by '\\').
    std::string Title() const;
    std::string Text() const;
    // Shows the start window with `login` as the operating system's user.
    void ShowWelcome(const std::string& login);

    QTemporaryDir dir;
    QString previous;
    std::unique_ptr<ProfileStore> store;
    MainRecorder main;
    TalkRecorder talk;
    ProfileLinks links;
    std::vector<std::string> sounds;
    std::unique_ptr<TWelcomeForm> welcome;
    std::unique_ptr<TOptionsForm> options;
    std::unique_ptr<TWarningForm> warning;
    std::unique_ptr<TRegisterForm> registration;
};

}  // namespace tamzel::profiles::testing
