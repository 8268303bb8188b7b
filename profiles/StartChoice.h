// Which user the start window offers first, and who the operating system says is logged in.
// Pure choices over the user list; the window only shows the result.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "profiles/ProfileFiles.h"

namespace tamzel::profiles {

// The operating system's login name (password database, else $USER) in Windows-1250;
// empty when there is none or it has no Windows-1250 form.
std::string LoginName();

// The index into `users` (list order) to preselect, or nothing. The last line equal to the
// last signed-in user counts; with autolog on, the first user who is the same user as the
// login name wins over it.
std::optional<size_t> PreselectedUser(const std::vector<std::string>& users,
                                      const StartSettings& settings, bool autolog,
                                      const std::string& loginName);

}  // namespace tamzel::profiles
