// Where a user's profile lives on disk. Profile files hold Windows-1250 text, but folder
// names follow the Linux convention and are UTF-8, so shells and file managers show "_Ján"
// as it is. The engine (memory file) and the profile store both use these functions, so
// the two can never disagree about a folder. The name must already be a valid user name
// (the profile store checks that); nothing here validates it.
#pragma once

#include <string>

namespace tamzel::base {

// "users/_" + the UTF-8 form of the Windows-1250 user name.
std::string ProfileFolder(const std::string& cp1250Name);

// The user's memory file inside the profile folder: ProfileFolder(name) + "/user.mem".
std::string MemoryFileOf(const std::string& cp1250Name);

}  // namespace tamzel::base
