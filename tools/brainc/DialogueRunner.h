// Dialogue scripts: conversations with a compiled brain, written with the replies they must
// (and must not) get, run by `tamzel-brainc --test`. The format is described at the top of
// DialogueRunner.cpp and in docs/brain-language.md ("Dialogue tests").
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "engine/Engine.h"

namespace tamzel::brainc {

struct DialogueCheck {
    enum class Kind { Contains, Lacks, Understood, NotUnderstood };
    Kind kind = Kind::Contains;
    int line = 0;
    std::string text;     // as written after the mark (UTF-8)
    std::wregex pattern;  // Contains and Lacks
};

struct DialogueStep {
    enum class Kind { Say, Open, Idle, Hover, Restart, Time };
    Kind kind = Kind::Say;
    int line = 0;
    std::string text;  // Say: the sentence (UTF-8)
    std::tm when{};    // Time
    std::vector<DialogueCheck> checks;
    bool IsTurn() const { return kind != Kind::Restart && kind != Kind::Time; }
};

struct Dialogue {
    std::string file;
    int line = 0;
    std::string name;
    std::string user = "Tester";
    bool male = true;
    std::tm start{};
    std::vector<DialogueStep> steps;
};

struct ScriptProblem {
    std::string file;
    int line = 0;
    std::string message;  // UTF-8, Slovak
};

struct DialogueScript {
    std::vector<Dialogue> dialogues;
    std::vector<ScriptProblem> problems;
};

DialogueScript ParseDialogues(const std::string& file, const std::string& utf8);

// A local date and time: year, month 1..12, day, hour, minute; the weekday is worked out.
std::tm MakeTime(int year, int month, int day, int hour, int minute);

// The default clock of a dialogue: 2026-12-08 14:15, a Tuesday.
std::tm DefaultDialogueTime();

struct DialogueFailure {
    int line = 0;          // of the failing check (of the turn when it has none)
    int turnLine = 0;
    std::string sentence;  // what the turn said ("@open", "@idle" ... for the others)
    std::string reply;     // UTF-8, emoticon tags removed
    std::string check;     // what was expected
};

// One turn as it went, for observers such as the coverage report.
struct TurnOutcome {
    const DialogueStep* step = nullptr;
    std::string reply;  // UTF-8, as shown
    bool understood = true;
};

struct DialogueRunOptions {
    std::string brainFile;  // copied into the fresh program folder as ai/brainfile.ai
    uint64_t seed = 1;
    engine::PassTrace* trace = nullptr;
    std::function<void(const TurnOutcome&)> onTurn;
};

// Runs the dialogue in a fresh temporary program folder (removed afterwards) and returns the
// first failing check, or nothing when every check held. Throws std::runtime_error when the
// program folder cannot be prepared.
std::optional<DialogueFailure> RunDialogue(const Dialogue& dialogue, const DialogueRunOptions& options);

// `tamzel-brainc --test`: every dialogue of the files with seeds 1..seeds; a line per
// dialogue, then "N passed, N failed". Returns the exit code (1 when anything failed).
int RunDialogueTests(const std::string& brainFile, const std::vector<std::string>& files, int seeds);

// The files named on the command line, a folder standing for its *.txt files (sorted), so
// that a new script is picked up without configuring the build again.
std::vector<std::string> ExpandScriptArguments(const std::vector<std::string>& args);

// A temporary program folder made the working folder while it lives, holding the brain.
class TemporaryProgramFolder {
public:
    explicit TemporaryProgramFolder(const std::string& brainFile);
    ~TemporaryProgramFolder();
    TemporaryProgramFolder(const TemporaryProgramFolder&) = delete;
    TemporaryProgramFolder& operator=(const TemporaryProgramFolder&) = delete;

private:
    std::string path_;
    std::string previous_;
};

// A clock that always says the same time.
class FixedClock : public base::Clock {
public:
    explicit FixedClock(std::tm when) : when_(when) {}
    std::tm Now() const override { return when_; }

private:
    std::tm when_;
};

// A conversation through the profile store, as the console holds it.
class DialogueSession {
public:
    DialogueSession(const std::string& userUtf8, bool male, uint64_t seed, std::tm when,
                    engine::PassTrace* trace);
    ~DialogueSession();
    std::string Opening();
    std::string Say(const std::string& utf8);
    std::string Idle();
    std::string Hover();
    void Restart();
    // A new conversation of the same user, as "Nový" in the window.
    void NewConversation();
    void SetTime(std::tm when);
    // Of the latest turn.
    bool understood() const { return last_.understood; }
    bool quitRequested() const { return last_.quitRequested; }
    engine::Engine& engine() { return *engine_; }

private:
    void Start();
    void Stop();
    // The shown reply of a turn; a failed turn stops the dialogue with its message.
    std::string Shown(base::Result<engine::TurnResult> turn);

    std::string user_;
    bool male_;
    uint64_t seed_;
    std::tm when_;
    engine::PassTrace* trace_;
    std::unique_ptr<engine::Engine> engine_;
    engine::TurnResult last_;
};

}  // namespace tamzel::brainc
