#include <cstdio>

#include "ui/Modes.h"

namespace tamzel::ui {

int RunUnits(const CommandLine&) {
    std::fprintf(stderr, "Príprava reči zatiaľ nie je k dispozícii.\n");
    return 1;
}

}  // namespace tamzel::ui
