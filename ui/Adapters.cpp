#include "ui/Adapters.h"

#include "engine/Codepage.h"

namespace tamzel::ui {

base::Status EngineTalk::InitEngine() {
    try {
        engine_.InitEngine();
    } catch (const engine::IoError& e) {
        return base::Fail(e.what());
    }
    return base::Ok();
}

namespace {

engine::TurnResult TurnOf(const engine::Engine& engine_, std::string reply) {
    engine::TurnResult turn;
    turn.reply = std::move(reply);
    turn.understood = engine_.InputUnderstood;
    turn.quitRequested = engine_.QuitRequested;
    turn.mood = engine_.Mood;
    turn.heardInput = engine_.LastInput;
    turn.heardReply = engine_.LastAnswer;
    return turn;
}

}  // namespace

base::Result<engine::TurnResult> EngineTalk::OpeningLine() {
    try {
        return TurnOf(engine_, engine_.OpeningLine());
    } catch (const engine::IoError& e) {
        return base::Fail(e.what());
    }
}

base::Result<engine::TurnResult> EngineTalk::AnswerSentence(const std::string& text,
                                                            engine::TurnKind kind) {
    engine_.IdleTurn = kind == engine::TurnKind::Idle;
    engine_.HoverTurn = kind == engine::TurnKind::Hover;
    std::string reply;
    try {
        reply = engine_.AnswerSentence(text);
    } catch (const engine::IoError& e) {
        engine_.IdleTurn = engine_.HoverTurn = false;
        return base::Fail(e.what());
    }
    engine_.IdleTurn = engine_.HoverTurn = false;
    return TurnOf(engine_, std::move(reply));
}

base::ProfileValues EngineTalk::Profile() const {
    return {engine_.UserName, engine_.UserNamePronunciation, engine_.UserIsMale, engine_.Mood};
}

void EngineTalk::SetProfile(const base::ProfileValues& values) {
    engine_.UserName = values.name;
    engine_.UserNamePronunciation = values.pronunciation;
    engine_.UserIsMale = values.male;
    engine_.Mood = values.mood;
}

void ReportEngineProblemsTo(engine::Engine& engine, MainWindow& window) {
    engine.onMemoryProblem = [&window](const std::string& message) {
        window.ShowEngineProblem(message);
    };
    // The engine lives longer than the window in the desktop program.
    QObject::connect(&window, &QObject::destroyed, [&engine] { engine.onMemoryProblem = nullptr; });
}

std::string ProfileShutdownStore::Store(const Settings& s, const base::ProfileValues& user) {
    profiles::StartSettings start;
    start.autolog = s.autolog;
    start.lastUser = user.name;
    start.theme = engine::FromUtf8Lossy(s.themeFile);  // the file holds Windows-1250
    profiles::UserData data{user.name, user.pronunciation, user.male, user.mood};
    profiles::UserConfig config{s.records, s.speech, s.animation, s.infoBar,
                                s.volume,  s.speed,  s.intonation};
    profiles::StoreResult result = store_.StoreAtShutdown(start, data, config);
    return result.ok ? "" : result.message;
}

}  // namespace tamzel::ui
