#include "profiles/ProfileNames.h"

#include "base/Letters.h"
#include "profiles/ProfileMessages.h"

namespace tamzel::profiles {
namespace {

// The letters beyond A-Z that a name may hold.
const std::string& ExtraLetters() {
    static const std::string letters =
        Cp1250("ŠŤŽšťžĽľŔÁÄĹČÉÍĎŇÓÔÖŘŮÚÜÝŕáäĺčéíďňóôöřůúüý");
    return letters;
}

}  // namespace

bool IsNameCharacter(char c) {
    if (c == ' ' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return true;
    return ExtraLetters().find(c) != std::string::npos;
}

std::optional<char> FirstInvalidCharacter(const std::string& name) {
    for (char c : name)
        if (!IsNameCharacter(c)) return c;
    return std::nullopt;
}

bool IsValidName(const std::string& name) {
    return !name.empty() && !FirstInvalidCharacter(name);
}

std::string NameKey(const std::string& name) {
    std::string key = base::FoldDiacritics(name);
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

bool SameUser(const std::string& a, const std::string& b) { return NameKey(a) == NameKey(b); }

}  // namespace tamzel::profiles
