// The real program's implementations of the main window's ports: the conversation engine
// and the profile store's shutdown write.
#pragma once

#include <memory>

#include "engine/Engine.h"
#include "profiles/ProfileStore.h"
#include "ui/MainWindow.h"
#include "chrome/Ports.h"

namespace tamzel::ui {

// The engine is the talk port as it stands; this only forwards.
class EngineTalk : public TalkPort {
public:
    explicit EngineTalk(engine::Engine& engine) : engine_(engine) {}
    base::Status InitEngine() override { return engine_.InitEngine(); }
    base::Result<engine::TurnResult> OpeningLine() override { return engine_.OpeningLine(); }
    base::Result<engine::TurnResult> AnswerSentence(const std::string& text,
                                                    engine::TurnKind kind) override {
        return engine_.AnswerSentence(text, kind);
    }
    base::ProfileValues Profile() const override { return engine_.Profile(); }
    void SetProfile(const base::ProfileValues& values) override { engine_.SetProfile(values); }

private:
    engine::Engine& engine_;
};

// Routes the problems the engine reports while it goes on (memory files that cannot be
// written) to the window's themed message dialog.
void ReportEngineProblemsTo(engine::Engine& engine, MainWindow& window);

// What the program says while it starts (no sound card, a damaged voice pack) comes before
// the start window has read which theme the user chose. It is held until then and shown in
// that theme; held messages come in one dialog, in their order, an empty line between them.
// From then on, and for any question, everything goes straight through.
class HeldMessages : public MessagePort {
public:
    explicit HeldMessages(MessagePort& target) : target_(target) {}
    void ShowMessageDialog(const std::string& title, const std::string& text) override;
    bool AskQuestion(const std::string& title, const std::string& text) override;
    void Release();
    bool holding() const { return holding_; }

private:
    MessagePort& target_;
    bool holding_ = true;
    std::string title_;
    std::string text_;
};

class ProfileShutdownStore : public ShutdownStore {
public:
    explicit ProfileShutdownStore(profiles::ProfileStore& store) : store_(store) {}
    base::Status Store(const Settings& settings, const base::ProfileValues& user) override;

private:
    profiles::ProfileStore& store_;
};

}  // namespace tamzel::ui
