#include "engine/Config.h"

#include "tests/support/LogCapture.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {
std::string writeIni(const std::string& text) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("vornhalt-config-" + std::to_string(::getpid()) + ".ini");
    std::ofstream(path) << text;
    return path.string();
}

struct ConfigCase {
    const char* label;
    const char* ini;
    Config expected;
};

Config with(auto change) {
    Config config;
    change(config);
    return config;
}

const ConfigCase configCases[] = {
    {"EmptyFile", "", Config{}},
    {"HexWidth", "[window]\nwidth = 0x500\n", with([](Config& c) { c.width = 1280; })},
    {"OctalWidth", "[window]\nwidth = 0100\n", with([](Config& c) { c.width = 64; })},
    {"WidthNotANumber", "[window]\nwidth = abc\n", Config{}},
    {"TrailingLettersAreIgnored", "[window]\nwidth = 1280px\n", with([](Config& c) { c.width = 1280; })},
    {"NegativeHeightPassedOn", "[window]\nheight = -5\n", with([](Config& c) { c.height = -5; })},
    {"FullscreenYes", "[window]\nfullscreen = Yes\n", with([](Config& c) { c.fullscreen = true; })},
    {"FullscreenOn", "[window]\nfullscreen = ON\n", with([](Config& c) { c.fullscreen = true; })},
    {"FullscreenOne", "[window]\nfullscreen = 1\n", with([](Config& c) { c.fullscreen = true; })},
    {"FullscreenTwoIsFalse", "[window]\nfullscreen = 2\n", Config{}},
    {"FullscreenYIsFalse", "[window]\nfullscreen = y\n", Config{}},
    {"GammaNotANumber", "[graphics]\ngamma = x\n", Config{}},
    {"GammaReal", "[graphics]\ngamma = 1.8\n", with([](Config& c) { c.gamma = 1.8f; })},
    {"GammaExponent", "[graphics]\ngamma = 1e0\n", with([](Config& c) { c.gamma = 1.0f; })},
    {"RefreshRate", "[window]\nrefresh_rate = 144\n", with([](Config& c) { c.refreshRate = 144; })},
    {"ShadowMap", "[graphics]\nshadowMapWidth = 1024\nshadowMapHeight = 512\n",
     with([](Config& c) { c.shadowMapWidth = 1024; c.shadowMapHeight = 512; })},
    {"KeysInTheWrongSectionAreIgnored", "[graphics]\nwidth = 800\n", Config{}},
    {"NamesIgnoreCase", "[WINDOW]\nWIDTH = 800\n", with([](Config& c) { c.width = 800; })},
    {"ReadsOnAfterABadLine", "[window]\nthis line is not ini\nheight = 720\n",
     with([](Config& c) { c.height = 720; })},
};

void PrintTo(const ConfigCase& c, std::ostream* out) { *out << c.label; }

class ConfigTable : public testing::TestWithParam<ConfigCase> {};

TEST_P(ConfigTable, ReadsTheValueOrKeepsTheDefault) {
    const ConfigCase& c = GetParam();
    const std::string path = writeIni(c.ini);
    const Config config = readConfig(path);
    std::filesystem::remove(path);
    EXPECT_EQ(config.width, c.expected.width);
    EXPECT_EQ(config.height, c.expected.height);
    EXPECT_EQ(config.refreshRate, c.expected.refreshRate);
    EXPECT_EQ(config.fullscreen, c.expected.fullscreen);
    EXPECT_EQ(config.shadowMapWidth, c.expected.shadowMapWidth);
    EXPECT_EQ(config.shadowMapHeight, c.expected.shadowMapHeight);
    EXPECT_EQ(config.gamma, c.expected.gamma);
}

INSTANTIATE_TEST_SUITE_P(Config, ConfigTable, testing::ValuesIn(configCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(Config, MissingFileKeepsEveryDefaultWithoutAMessage) {
    LogCapture capture;
    const Config config = readConfig("no/such/config.ini");
    EXPECT_EQ(config.width, 1920);
    EXPECT_EQ(config.height, 1080);
    EXPECT_EQ(config.refreshRate, -1);
    EXPECT_FALSE(config.fullscreen);
    EXPECT_EQ(config.shadowMapWidth, 2048);
    EXPECT_EQ(config.shadowMapHeight, 2048);
    EXPECT_EQ(config.gamma, 2.2f);
    EXPECT_TRUE(capture.lines().empty());
}

TEST(Config, LogsTheConfigurationLines) {
    LogCapture capture;
    logConfig(Config{});
    ASSERT_EQ(capture.lines().size(), 4u);
    EXPECT_EQ(capture.lines()[0].message, "=== CONFIGURATION ===");
    EXPECT_EQ(capture.lines()[1].message, "Window: 1920x1080@-1, fullscreen: false");
    EXPECT_EQ(capture.lines()[2].message, "Shadow Map: 2048x2048");
    EXPECT_EQ(capture.lines()[3].message, "Gamma: 2.2");
    for (const LoggedLine& line : capture.lines()) {
        EXPECT_EQ(line.logger, "LOG");
        EXPECT_EQ(line.level, spdlog::level::info);
    }
}

TEST(Config, TheShippedFileHoldsTheDefaults) {
    const Config config = readConfig("assets/config.ini");
    EXPECT_EQ(config.width, Config{}.width);
    EXPECT_EQ(config.height, Config{}.height);
    EXPECT_EQ(config.gamma, Config{}.gamma);
}
} // namespace
