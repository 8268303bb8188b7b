#include "engine/internal/EngineCore.h"

#include <cstdio>
#include <cstdlib>

#include "base/Codepage.h"
#include "engine/InputLimit.h"

namespace tamzel::engine {

EngineCore::EngineCore() : clock_(std::make_shared<base::Clock>()), random_(std::make_shared<base::Random>()) {}

EngineCore::~EngineCore() = default;

void EngineCore::SetClock(std::shared_ptr<base::Clock> clock) {
    if (clock) clock_ = std::move(clock);
}

void EngineCore::SetRandom(std::shared_ptr<base::Random> random) {
    if (random) random_ = std::move(random);
}

void EngineCore::InitEngine() {
    LoadBrain(Brain, brainPath);
    Shortcuts.Clear();
    if (Brain.checkBytes != BrainCheckBytes())
        FatalStop(base::FromUtf8Lossy("Súbor mozgu \"" + brainPath + "\" nie je mozog tohto vydania "
                                "programu (nesedia kontrolné bajty)."));
    OpeningTurn = false;
    if (!keepSeed) random().SeedFromClock();
    InWordListTest = false;
    FirstTurn = true;
    for (Variable& v : Variables) v.free = true;
    AnswerHistory.clear();
    AnswerHistory.reserve(1);
    IdleTurn = false;
    RepeatCount = 1;
    IdleCount = 0;
    LastAnswer.clear();
    LastInput.clear();
}

std::string EngineCore::OpeningLine() {
    CurrentInput.clear();
    NoHistory = true;
    OpeningTurn = true;
    // The flags must not stay set when the pass ends with an input/output error.
    struct Restore {
        EngineCore& e;
        ~Restore() {
            e.OpeningTurn = false;
            e.NoHistory = false;
        }
    } restore{*this};
    CurrentReply = RunTurn();
    OpeningTurn = false;
    LastAnswer = CurrentReply;
    LastInput = CurrentInput;
    NormaliseSentence(LastAnswer);
    NormaliseSentence(LastInput);
    return CurrentReply;
}

std::string EngineCore::AnswerSentence(const std::string& text) {
    CurrentInput = text;
    // Every input path cuts long lines itself and says so; this is the last guard.
    if (CutToInputLimit(CurrentInput))
        ReportError("Vstup skrateny na " + IntToText(static_cast<int32_t>(kMaxInputLength)) +
                    " znakov");
    NormaliseInput(CurrentInput);
    IdleCount = IdleTurn ? IdleCount + 1 : 0;
    bool same = base::FoldDiacritics(CurrentInput) == base::FoldDiacritics(LastInput);
    RepeatCount = (!same || IdleTurn || HoverTurn) ? 1 : RepeatCount + 1;
    CurrentReply = RunTurn();
    LastAnswer = CurrentReply;
    LastInput = CurrentInput;
    NormaliseSentence(LastAnswer);
    NormaliseSentence(LastInput);
    FirstTurn = false;
    return CurrentReply;
}

void EngineCore::FinalizeEngine() {
    Brain = BrainRecord{};
    Shortcuts.Clear();
    Keywords = KeywordTable{};
    for (Variable& v : Variables) v = Variable{};
    AnswerHistory.clear();
    AnswerHistory.shrink_to_fit();
    for (std::string& s : AnswerLines) s.clear();
    for (std::string& s : Captures) s.clear();
    CurrentInput.clear();
    WholeInput.clear();
    WorkSentence.clear();
    CurrentReply.clear();
    LastAnswer.clear();
    LastInput.clear();
}

void EngineCore::ReportError(const std::string& message) {
    if (hooks.onReportError) hooks.onReportError(message);
}

void EngineCore::FatalStop(const std::string& reason) {
    if (hooks.onFatalStop) hooks.onFatalStop(reason);
    // Reached in production, or when a replaced handler returned: the stop is unconditional.
    std::fprintf(stderr, "tamzel: %s\n", base::ToUtf8(reason).c_str());
    std::fflush(stderr);
    std::_Exit(3);
}

}  // namespace tamzel::engine
