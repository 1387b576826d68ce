// The real program started with one broken setting or asset at a time. A fault the game cannot
// run with ends it with status 1 at one critical line, never by a signal and never with a line
// after the critical one; a fault it can run with is reported and the game goes on.
#include "tests/game/GameProcess.h"
#include "tests/support/ChildProcess.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <stb_image_write.h>
#include <vector>

namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path scratch = VORNHALT_BROKEN_SETUP_DIRECTORY;

// A small window and shadow map keep each start short; a row breaks one of their lines.
const std::string smallWindow = "width = 320\nheight = 180\n";
const std::string smallShadow = "shadowMapWidth = 256\nshadowMapHeight = 256\n";

std::string config(const std::string& window, const std::string& graphics) {
    return "[window]\n" + window + "[graphics]\n" + graphics;
}

// One file below assets/ replaced: written by write, or removed when write is empty.
struct AssetChange {
    std::string path;
    std::function<void(const std::string& file)> write;
};

void writeJpg(const std::string& file, int side) {
    const std::vector<unsigned char> pixels(static_cast<std::size_t>(side * side * 3), 90);
    ASSERT_NE(stbi_write_jpg(file.c_str(), side, side, 3, pixels.data(), 90), 0);
}

// What a JPEG decoder reads from a PNG under a .jpg name: stb_image goes by the content.
void writePngWithAlpha(const std::string& file, int side) {
    const std::vector<unsigned char> pixels(static_cast<std::size_t>(side * side * 4), 200);
    ASSERT_NE(stbi_write_png(file.c_str(), side, side, 4, pixels.data(), side * 4), 0);
}

struct BrokenSetup {
    const char* name;
    std::string config;
    std::vector<AssetChange> assets;
    // Stopping: the last lines of the log, in order. Going on: lines that must appear.
    std::vector<std::string> lines;
    bool stops = true;
    const char* display = nullptr; // the X display the game is started on, when not the test's
};

void PrintTo(const BrokenSetup& setup, std::ostream* out) { *out << setup.name; }

// The run directory's assets, each folder linked, or, where a change falls, copied as a tree
// of links with that one file replaced: the committed assets are never touched.
fs::path brokenRunDirectory(const std::string& caseName, const std::vector<AssetChange>& changes) {
    const fs::path run = scratch / caseName / "run";
    fs::remove_all(run);
    fs::create_directories(run / "assets");
    for (const char* folder : {"fonts", "models", "shaders", "textures"}) {
        const fs::path source = fs::canonical(fs::path(VORNHALT_RUN_DIRECTORY) / "assets" / folder);
        const fs::path target = run / "assets" / folder;
        const bool touched = std::any_of(changes.begin(), changes.end(), [&](const AssetChange& c) {
            return c.path.starts_with(std::string(folder) + "/");
        });
        if (!touched) {
            fs::create_directory_symlink(source, target);
            continue;
        }
        fs::create_directory(target);
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source)) {
            const fs::path copy = target / fs::relative(entry.path(), source);
            if (entry.is_directory()) {
                fs::create_directory(copy);
            } else {
                fs::create_symlink(entry.path(), copy);
            }
        }
    }
    for (const AssetChange& change : changes) {
        const fs::path file = run / "assets" / change.path;
        fs::remove(file); // the link only
        if (change.write) {
            change.write(file.string());
        }
    }
    return run;
}

// The display of the child's environment for the one fork, the test's own afterwards.
class DisplayOverride {
public:
    explicit DisplayOverride(const char* display) : active(display != nullptr) {
        if (const char* current = std::getenv("DISPLAY")) {
            saved = current;
        }
        if (active) {
            setenv("DISPLAY", display, 1);
        }
    }
    ~DisplayOverride() {
        if (active && saved) {
            setenv("DISPLAY", saved->c_str(), 1);
        } else if (active) {
            unsetenv("DISPLAY");
        }
    }

private:
    bool active;
    std::optional<std::string> saved;
};

