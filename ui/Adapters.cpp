#include "ui/Adapters.h"

#include "base/Codepage.h"

namespace tamzel::ui {

void ReportEngineProblemsTo(engine::Engine& engine, MainWindow& window) {
    engine.hooks().onMemoryProblem = [&window](const std::string& message) {
        window.ShowEngineProblem(message);
    };
    // The engine lives longer than the window in the desktop program.
    QObject::connect(&window, &QObject::destroyed,
                     [&engine] { engine.hooks().onMemoryProblem = nullptr; });
}

void HeldMessages::ShowMessageDialog(const std::string& title, const std::string& text) {
    if (!holding_) {
        target_.ShowMessageDialog(title, text);
        return;
    }
    // The dialog starts a new line at a backslash; two give the empty line between messages.
    if (title_.empty()) title_ = title;
    text_ += (text_.empty() ? "" : "\\\\") + text;
}

bool HeldMessages::AskQuestion(const std::string& title, const std::string& text) {
    Release();
    return target_.AskQuestion(title, text);
}

void HeldMessages::Release() {
    if (!holding_) return;
    holding_ = false;
    if (!title_.empty()) target_.ShowMessageDialog(title_, text_);
    title_.clear();
    text_.clear();
}

base::Status ProfileShutdownStore::Store(const Settings& s, const base::ProfileValues& user) {
    profiles::StartSettings start;
    start.autolog = s.autolog;
    start.lastUser = user.name;
    start.theme = base::FromUtf8Lossy(s.themeFile);  // the file holds Windows-1250
    profiles::UserData data{user.name, user.pronunciation, user.male, user.mood};
    profiles::UserConfig config{s.records, s.speech, s.animation, s.infoBar,
                                s.volume,  s.speed,  s.intonation};
    return store_.StoreAtShutdown(start, data, config);
}

}  // namespace tamzel::ui
