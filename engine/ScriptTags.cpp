// Script tags: first compiling version; the tag passes follow in the next commit.
#include "engine/Engine.h"

namespace tamzel::engine {

void Engine::ExpandTags(std::string&) {}
bool Engine::HasTags(const std::string&) { return false; }
void Engine::SelectSentence(const std::string&) {}
void Engine::StoreSentence(int target) {
    if (target == 1) CurrentInput = WorkSentence;
    if (target == 2) LastAnswer = WorkSentence;
    if (target == 3) LastInput = WorkSentence;
}
int Engine::TimePart(int) { return 0; }
std::string Engine::PickRandomItem(const std::string& list) { return list; }

int WordPosition(const std::string&, const std::string&) { return 0; }
std::string PickItem(const std::string& list, int) { return list; }

}  // namespace tamzel::engine
