#include "engine/Logging.h"

#include <cstdio>
#include <cstdlib>
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

void endProcessAtOnce() {
    // exit() would run the static destructors, gEngine's among them: the Engine would tear the
    // scene, the window and the GL objects down from inside whatever call failed (mid-walk,
    // mid-step, on a physics worker thread), with GL calls and teardown lines after the critical
    // one, and with loggers that static destruction may already have taken. The operating system
    // takes the window, the display connection and the memory back instead.
    for (const Logger* logger : {&generalLogger, &glLogger, &physicsLogger, &freeTypeLogger}) {
        if (*logger) {
            (*logger)->flush();
        }
    }
    std::fflush(nullptr); // C stdio buffers of standard output, should anything write there
    std::_Exit(1);
}
