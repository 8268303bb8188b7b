// The conversation engine: turns one sentence of the user into one reply of Tamzel.
//
//   engine::Engine e;                            // clock, random generator and hooks first
//   e.SetProfile(values);                        // who is talking (name, gender, mood)
//   base::Status loaded = e.InitEngine();        // loads ai/brainfile.ai: a new conversation
//   base::Result<TurnResult> hi = e.OpeningLine();
//   base::Result<TurnResult> turn = e.AnswerSentence(text, TurnKind::Typed);
//   e.FinalizeEngine();                          // frees the brain; Profile() keeps the mood
//
// All texts are Windows-1250 bytes; `text` may be empty (idle and hover turns are). The
// working folder must be the program folder. The engine is single-threaded and not
// re-entrant. A failure (the brain file missing, unreadable or gone in mid-conversation)
// comes back as a Slovak message naming the file, and the conversation may go on. Faults in
// the brain's data are silent, except the fatal stops (bad check bytes or sums, the halt
// command, a misused block 1), which go to `hooks().onFatalStop`.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/ProfileValues.h"
#include "base/Result.h"
#include "engine/EngineHooks.h"
#include "base/Seams.h"
#include "engine/Turn.h"

namespace tamzel::engine {

class EngineCore;

class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    base::Status InitEngine();
    base::Result<TurnResult> OpeningLine();
    base::Result<TurnResult> AnswerSentence(const std::string& text,
                                            TurnKind kind = TurnKind::Typed);
    void FinalizeEngine();

    base::ProfileValues Profile() const;
    void SetProfile(const base::ProfileValues& values);

    void SetClock(std::shared_ptr<base::Clock> clock);
    void SetRandom(std::shared_ptr<base::Random> random);
    // A fixed seed, kept by every InitEngine (otherwise it reseeds from the clock).
    void SetSeed(uint64_t seed);
    // The brain file, relative to the program folder (default ai/brainfile.ai).
    void SetBrainPath(const std::string& path);
    EngineHooks& hooks();

    // The state behind the interface, for tests of the engine's internals
    // (engine/internal/EngineCore.h).
    EngineCore& core() { return *core_; }

private:
    std::unique_ptr<EngineCore> core_;
};

}  // namespace tamzel::engine
