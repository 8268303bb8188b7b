// The four values of a user's profile that the conversation needs: who is talking, how
// Tamzel says the name, the gender for agreement, and Tamzel's mood towards the user.
// user.dat stores them; the engine reads and changes them; the windows show them.
// Texts are Windows-1250.
#pragma once

#include <cstdint>
#include <string>

namespace tamzel::base {

struct ProfileValues {
    std::string name;
    std::string pronunciation;
    bool male = true;
    int32_t mood = 0;

    bool operator==(const ProfileValues&) const = default;
};

}  // namespace tamzel::base
