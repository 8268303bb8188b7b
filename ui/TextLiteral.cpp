// The Windows-1250 form of our own literals, apart from the Qt conversions of Text.cpp so that
// the plain C++ parts of this folder (records, turn texts) can use it without Qt.
#include <cstdio>
#include <cstdlib>

#include "base/Codepage.h"
#include "ui/TextLiteral.h"

namespace tamzel::ui {

std::string Cp(const char* utf8) {
    auto converted = base::FromUtf8(utf8);
    if (!converted) {
        std::fprintf(stderr, "Literal without a Windows-1250 form: %s\n", utf8);
        std::abort();
    }
    return *converted;
}

}  // namespace tamzel::ui
