// Pieces shared by the hardening tests: a scratch program folder the test works in, a
// brain made of plain lines, file helpers, and running a piece of code in a child process
// (under a file-size limit or another user) so that its limits never touch the test runner.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/Files.h"
#include "engine/Brain.h"
// Test of engine internals.
#include "engine/internal/EngineCore.h"

namespace tamzel::hardening {

namespace fs = std::filesystem;

// A fresh folder the current process works in (engine paths are relative), removed after.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "tamzel-harden-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
        previous_ = fs::current_path();
        fs::current_path(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::current_path(previous_, ignored);
        fs::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    fs::path previous_;
};

inline void Put(const std::string& path, const std::string& content) {
    fs::path p(path);
    if (p.has_parent_path()) fs::create_directories(p.parent_path());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
}

inline std::string Get(const std::string& path) {
    std::string content;
    return base::ReadWholeFile(path, content) ? content : std::string("<missing>");
}

inline std::string BrainOf(const std::vector<std::string>& lines) {
    std::string records;
    uint8_t key = 3;
    for (const std::string& line : lines) records += engine::EncodeRecord(line, key += 7);
    return engine::BuildBrainFile(records);
}

// Runs `body` in a child process and returns its exit code (128 + signal when killed).
// The body reports a failed check by returning a non-zero code, described on stderr.
inline int InChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace tamzel::hardening
