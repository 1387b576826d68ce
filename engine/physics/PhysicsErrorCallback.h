#pragma once

#include <source_location>

// The kinds of report, with the bit values the physics libraries use for them.
enum class ErrorCode : int {
    NoError = 0,
    DebugInfo = 1,
    DebugWarning = 2,
    InvalidParameter = 4,
    InvalidOperation = 8,
    OutOfMemory = 16,
    InternalError = 32,
    Abort = 64,
    PerfWarning = 128,
};

// Where every report of the physics layer goes: "[file:line] message" on "PX", at a level chosen by
// the code. An abort ends the process. It holds no state and may be called from any thread.
class PhysicsErrorCallback {
public:
    virtual ~PhysicsErrorCallback() = default;
    virtual void reportError(ErrorCode code, const char* message, const char* file, int line);
};

// Reports one of the world's own refusals (bad arguments, misuse) the same way, with the caller's
// source position.
void reportError(PhysicsErrorCallback& callback, ErrorCode code, const char* message,
                 std::source_location where = std::source_location::current());
