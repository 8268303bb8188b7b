#include "base/ProfilePaths.h"

#include "base/Codepage.h"

namespace tamzel::base {

std::string ProfileFolder(const std::string& cp1250Name) {
    return "users/_" + ToUtf8(cp1250Name);
}

std::string MemoryFileOf(const std::string& cp1250Name) {
    return ProfileFolder(cp1250Name) + "/user.mem";
}

}  // namespace tamzel::base
