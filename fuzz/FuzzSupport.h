// Shared pieces of the fuzz targets: a private program folder the process works in, an
// engine wired so that nothing leaves the process (no program runs, fatal stops throw),
// and the splitting of a fuzz input into lines.
//
// Every target calls UseProgramFolder() once; it makes a fresh folder (under
// TAMZEL_FUZZ_TMPDIR, else /dev/shm when there is one, so the many memory-file rewrites stay
// off the disk), enters it and copies the pronunciation dictionary from the program folder
// named by TAMZEL_FUZZ_HOME. A normal end removes the folder; after a crash scripts/fuzz.sh
// removes the TAMZEL_FUZZ_TMPDIR it made.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Test of engine internals.
#include "engine/internal/EngineCore.h"

namespace tamzel::fuzz {

// Thrown by the engine's fatal-stop handler: a fatal stop is an expected outcome on bad
// brain data, never a finding.
struct FatalStopped : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline std::string& ProgramFolder() {
    static std::string folder;
    return folder;
}

inline void RemoveProgramFolder() {
    std::error_code ignored;
    std::filesystem::current_path("/", ignored);
    std::filesystem::remove_all(ProgramFolder(), ignored);
}

inline std::string FolderBase() {
    namespace fs = std::filesystem;
    if (const char* chosen = std::getenv("TAMZEL_FUZZ_TMPDIR"); chosen && *chosen) return chosen;
    return fs::exists("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string();
}

inline void UseProgramFolder() {
    static bool done = false;
    if (done) return;
    done = true;
    namespace fs = std::filesystem;
    std::string pattern = FolderBase() + "/tamzel-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) std::abort();
    ProgramFolder() = pattern;
    std::atexit(RemoveProgramFolder);
    fs::current_path(pattern);
    fs::create_directories("ai");
    fs::create_directories("files");
    fs::create_directories("users/_Jan");
    const char* home = std::getenv("TAMZEL_FUZZ_HOME");
    std::string dictionary = std::string(home ? home : TAMZEL_FUZZ_DEFAULT_HOME) + "/files/slovnik.vox";
    std::error_code ignored;
    fs::copy_file(dictionary, "files/slovnik.vox", ignored);
}

// Writes bytes to a file as they are (the engine's own writer is under test elsewhere).
inline void PutFile(const std::string& path, const std::string& content) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
}

// A clock that always says the same time and a generator that always starts the same, so
// a crashing input crashes again when it is replayed.
class FixedClock : public base::Clock {
public:
    std::tm Now() const override {
        std::tm t{};
        t.tm_year = 126;
        t.tm_mon = 11;
        t.tm_mday = 8;
        t.tm_hour = 14;
        t.tm_min = 5;
        t.tm_wday = 2;
        t.tm_yday = 341;
        return t;
    }
};

inline void WireEngine(engine::EngineCore& e) {
    e.SetClock(std::make_shared<FixedClock>());
    auto random = std::make_shared<base::Random>();
    random->Seed(7);
    e.SetRandom(random);
    e.keepSeed = true;
    e.UserName = "Jan";
    e.hooks.onFatalStop = [](const std::string& reason) { throw FatalStopped(reason); };
    e.hooks.onRunProgram = [](const std::string&) {};
    e.hooks.onReportError = [](const std::string&) {};
    e.hooks.onMemoryProblem = [](const std::string&) {};
}

// Lines split at LF with a CR before it dropped; a record holds at most 255 bytes.
inline std::vector<std::string> SplitInput(const uint8_t* data, size_t size, size_t maxLine = 255) {
    std::vector<std::string> lines;
    std::string text(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > maxLine) line.resize(maxLine);
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// The empty memory file of a new profile.
inline const char* NewMemory() { return "[DUZ]\r\nOBJECT(user)\r\n->\r\n<-\r\n"; }

}  // namespace tamzel::fuzz
