#pragma once

#include <cstdint>
#include <string>

// The only run-time settings of the game, read once at start from "assets/config.ini".
struct Config {
    int32_t width = 1920;
    int32_t height = 1080;
    // Read by the frame limiter as an unsigned number, so the default -1 never holds a frame back.
    int32_t refreshRate = -1;
    bool fullscreen = false;
    int32_t shadowMapWidth = 2048;
    int32_t shadowMapHeight = 2048;
    float gamma = 2.2f;
};

// Reads the settings from an INI file. A missing file, a missing key or a value that does not
// parse leaves the default, without a message; no range check is made.
Config readConfig(const std::string& path);

// The "=== CONFIGURATION ===" block on "LOG".
void logConfig(const Config& config);
