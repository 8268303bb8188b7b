#include "base/PlatformOpener.h"

#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

namespace tamzel::base {

Status OpenWithDesktop(const std::string& utf8Path) {
    std::string target = utf8Path;
    if (!target.empty() && target[0] == '-') target = "./" + target;
    char program[] = "xdg-open";
    char* argv[] = {program, target.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0)
        return Fail("Program xdg-open sa nepodarilo spusti\x9D.");
    // Reap the child without making the caller wait for the desktop.
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    return Ok();
}

}  // namespace tamzel::base
