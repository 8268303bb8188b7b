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
