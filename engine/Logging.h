#pragma once

#include <cstdlib>
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

// The one way to stop on an unrecoverable error: one critical line, then exit(1) at once.
// Nothing is torn down on this road, so no teardown message follows the critical one.
template <typename... Args>
[[noreturn]] void fatal(const Logger& logger, fmt::format_string<Args...> format, Args&&... args) {
    logger->critical(format, std::forward<Args>(args)...);
    std::exit(1);
}
