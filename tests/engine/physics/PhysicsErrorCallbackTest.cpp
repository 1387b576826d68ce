#include "engine/physics/PhysicsErrorCallback.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

namespace {
struct LevelCase {
    int code;
    spdlog::level::level_enum level;
};

const LevelCase levelTable[] = {
    {1, spdlog::level::info},  {2, spdlog::level::warn}, {128, spdlog::level::warn}, {4, spdlog::level::err},
    {8, spdlog::level::err},   {16, spdlog::level::err}, {32, spdlog::level::err},   {0, spdlog::level::err},
    {1000, spdlog::level::err},
};

TEST(PhysicsErrorCallback, LevelFollowsTheCode) {
    PhysicsErrorCallback callback;
    for (const LevelCase& row : levelTable) {
        LogCapture log;
        callback.reportError(static_cast<ErrorCode>(row.code), "something", "Scene.cpp", 42);
        ASSERT_EQ(log.lines().size(), 1u) << row.code;
        EXPECT_EQ(log.lines()[0].logger, "PX");
        EXPECT_EQ(log.lines()[0].level, row.level) << row.code;
        EXPECT_EQ(log.lines()[0].message, "[Scene.cpp:42] something");
    }
}

TEST(PhysicsErrorCallback, AbortEndsTheProcess) {
    const ChildResult child = runInChild([] {
        PhysicsErrorCallback callback;
        callback.reportError(ErrorCode::Abort, "out of everything", "Heap.cpp", 7);
    });
    EXPECT_EQ(child.exitStatus, 1);
    EXPECT_NE(child.standardError.find("[critical] [Heap.cpp:7] out of everything"), std::string::npos)
        << child.standardError;
}

TEST(PhysicsErrorCallback, OwnReportsNameTheCallersFile) {
    PhysicsErrorCallback callback;
    LogCapture log;
    reportError(callback, ErrorCode::InvalidParameter, "bad");
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].message.rfind("[PhysicsErrorCallbackTest.cpp:", 0), 0u) << log.lines()[0].message;
}
} // namespace
