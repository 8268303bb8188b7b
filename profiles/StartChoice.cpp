#include "profiles/StartChoice.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "base/Codepage.h"
#include "profiles/ProfileNames.h"

namespace tamzel::profiles {

std::string LoginName() {
    std::string login;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_name)
        login = entry->pw_name;
    if (login.empty())
        if (const char* user = std::getenv("USER")) login = user;
    return base::FromUtf8(login).value_or("");
}

std::optional<size_t> PreselectedUser(const std::vector<std::string>& users,
                                      const StartSettings& settings, bool autolog,
                                      const std::string& loginName) {
    std::optional<size_t> chosen;
    for (size_t i = 0; i < users.size(); ++i)
        if (settings.lastUser && users[i] == *settings.lastUser) chosen = i;
    if (autolog && !loginName.empty()) {
        for (size_t i = 0; i < users.size(); ++i)
            if (SameUser(users[i], loginName)) return i;
    }
    return chosen;
}

}  // namespace tamzel::profiles
