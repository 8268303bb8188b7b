// The build counter: when the first command-line word is exactly "build" and build.txt
// exists, the integer on its first line is rewritten increased by one. Nothing else reads it.
#pragma once

#include <string>
#include <vector>

namespace tamzel::ui {

// Returns the number now in the file, or -1 when nothing was read.
long BumpBuildCounter(const std::string& path, const std::vector<std::string>& args);

}  // namespace tamzel::ui
