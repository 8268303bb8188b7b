#include <cstdio>

#include "ui/Modes.h"

namespace tamzel::ui {

int RunConsole(const CommandLine&) {
    std::fprintf(stderr, "Rozhovor v termináli zatiaľ nie je k dispozícii.\n");
    return 1;
}

}  // namespace tamzel::ui
