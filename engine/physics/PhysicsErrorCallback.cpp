#include "engine/physics/PhysicsErrorCallback.h"

#include "engine/Logging.h"

#include <string_view>

void PhysicsErrorCallback::reportError(ErrorCode code, const char* message, const char* file, int line) {
    const Logger& logger = getPhysicsLogger();
    switch (code) {
    case ErrorCode::DebugInfo:
        logger->info("[{}:{}] {}", file, line, message);
        break;
    case ErrorCode::DebugWarning:
    case ErrorCode::PerfWarning:
        logger->warn("[{}:{}] {}", file, line, message);
        break;
    case ErrorCode::Abort:
        fatal(logger, "[{}:{}] {}", file, line, message);
    default:
        logger->error("[{}:{}] {}", file, line, message);
        break;
    }
}

void reportError(PhysicsErrorCallback& callback, ErrorCode code, const char* message, std::source_location where) {
    const std::string_view path = where.file_name();
    const std::size_t slash = path.find_last_of('/');
    const char* file = slash == std::string_view::npos ? where.file_name() : where.file_name() + slash + 1;
    callback.reportError(code, message, file, static_cast<int>(where.line()));
}
