#include "tests/support/ChildProcess.h"

#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

ChildResult runInChild(const std::function<void()>& body) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return {};
    }
    const pid_t pid = fork();
    if (pid < 0) {
        // No child: waiting would reap whatever other child this process has.
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return {};
    }
    if (pid == 0) {
        close(pipeEnds[0]);
        dup2(pipeEnds[1], STDERR_FILENO);
        body();
        std::_Exit(0);
    }
    close(pipeEnds[1]);
    ChildResult result;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        result.standardError.append(buffer, static_cast<std::size_t>(n));
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) {
        result.exitStatus = WEXITSTATUS(status);
    }
    return result;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}
