// Shared pieces of the script-tag, condition and memory-file tests: a settable clock, a
// random generator that returns chosen numbers, a temporary program folder that the test
// works in, and a brain reader built from plain lines.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/Files.h"
#include "engine/Brain.h"
#include "base/Codepage.h"
// Test of engine internals.
#include "engine/internal/EngineCore.h"

namespace tamzel::engine::testing {

// Local time fixed by the test.
class FixedClock : public base::Clock {
public:
    std::tm now{};
    void Set(int year, int month, int day, int hour = 12, int minute = 0) {
        now = base::LocalTime(year, month, day, hour, minute);
    }
    std::tm Now() const override { return now; }
};

// Returns the queued numbers (modulo n) and remembers every n it was asked for.
class QueuedRandom : public base::Random {
public:
    std::deque<int32_t> next;
    std::vector<int32_t> asked;
    int32_t Below(int32_t n) override {
        asked.push_back(n);
        if (n <= 0) return 0;
        int32_t v = next.empty() ? 0 : next.front();
        if (!next.empty()) next.pop_front();
        return v % n;
    }
};

// A fresh folder that the test runs in (paths of the engine are relative), removed after.
class ProgramFolder {
public:
    ProgramFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tamzel-script-XXXXXX").string();
        char* made = ::mkdtemp(pattern.data());
        EXPECT_NE(made, nullptr);
        path_ = pattern;
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(path_);
        std::filesystem::create_directories("ai");
    }
    ~ProgramFolder() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

// Windows-1250 text from a UTF-8 literal of the test.

// A brain reader over the given lines, as a pass would read them.
inline BrainRecord ReaderOf(const std::vector<std::string>& lines) {
    BrainRecord reader;
    uint8_t key = 17;
    for (const std::string& line : lines) reader.text += EncodeRecord(line, key++);
    return reader;
}

// Writes a brain file made of the lines to ai/brainfile.ai of the current folder.
inline void WriteBrain(const std::vector<std::string>& lines) {
    std::string records;
    uint8_t key = 3;
    for (const std::string& line : lines) records += EncodeRecord(line, key += 7);
    ASSERT_TRUE(base::WriteFileAtomically("ai/brainfile.ai", BuildBrainFile(records)).ok());
}

inline std::string ReadFile(const std::string& path) {
    std::string content;
    return base::ReadWholeFile(path, content) ? content : std::string("<missing>");
}

// The lines of a memory file joined with CR LF, as the engine writes them.
inline std::string MemoryText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// An engine with a fixed clock and random generator and its keywords plain, as inside a
// rule pass, working on the profile folder of user "Jan" in the current folder.
class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        clock = std::make_shared<FixedClock>();
        random = std::make_shared<QueuedRandom>();
        clock->Set(2026, 12, 6, 14, 5);
        engine.SetClock(clock);
        engine.SetRandom(random);
        engine.UserName = "Jan";
        engine.hooks.onMemoryProblem = [this](const std::string& m) { problems.push_back(m); };
        engine.hooks.onReportError = [this](const std::string& m) { reports.push_back(m); };
        engine.Keywords.DecodeAll();
    }
    void TearDown() override {
        if (engine.Keywords.plain()) engine.Keywords.EncodeAll(*random);
    }

    void NewMemoryFile(const std::string& name = "Jan") {
        std::filesystem::create_directories(base::ToUtf8("users/_" + name));
        ASSERT_TRUE(base::WriteFileAtomically(base::ToUtf8("users/_" + name + "/user.mem"),
                                      MemoryText({"[DUZ]", "OBJECT(user)", "->", "<-"})).ok());
    }

    std::string Expand(std::string text) {
        engine.ExpandTags(text);
        return text;
    }

    const std::string& K(int k) { return engine.Keywords.Keyword(k); }

    ProgramFolder folder;
    EngineCore engine;
    std::shared_ptr<FixedClock> clock;
    std::shared_ptr<QueuedRandom> random;
    std::vector<std::string> problems;
    std::vector<std::string> reports;
};

}  // namespace tamzel::engine::testing
