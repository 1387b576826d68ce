#pragma once

#include <spdlog/common.h>
#include <memory>
#include <string>
#include <vector>

struct LoggedLine {
    std::string logger;
    spdlog::level::level_enum level;
    std::string message;
};

// Records every line of the four loggers, trace and debug included, while it lives; restores
// the loggers' sinks and levels when it goes.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const std::vector<LoggedLine>& lines() const;
    std::vector<std::string> messages(spdlog::level::level_enum level) const;
    std::size_t count(const std::string& message) const;
    std::size_t countAtLeast(spdlog::level::level_enum level) const;
    void clear();

private:
    struct Sink;
    std::shared_ptr<Sink> sink;
};