class BrokenSetupTest : public testing::TestWithParam<BrokenSetup> {};

TEST_P(BrokenSetupTest, StopsAtOneCriticalLineOrReportsAndGoesOn) {
    const BrokenSetup& setup = GetParam();
    const fs::path run = brokenRunDirectory(setup.name, setup.assets);
    std::optional<GameProcess> game;
    {
        const DisplayOverride display(setup.display);
        game.emplace(VORNHALT_EXECUTABLE, run.string(), (scratch / setup.name / "game").string(),
                     setup.config);
    }
    ASSERT_TRUE(game->isStarted());
    if (setup.stops) {
        EXPECT_EQ(game->waitForExit(30s), std::optional<int>(1))
            << (game->hasEnded() ? "ended by a signal" : "still running") << "\n"
            << game->log();
        const std::vector<std::string> lines = splitLines(game->log());
        ASSERT_GE(lines.size(), setup.lines.size()) << game->log();
        const std::size_t first = lines.size() - setup.lines.size();
        for (std::size_t i = 0; i < setup.lines.size(); ++i) {
            EXPECT_NE(lines[first + i].find(setup.lines[i]), std::string::npos)
                << "wanted '" << setup.lines[i] << "' in the last lines of\n" << game->log();
        }
        EXPECT_NE(lines.back().find("] [critical] "), std::string::npos) << game->log();
        return;
    }
    for (const std::string& line : setup.lines) {
        EXPECT_TRUE(game->waitForLog(line, 15s)) << "wanted '" << line << "' in\n" << game->log();
    }
    // The models, the arena and the loop follow; a crash among them ends the game by a signal.
    EXPECT_FALSE(game->waitForExit(2s)) << game->log();
    EXPECT_FALSE(game->hasEnded()) << game->log();
}

// The road of a window that could not be made, after the reason why.
std::vector<std::string> failedWindow(const std::string& reason) {
    return {reason, "[LOG] [error] Accessing invalid handle.",
            "[LOG] [critical] Failed to create GLFW window."};
}

// The limit itself is the driver's.
std::string badTarget(const std::string& request) {
    return "[GL ] [critical] Setting " + request + "; the driver takes 1 to ";
}

const std::string skybox = "textures/skybox/";

