#include "engine/Config.h"

#include "engine/Logging.h"

#include <INIReader.h>
#include <cstdlib>

namespace {
// strtod on the raw text: a text in which no number starts (missing, empty, "x") keeps the default.
float readReal(const INIReader& reader, const std::string& section, const std::string& name,
               float fallback) {
    const std::string text = reader.Get(section, name, "");
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return end == text.c_str() ? fallback : static_cast<float>(value);
}

// INIReader converts with strtol in base 0: decimal, 0x hexadecimal and leading-zero octal.
int32_t readInteger(const INIReader& reader, const std::string& section, const std::string& name,
                    int32_t fallback) {
    return static_cast<int32_t>(reader.GetInteger(section, name, fallback));
}
} // namespace

Config readConfig(const std::string& path) {
    const INIReader reader(path);
    Config config;
    config.width = readInteger(reader, "window", "width", config.width);
    config.height = readInteger(reader, "window", "height", config.height);
    config.refreshRate = readInteger(reader, "window", "refresh_rate", config.refreshRate);
    config.fullscreen = reader.GetBoolean("window", "fullscreen", false);
    config.shadowMapWidth = readInteger(reader, "graphics", "shadowMapWidth", config.shadowMapWidth);
    config.shadowMapHeight = readInteger(reader, "graphics", "shadowMapHeight", config.shadowMapHeight);
    config.gamma = readReal(reader, "graphics", "gamma", config.gamma);
    return config;
}

void logConfig(const Config& config) {
    const Logger& log = getGeneralLogger();
    log->info("=== CONFIGURATION ===");
    log->info("Window: {}x{}@{}, fullscreen: {}", config.width, config.height, config.refreshRate,
              config.fullscreen);
    log->info("Shadow Map: {}x{}", config.shadowMapWidth, config.shadowMapHeight);
    log->info("Gamma: {}", config.gamma);
}
