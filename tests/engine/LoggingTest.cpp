#include "engine/Logging.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>
#include <regex>
#include <thread>

namespace {
TEST(Logging, FourLoggersAtInfoLevel) {
    const Logger* loggers[] = {&getGeneralLogger(), &getGlLogger(), &getPhysicsLogger(),
                               &getFreeTypeLogger()};
    const char* names[] = {"LOG", "GL", "PX", "FT"};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(*loggers[i]);
        EXPECT_EQ((*loggers[i])->name(), names[i]);
        EXPECT_EQ((*loggers[i])->level(), spdlog::level::info);
    }
}

TEST(Logging, LinesFollowTheGlobalPattern) {
    const ChildResult child = runInChild([] {
        getGeneralLogger()->debug("Initializing GLFW");
        getPhysicsLogger()->warn("a {} line", "formatted");
    });
    EXPECT_EQ(child.exitStatus, 0);
    const auto lines = splitLines(child.standardError);
    ASSERT_EQ(lines.size(), 1u) << "the debug line must not be written at info level";
    const std::regex pattern(
        R"(\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3}\] \[PX \] \[warning\] a formatted line)");
    EXPECT_TRUE(std::regex_match(lines[0], pattern)) << lines[0];
}

TEST(Logging, FatalStopWritesOneCriticalLineAndExitsWithOne) {
    const ChildResult child = runInChild([] {
        fatal(getGeneralLogger(), "GLFW Initialization failed");
        getGeneralLogger()->error("never reached");
    });
    EXPECT_EQ(child.exitStatus, 1);
    const auto lines = splitLines(child.standardError);
    ASSERT_EQ(lines.size(), 1u) << child.standardError;
    EXPECT_NE(lines[0].find("[LOG] [critical] GLFW Initialization failed"), std::string::npos);
}

TEST(Logging, TextFromOutsideIsAnArgumentNotAFormat) {
    LogCapture capture;
    const std::string infoLog = "0:1(2): error: unexpected '{' {}";
    getGlLogger()->error("{}", infoLog);
    EXPECT_EQ(capture.count(infoLog), 1u);
}

TEST(Logging, LinesFromTwoThreadsNeverInterleave) {
    const ChildResult child = runInChild([] {
        auto writeMany = [](char letter) {
            const std::string text(200, letter);
            for (int i = 0; i < 200; ++i) {
                getPhysicsLogger()->info("{}", text);
            }
        };
        std::thread worker(writeMany, 'w');
        writeMany('m');
        worker.join();
    });
    const auto lines = splitLines(child.standardError);
    ASSERT_EQ(lines.size(), 400u);
    for (const std::string& line : lines) {
        const std::string tail = line.substr(line.size() - 200);
        EXPECT_TRUE(tail == std::string(200, 'w') || tail == std::string(200, 'm')) << line;
    }
}
} // namespace