INSTANTIATE_TEST_SUITE_P(
    OneFaultAtATime, BrokenSetupTest,
    testing::Values(
        // Sizes the window system cannot take go the road of a window that could not be made.
        BrokenSetup{"WidthZero", config("width = 0\nheight = 180\n", smallShadow), {},
                    failedWindow("[LOG] [error] GLFW Error 65540: Invalid window size 0x180")},
        BrokenSetup{"WidthNegative", config("width = -640\nheight = 180\n", smallShadow), {},
                    failedWindow("[LOG] [error] Invalid window size -640x180")},
        BrokenSetup{"HeightNegative", config("width = 320\nheight = -360\n", smallShadow), {},
                    failedWindow("[LOG] [error] Invalid window size 320x-360")},
        BrokenSetup{"WidthBeyondX", config("width = 65536\nheight = 180\n", smallShadow), {},
                    failedWindow("[LOG] [error] Invalid window size 65536x180")},
        BrokenSetup{"WidthBeyond32Bits", config("width = 99999999999\nheight = 180\n", smallShadow),
                    {}, failedWindow("[LOG] [error] Invalid window size 1215752191x180")},
        // Sizes the driver cannot allocate end the game before anything is allocated.
        BrokenSetup{"ViewTooWide", config("width = 20000\nheight = 180\n", smallShadow), {},
                    {badTarget("width = 20000 asks for render targets 20000 pixels wide")}},
        BrokenSetup{"ViewWithoutRows", config("width = 320\nheight = 1\n", smallShadow), {},
                    {badTarget("height = 1 asks for render targets 0 pixels high")}},
        BrokenSetup{"ShadowMapZero", config(smallWindow, "shadowMapWidth = 0\n"), {},
                    {badTarget("shadowMapWidth = 0 asks for a shadow map 0 pixels wide")}},
        BrokenSetup{"ShadowMapNegative", config(smallWindow, "shadowMapHeight = -5\n"), {},
                    {badTarget("shadowMapHeight = -5 asks for a shadow map -5 pixels high")}},
        BrokenSetup{"ShadowMapHuge", config(smallWindow, "shadowMapWidth = 100000000\n"), {},
                    {badTarget("shadowMapWidth = 100000000 asks for a shadow map 100000000 "
                               "pixels wide")}},
        // No display: GLFW's reason comes before the game's line.
        BrokenSetup{"NoDisplay", config(smallWindow, smallShadow), {},
                    {"[LOG] [error] GLFW Error 65544: X11: Failed to open display nowhere:0",
                     "[LOG] [critical] GLFW Initialization failed"},
                    true, "nowhere:0"},
        // Missing assets, which stop the game inside its loop with the Engine alive.
        BrokenSetup{"ModelMissing", config(smallWindow, smallShadow),
                    {{"models/frisbee_rescaled.dae", nullptr}},
                    {"[LOG] [critical] Could not load model: "}},
        BrokenSetup{"HudImageMissing", config(smallWindow, smallShadow),
                    {{"textures/hud/heart.png", nullptr}},
                    {"[LOG] [critical] Unknown image format with 0 channels"}},
        BrokenSetup{"FontMissing", config(smallWindow, smallShadow),
                    {{"fonts/Open_Sans/OpenSans-Regular.ttf", nullptr}},
                    {"[FT ] [critical] Failed to load font "}},
        // Faults the game reports and runs with.
        BrokenSetup{"GammaNan", config(smallWindow, smallShadow + "gamma = nan\n"), {},
                    {"[LOG] [warning] Setting gamma = nan is outside 0.1 to 10"}, false},
        BrokenSetup{"GammaZero", config(smallWindow, smallShadow + "gamma = 0\n"), {},
                    {"[LOG] [warning] Setting gamma = 0 is outside 0.1 to 10"}, false},
        BrokenSetup{"GammaNegative", config(smallWindow, smallShadow + "gamma = -1\n"), {},
                    {"[LOG] [warning] Setting gamma = -1 is outside 0.1 to 10"}, false},
        BrokenSetup{"GammaInfinite", config(smallWindow, smallShadow + "gamma = inf\n"), {},
                    {"[LOG] [warning] Setting gamma = inf is outside 0.1 to 10"}, false},
        BrokenSetup{"GammaHuge", config(smallWindow, smallShadow + "gamma = 1e30\n"), {},
                    {"[LOG] [warning] Setting gamma = 1e+30 is outside 0.1 to 10"}, false},
        BrokenSetup{"SkyFaceMissing", config(smallWindow, smallShadow),
                    {{skybox + "top.jpg", nullptr}},
                    {"[LOG] [error] Cubemap texture failed to load at path "
                     "'assets/textures/skybox/top.jpg'"},
                    false},
        BrokenSetup{"SkyFaceSmaller", config(smallWindow, smallShadow),
                    {{skybox + "left.jpg", [](const std::string& file) { writeJpg(file, 64); }}},
                    {"[LOG] [error] Cubemap texture at path 'assets/textures/skybox/left.jpg' "
                     "does not match the first face at path 'assets/textures/skybox/right.jpg': "
                     "64x64 instead of 512x512"},
                    false},
        BrokenSetup{"SkyFaceWithAlpha", config(smallWindow, smallShadow),
                    {{skybox + "back.jpg",
                      [](const std::string& file) { writePngWithAlpha(file, 512); }}},
                    {"[LOG] [error] Cubemap texture at path 'assets/textures/skybox/back.jpg' "
                     "does not match the first face at path 'assets/textures/skybox/right.jpg': "
                     "4 channels instead of 3"},
                    false}),
    [](const testing::TestParamInfo<BrokenSetup>& info) { return std::string(info.param.name); });
} // namespace
