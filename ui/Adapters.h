// The real program's implementations of the main window's ports: the conversation engine
// and the profile store's shutdown write.
#pragma once

#include <memory>

#include "engine/Engine.h"
#include "profiles/ProfileStore.h"
#include "ui/MainWindow.h"
#include "ui/Ports.h"

namespace tamzel::ui {

class EngineTalk : public TalkPort {
public:
    explicit EngineTalk(engine::Engine& engine) : engine_(engine) {}
    void InitEngine() override { engine_.InitEngine(); }
    std::string OpeningLine() override { return engine_.OpeningLine(); }
    std::string AnswerSentence(const std::string& text, bool idle, bool hover) override;
    bool InputUnderstood() const override { return engine_.InputUnderstood; }
    bool QuitRequested() const override { return engine_.QuitRequested; }
    std::string LastInput() const override { return engine_.LastInput; }
    std::string LastAnswer() const override { return engine_.LastAnswer; }
    UserValues Profile() const override;
    void SetProfile(const UserValues& values) override;

private:
    engine::Engine& engine_;
};

class ProfileShutdownStore : public ShutdownStore {
public:
    explicit ProfileShutdownStore(profiles::ProfileStore& store) : store_(store) {}
    std::string Store(const Settings& settings, const UserValues& user) override;

private:
    profiles::ProfileStore& store_;
};

}  // namespace tamzel::ui
