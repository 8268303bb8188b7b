#include <cstdio>

#include "ui/Modes.h"

namespace tamzel::ui {

int RunSpeak(const CommandLine&) {
    std::fprintf(stderr, "Reč zatiaľ nie je k dispozícii.\n");
    return 1;
}

}  // namespace tamzel::ui
