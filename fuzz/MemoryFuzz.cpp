// Memory-file reading, adding and removing on arbitrary file contents.
//   line 1: "object,property,value", the argument of the add and remove commands
//   the rest: the content of the user's memory file
#include <cstdint>

#include "fuzz/FuzzSupport.h"

using namespace tamzel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::UseProgramFolder();
    std::string all(reinterpret_cast<const char*>(data), size);
    size_t newline = all.find('\n');
    std::string argument = all.substr(0, newline);
    std::string content = newline == std::string::npos ? "" : all.substr(newline + 1);
    fuzz::PutFile("users/_Jan/user.mem", content);
    engine::EngineCore e;
    fuzz::WireEngine(e);
    size_t c1 = argument.find(',');
    std::string object = argument.substr(0, c1);
    std::string property;
    if (c1 != std::string::npos) property = argument.substr(c1 + 1, argument.find(',', c1 + 1) - c1 - 1);
    try {
        e.ReadMemoryValue(object, property);
        e.AddMemoryValue(argument);
        e.ReadMemoryValue(object, property);
        e.RemoveMemoryValue(argument);
        e.RemoveMemoryValue(object);
        e.ReadMemoryValue(object, property);
    } catch (const engine::IoError&) {
    }
    return 0;
}
