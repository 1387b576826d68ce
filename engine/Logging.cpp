#include "engine/Logging.h"

#include <spdlog/sinks/stdout_color_sinks.h>

namespace {
Logger generalLogger;
Logger glLogger;
Logger physicsLogger;
Logger freeTypeLogger;

Logger createLogger(const char* name) {
    Logger logger = spdlog::stderr_color_mt(name, spdlog::color_mode::automatic);
    // Trace and debug lines are dropped before they are formatted, so the per-frame buffer and
    // uniform traces cost one level test.
    logger->set_level(spdlog::level::info);
    return logger;
}
} // namespace

void setupLogging() {
    spdlog::set_pattern("[%Y-%m-%d %T.%e] [%=3n] [%^%l%$] %v");
    generalLogger = createLogger("LOG");
    glLogger = createLogger("GL");
    physicsLogger = createLogger("PX");
    freeTypeLogger = createLogger("FT");
}

Logger& getGeneralLogger() { return generalLogger; }
Logger& getGlLogger() { return glLogger; }
Logger& getPhysicsLogger() { return physicsLogger; }
Logger& getFreeTypeLogger() { return freeTypeLogger; }
