#include "tests/support/LogCapture.h"

#include "engine/Logging.h"

#include <algorithm>
#include <mutex>
#include <spdlog/sinks/base_sink.h>

struct LogCapture::Sink : spdlog::sinks::base_sink<std::mutex> {
    std::vector<LoggedLine> lines;

    void sink_it_(const spdlog::details::log_msg& msg) override {
        lines.push_back({std::string(msg.logger_name.begin(), msg.logger_name.end()), msg.level,
                         std::string(msg.payload.begin(), msg.payload.end())});
    }
    void flush_() override {}
};

namespace {
Logger* const allLoggers[] = {&getGeneralLogger(), &getGlLogger(), &getPhysicsLogger(),
                              &getFreeTypeLogger()};
}

LogCapture::LogCapture() : sink(std::make_shared<Sink>()) {
    for (Logger* logger : allLoggers) {
        (*logger)->sinks().push_back(sink);
        (*logger)->set_level(spdlog::level::trace);
    }
}

LogCapture::~LogCapture() {
    for (Logger* logger : allLoggers) {
        auto& sinks = (*logger)->sinks();
        sinks.erase(std::remove(sinks.begin(), sinks.end(), sink), sinks.end());
        (*logger)->set_level(spdlog::level::info);
    }
}

const std::vector<LoggedLine>& LogCapture::lines() const { return sink->lines; }

std::vector<std::string> LogCapture::messages(spdlog::level::level_enum level) const {
    std::vector<std::string> result;
    for (const LoggedLine& line : sink->lines) {
        if (line.level == level) {
            result.push_back(line.message);
        }
    }
    return result;
}

std::size_t LogCapture::count(const std::string& message) const {
    return std::count_if(sink->lines.begin(), sink->lines.end(),
                         [&](const LoggedLine& line) { return line.message == message; });
}

std::size_t LogCapture::countAtLeast(spdlog::level::level_enum level) const {
    return std::count_if(sink->lines.begin(), sink->lines.end(),
                         [&](const LoggedLine& line) { return line.level >= level; });
}

void LogCapture::clear() { sink->lines.clear(); }
