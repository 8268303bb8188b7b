#include "engine/Engine.h"

#include "engine/internal/EngineCore.h"

namespace tamzel::engine {
namespace {

// What one turn left behind, read off the state before the next turn changes it.
TurnResult TurnOf(const EngineCore& core, std::string reply) {
    TurnResult turn;
    turn.reply = std::move(reply);
    turn.understood = core.InputUnderstood;
    turn.quitRequested = core.QuitRequested;
    turn.mood = core.Mood;
    turn.heardInput = core.LastInput;
    turn.heardReply = core.LastAnswer;
    turn.repeatCount = core.RepeatCount;
    turn.idleCount = core.IdleCount;
    return turn;
}

// The window's turns are marked only while their pass runs, also when it fails.
class TurnMarks {
public:
    TurnMarks(EngineCore& core, TurnKind kind) : core_(core) {
        core_.IdleTurn = kind == TurnKind::Idle;
        core_.HoverTurn = kind == TurnKind::Hover;
    }
    ~TurnMarks() { core_.IdleTurn = core_.HoverTurn = false; }
    TurnMarks(const TurnMarks&) = delete;
    TurnMarks& operator=(const TurnMarks&) = delete;

private:
    EngineCore& core_;
};

}  // namespace

Engine::Engine() : core_(std::make_unique<EngineCore>()) {}

Engine::~Engine() = default;

base::Status Engine::InitEngine() {
    try {
        core_->InitEngine();
    } catch (const IoError& e) {
        return base::Fail(e.what());
    }
    return base::Ok();
}

base::Result<TurnResult> Engine::OpeningLine() {
    try {
        return TurnOf(*core_, core_->OpeningLine());
    } catch (const IoError& e) {
        return base::Fail(e.what());
    }
}

base::Result<TurnResult> Engine::AnswerSentence(const std::string& text, TurnKind kind) {
    TurnMarks marks(*core_, kind);
    try {
        return TurnOf(*core_, core_->AnswerSentence(text));
    } catch (const IoError& e) {
        return base::Fail(e.what());
    }
}

void Engine::FinalizeEngine() { core_->FinalizeEngine(); }

base::ProfileValues Engine::Profile() const {
    return {core_->UserName, core_->UserNamePronunciation, core_->UserIsMale, core_->Mood};
}

void Engine::SetProfile(const base::ProfileValues& values) {
    core_->UserName = values.name;
    core_->UserNamePronunciation = values.pronunciation;
    core_->UserIsMale = values.male;
    core_->Mood = values.mood;
}

void Engine::SetClock(std::shared_ptr<base::Clock> clock) { core_->SetClock(std::move(clock)); }

void Engine::SetRandom(std::shared_ptr<base::Random> random) { core_->SetRandom(std::move(random)); }

void Engine::SetSeed(uint64_t seed) {
    core_->random().Seed(seed);
    core_->keepSeed = true;
}

void Engine::SetBrainPath(const std::string& path) { core_->brainPath = path; }

EngineHooks& Engine::hooks() { return core_->hooks; }

}  // namespace tamzel::engine
