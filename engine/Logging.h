#pragma once

#include <memory>
#include <spdlog/spdlog.h>

using Logger = std::shared_ptr<spdlog::logger>;

// Creates the four loggers "LOG", "GL", "PX" and "FT" on standard error with the one global
// pattern. Called once, first thing in main; every accessor below is null before it.
void setupLogging();

Logger& getGeneralLogger();
Logger& getGlLogger();
Logger& getPhysicsLogger();
Logger& getFreeTypeLogger();

// Ends the process with status 1 as soon as the loggers have written out what they hold. No
// destructor and no exit handler runs, so nothing is torn down and no line follows the last one
// logged.
[[noreturn]] void endProcessAtOnce();

// The one way to stop on an unrecoverable error: one critical line, then the process ends at once
// with status 1 (endProcessAtOnce). Safe from any thread, the physics library's workers included.
template <typename... Args>
[[noreturn]] void fatal(const Logger& logger, fmt::format_string<Args...> format, Args&&... args) {
    logger->critical(format, std::forward<Args>(args)...);
    endProcessAtOnce();
}
