// Helpers for tests that run the real program: the built program folder, a fresh copy of
// it to run in, reading the files the program leaves, and whether a tool is on the PATH.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/Files.h"

namespace tamzel::testing {

inline bool OnPath(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// The program folder of this build (TAMZEL_HOME in the environment wins).
inline std::string Home() {
    const char* env = std::getenv("TAMZEL_HOME");
    return env ? env : TAMZEL_TEST_HOME;
}

inline std::string Read(const std::filesystem::path& path) {
    std::string content;
    tamzel::base::ReadWholeFile(path.string(), content);
    return content;
}

// Copies the built program folder, without its records and profiles, to a new folder
// /tmp/<prefix>-XXXXXX with empty users/ and zaznamy/.
inline std::filesystem::path FreshProgramFolder(const std::string& prefix) {
    namespace fs = std::filesystem;
    std::string pattern = "/tmp/" + prefix + "-XXXXXX";
    fs::path folder = mkdtemp(pattern.data());
    for (const char* sub : {"ai", "files", "design", "help", "gorvin"}) {
        if (fs::exists(fs::path(Home()) / sub))
            fs::copy(fs::path(Home()) / sub, folder / sub, fs::copy_options::recursive);
    }
    fs::create_directories(folder / "users");
    fs::create_directories(folder / "zaznamy");
    return folder;
}

}  // namespace tamzel::testing
