#include "tests/game/GameProcess.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

void layOutAssets(const fs::path& runDirectory, const fs::path& workDirectory,
                  const std::string& configText) {
    const fs::path assets = workDirectory / "assets";
    fs::remove_all(workDirectory);
    fs::create_directories(assets);
    for (const char* entry : {"fonts", "models", "shaders", "textures"}) {
        fs::create_directory_symlink(fs::canonical(runDirectory / "assets" / entry), assets / entry);
    }
    std::ofstream(assets / "config.ini") << configText;
}
} // namespace

GameProcess::GameProcess(const std::string& executable, const std::string& runDirectory,
                         const std::string& workDirectory, const std::string& configText)
    : logPath((fs::path(workDirectory) / "game.log").string()) {
    layOutAssets(runDirectory, workDirectory, configText);
    pid = fork();
    if (pid == 0) {
        const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(log, STDERR_FILENO);
        dup2(log, STDOUT_FILENO);
        if (chdir(workDirectory.c_str()) == 0) {
            execl(executable.c_str(), executable.c_str(), static_cast<char*>(nullptr));
        }
        _exit(127);
    }
}

GameProcess::~GameProcess() {
    if (pid > 0 && !reaped) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

std::string GameProcess::log() const {
    std::ifstream file(logPath);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool GameProcess::waitForLog(const std::string& text, std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (log().find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::optional<int> GameProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (pid > 0 && !reaped) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            reaped = true;
            if (WIFEXITED(status)) {
                return WEXITSTATUS(status);
            }
            return std::nullopt;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
}
