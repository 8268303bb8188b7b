#include "ui/BuildCounter.h"

#include <cstdlib>

#include "base/Files.h"

namespace tamzel::ui {

long BumpBuildCounter(const std::string& path, const std::vector<std::string>& args) {
    std::string text;
    if (!base::ReadWholeFile(path, text)) return -1;
    char* end = nullptr;
    long number = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str()) return -1;  // no integer on the first line: leave the file alone
    if (args.empty() || args[0] != "build") return number;
    if (!base::WriteFileAtomically(path, std::to_string(number + 1) + "\r\n")) return number;
    return number + 1;
}

}  // namespace tamzel::ui
