// Runs a piece of a test as a user without special rights, in a child process: the build
// machines run tests as root, for whom every folder is writable and searchable, so a test
// of a folder the user may not write would otherwise never see the refusal.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace tamzel::ui::testing {

// The user and group "nobody" on Linux.
inline constexpr uid_t kNobody = 65534;

// Runs `body` in a child process (as "nobody" when this process is root) and returns what
// it returned; "child failed" when the child could not drop its rights or did not end well.
inline std::string RunUnprivileged(const std::function<std::string()>& body) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return "child failed: no pipe";
    pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(3);
        std::string result = body();
        size_t done = 0;
        while (done < result.size()) {
            ssize_t n = write(pipeEnds[1], result.data() + done, result.size() - done);
            if (n <= 0) _exit(4);
            done += static_cast<size_t>(n);
        }
        _exit(0);
    }
    close(pipeEnds[1]);
    std::string result;
    char buffer[512];
    ssize_t n;
    while ((n = read(pipeEnds[0], buffer, sizeof buffer)) > 0) result.append(buffer, n);
    close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return "child failed";
    return result;
}

}  // namespace tamzel::ui::testing
