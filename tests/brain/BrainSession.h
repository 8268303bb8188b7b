// Conversations with the shipped brain for tests and benchmarks.
//
//   BrainFolder folder;                  // private program folder with the built brain,
//                                        // made the working folder while it lives
//   BrainSession s(folder, "Peter");     // signs the user in through the profile store
//   s.Opening(); s.Say("Ahoj!");         // UTF-8 in, UTF-8 out, emoticon tags removed
//   s.Restart();                         // sign out, a new engine, sign in again
//
// The random generator has a fixed seed and the clock a fixed time, so every run of a
// test sees the same answers.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "base/Tags.h"
#include "engine/Engine.h"
#include "tools/brainc/DialogueRunner.h"

namespace tamzel::brain_testing {

// The built brain: ${TAMZEL_HOME}/ai/brainfile.ai, empty when it is not there.
std::string BuiltBrainPath();

using brainc::FixedClock;  // local time fixed by the test

using brainc::MakeTime;

class BrainFolder {
public:
    BrainFolder();
    ~BrainFolder();
    bool ready() const { return ready_; }
    const std::string& path() const { return path_; }
    std::string Read(const std::string& relative) const;

private:
    std::string path_;
    std::filesystem::path previous_;
    bool ready_ = false;
};

// The dialogue runner's session (profile store, fixed clock and seed) in a BrainFolder.
class BrainSession {
public:
    BrainSession(BrainFolder& folder, const std::string& userUtf8, bool male = true,
                 uint64_t seed = 1);

    std::string Opening() { return session_.Opening(); }
    std::string Say(const std::string& utf8) { return session_.Say(utf8); }
    std::string Idle() { return session_.Idle(); }
    std::string Hover() { return session_.Hover(); }
    void Restart() { session_.Restart(); }
    void NewConversation() { session_.NewConversation(); }
    void SetTime(std::tm when) { session_.SetTime(when); }

    engine::Engine& engine() { return session_.engine(); }
    bool understood() const { return session_.understood(); }
    bool quitRequested() const { return session_.quitRequested(); }

private:
    brainc::DialogueSession session_;
};

// The text as the window shows it: every "<...>" run removed.
using base::StripTags;

}  // namespace tamzel::brain_testing
