// Memory files: first compiling version; reading and rewriting follow in the next commit.
#include "engine/Engine.h"

namespace tamzel::engine {

std::string Engine::MemoryFilePath() const { return "users/_" + UserName + "/user.mem"; }
std::string Engine::ReadMemoryValue(const std::string&, const std::string&) { return {}; }
void Engine::AddMemoryValue(const std::string&) {}
void Engine::RemoveMemoryValue(const std::string&) {}

}  // namespace tamzel::engine
