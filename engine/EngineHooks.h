// What the engine tells the program around it while it works: the hooks a program sets
// before InitEngine. All texts are Windows-1250.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tamzel::engine {

// Watches rule passes from outside (the brain's coverage report). Record numbers count the
// brain's records from 1, in file order.
class PassTrace {
public:
    virtual ~PassTrace() = default;
    virtual void BlockEntered(int32_t headRecord) = 0;  // the block's conditions held
    virtual void AnswerChosen(int32_t record) = 0;      // an answer line was given
};

struct EngineHooks {
    // Called for a fatal stop with the reason (Slovak). Must not return normally in
    // production (by default: one line on standard error, then the process ends); tests
    // make it throw.
    std::function<void(const std::string& reason)> onFatalStop;
    // Opens a document, page or program the brain names; by default the desktop's handler.
    std::function<void(const std::string& path)> onRunProgram;
    // Diagnostics for faults in the brain's data; discarded unless set (console --verbose).
    std::function<void(const std::string& message)> onReportError;
    // Problems with memory files that cost nothing but should be reported to the user; the
    // same problem is reported once until a write succeeds again.
    std::function<void(const std::string& message)> onMemoryProblem;
    // Not owned; null (the normal case) costs one test per block head and answer group.
    PassTrace* passTrace = nullptr;
};

}  // namespace tamzel::engine
