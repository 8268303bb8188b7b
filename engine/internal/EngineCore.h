// The engine's state and internals: one object holds the whole conversation (profile
// values, the working sentence, captures, answer lines, history, variables, the loaded
// brain) and the rule pass, conditions, script tags and memory files work on it. Only the
// engine's own files and the tests of its internals include this header; everything else
// uses engine/Engine.h.
//
// All texts are Windows-1250 bytes. The working folder must be the program folder.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Brain.h"
#include "engine/internal/BlockShortcuts.h"
#include "engine/EngineHooks.h"
#include "engine/KeywordTable.h"
#include "base/Seams.h"
#include "engine/TextUtils.h"

namespace tamzel::engine {

// An input/output error of the engine (brain file, memory file); the message is Slovak
// (Windows-1250) and names the file.
class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A script variable of the brain.
struct Variable {
    std::string name;
    std::string value;
    bool free = true;
};

class EngineCore {
public:
    EngineCore();
    ~EngineCore();

    // --- Entry points -------------------------------------------------------------------
    void InitEngine();
    std::string OpeningLine();
    std::string AnswerSentence(const std::string& text);
    void FinalizeEngine();

    // --- Seams ------------------------------------------------------------------------
    void SetClock(std::shared_ptr<base::Clock> clock);
    void SetRandom(std::shared_ptr<base::Random> random);
    base::Clock& clock() { return *clock_; }
    base::Random& random() { return *random_; }
    // When set, InitEngine does not reseed the generator from the clock (fixed --seed runs).
    bool keepSeed = false;
    // Brain file name, relative to the program folder.
    std::string brainPath = "ai/brainfile.ai";
    EngineHooks hooks;

    // --- Profile values ---------------------------------------------------------------
    std::string UserName;
    std::string UserNamePronunciation;
    bool UserIsMale = true;
    int32_t Mood = 0;

    // --- Conversation state -------------------------------------------------------------
    std::string CurrentInput;
    // Every sentence of the turn's input, normalised: the first pass answers only the last
    // one, but some rules (safety) must see them all.
    std::string WholeInput;
    std::string WorkSentence;
    int SentenceTarget = 1;
    std::string CurrentReply;
    std::string LastAnswer;
    std::string LastInput;
    std::array<std::string, 11> Captures;      // slots 1..10 (index 0 unused)
    std::array<std::string, 21> AnswerLines;   // lines 1..20 (index 0 unused)
    std::vector<int32_t> AnswerHistory;
    bool InputUnderstood = true;
    bool IdleTurn = false;
    bool HoverTurn = false;
    bool OpeningTurn = false;
    bool NoHistory = false;
    bool FirstTurn = true;
    int RepeatCount = 1;
    int IdleCount = 0;
    int32_t RecordNumber = 0;
    std::array<Variable, 51> Variables;        // slots 1..50 (index 0 unused)
    BrainRecord Brain;
    BlockShortcuts Shortcuts;  // of the loaded Brain
    KeywordTable Keywords;
    bool InWordListTest = false;
    bool QuitRequested = false;                // set by the brain's quit command

    // --- Rule pass (RulePass.cpp) ----------------------------------------------------------
    std::string RunTurn();
    std::string RunRulePass();
    int ChooseAlternative(int count, int32_t first);
    // Reads the next record inside a pass: the decoded record, RecordNumber + 1, leading
    // blanks off. The text stays valid until the next ReadLine.
    const std::string& ReadLine(BrainRecord& reader);
    // BracketContent(text, '(', ')'); a missing ')' is reported ("Zly string " + record).
    std::string BracketArgument(const std::string& text);
    // The same into `out`, whose storage is reused.
    void BracketArgumentInto(const std::string& text, std::string& out);
    void ReportError(const std::string& message);
    void FatalStop(const std::string& reason);
    void RunProgram(const std::string& path);

    // --- Script tags (ScriptTags.cpp) ------------------------------------------------------
    void ExpandTags(std::string& text);
    bool HasTags(const std::string& text);
    void SelectSentence(std::string_view selector);
    void StoreSentence(int target);
    // Selects the current sentence again and folds it, as conditions expect it after a
    // test or tag that named another sentence; does nothing when `selected` is false.
    void RestoreCurrentSentence(bool selected);
    // SelectSentence of the current sentence, then folded; the folded text is kept while
    // the sentence stays the same, since every block 1 starts from it.
    void SelectFoldedInput();
    int TimePart(int kind);
    std::string PickRandomItem(const std::string& list);

    // --- Conditions (Conditions.cpp) ----------------------------------------------------
    // Reads the block's condition lines from `reader` up to and including "->".
    bool EvaluateCondition(int slot, BrainRecord& reader);
    // Kind 1 and 2 the stored lists, 3 the inline list `item`; `found` gets the word found.
    bool MatchWordList(int kind, std::string_view item, std::string& found);

    // --- Memory files (MemoryFile.cpp) --------------------------------------------------
    std::string MemoryFilePath() const;  // users/_<name>/user.mem (folder name in UTF-8)
    std::string ReadMemoryValue(const std::string& object, const std::string& property);
    void AddMemoryValue(const std::string& argument);     // "object,property,value"
    void RemoveMemoryValue(const std::string& argument);  // "object[,property[,value]]"

private:
    std::shared_ptr<base::Clock> clock_;
    std::shared_ptr<base::Random> random_;

    // Script tags: a brain value that brings back its own tag must not expand for ever.
    friend class TagExpansion;
    int tagDepth_ = 0;    // nesting of ExpandTags (arguments expand recursively)
    int tagBudget_ = 0;   // replacements left in the outermost ExpandTags call

    // Memory files: a change that could not be written is kept here and written again
    // with the next change, so the content is not lost and later reads see it.
    friend class MemoryStore;
    std::string pendingMemoryPath_;
    std::string pendingMemory_;
    std::string lastMemoryProblem_;  // reported once until something succeeds again

    // Texts a rule pass works on for every record and condition; kept between passes so
    // that their storage is reused instead of allocated again.
    friend class ConditionEvaluation;
    std::string recordLine_;
    std::string conditionLine_;
    std::string wordList_;
    std::string remembered_;
    std::string storedList_;
    std::string storedWord_;
    std::string foldedFrom_;
    std::string foldedInput_;
};

}  // namespace tamzel::engine
