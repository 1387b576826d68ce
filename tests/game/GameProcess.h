#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>

// The real game, started as its own process in a working directory of the test's: assets/ holds
// links to the run directory's asset folders and a config.ini with the given text. Everything it
// logs goes to game.log there. A game still running when this goes is killed.
class GameProcess {
public:
    GameProcess(const std::string& executable, const std::string& runDirectory,
                const std::string& workDirectory, const std::string& configText);
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    bool isStarted() const { return pid > 0; }
    std::string log() const;
    bool waitForLog(const std::string& text, std::chrono::milliseconds timeout) const;
    // The exit status once the game has ended by itself; nullopt when it is still running at the
    // timeout or ended through a signal.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    // True once waitForExit has seen the game end, by itself or through a signal.
    bool hasEnded() const { return reaped; }

private:
    std::string logPath;
    pid_t pid = -1;
    bool reaped = false;
};
