#include <cstdio>

#include "ui/Modes.h"

namespace tamzel::ui {

int RunGui(int, char**, const CommandLine&) {
    std::fprintf(stderr, "Okno programu zatiaľ nie je k dispozícii; skús --console.\n");
    return 1;
}

}  // namespace tamzel::ui
