// The program folder: the writable folder holding the installation tree (ai/, files/,
// design/, help/, gorvin/, users/, zaznamy/). Every file path of the program is relative
// to it, so the program makes it the working folder at start.
#pragma once

#include <string>

namespace tamzel::ui {

// The folder of the running executable (from /proc/self/exe).
std::string ExecutableFolder();

// Makes `folder` the working folder. Returns an empty text on success, otherwise a
// Slovak message (UTF-8) naming the folder.
std::string EnterProgramFolder(const std::string& folder);

}  // namespace tamzel::ui
