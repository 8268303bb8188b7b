#include "BrainSession.h"

#include <stdlib.h>

#include <cstdlib>
#include <stdexcept>

#include "base/Files.h"
#include "base/Codepage.h"
#include "profiles/ConsoleSession.h"

namespace tamzel::brain_testing {

std::string BuiltBrainPath() {
    const char* home = std::getenv("TAMZEL_HOME");
    if (!home) return {};
    std::string path = std::string(home) + "/ai/brainfile.ai";
    return std::filesystem::exists(path) ? path : std::string();
}

BrainFolder::BrainFolder() {
    std::string brain = BuiltBrainPath();
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tamzel-brain-XXXXXX").string();
    if (brain.empty() || !::mkdtemp(pattern.data())) return;
    path_ = pattern;
    std::filesystem::create_directories(path_ + "/ai");
    std::filesystem::copy_file(brain, path_ + "/ai/brainfile.ai");
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
    ready_ = true;
}

BrainFolder::~BrainFolder() {
    if (!previous_.empty()) std::filesystem::current_path(previous_);
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

std::string BrainFolder::Read(const std::string& relative) const {
    std::string text;
    return base::ReadWholeFile(path_ + "/" + relative, text) ? text : std::string();
}

BrainSession::BrainSession(BrainFolder&, const std::string& userUtf8, bool male,
                           uint64_t seed)
    : session_(userUtf8, male, seed, MakeTime(2026, 12, 8, 14, 30), nullptr) {}

}  // namespace tamzel::brain_testing
