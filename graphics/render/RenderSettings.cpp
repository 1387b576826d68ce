#include "graphics/render/RenderSettings.h"

#include "engine/Config.h"
#include "engine/Logging.h"

#include <GL/glew.h>

namespace {
struct DriverLimit {
    const char* name;
    GLint pixels;
};

DriverLimit driverLimit(GLenum parameter, const char* name) {
    GLint pixels = 0;
    glGetIntegerv(parameter, &pixels);
    return {name, pixels};
}

// pixels is what the setting's value gives the target along that side.
void checkSide(const char* setting, int value, int pixels, const char* target, const char* side,
               const DriverLimit& limit) {
    if (pixels < 1 || pixels > limit.pixels) {
        fatal(getGlLogger(),
              "Setting {} = {} asks for {} {} pixels {}; the driver takes 1 to {} ({})", setting,
              value, target, pixels, side, limit.pixels, limit.name);
    }
}

// The composite raises every colour to 1 / gamma. Beyond this range nearly the whole picture
// turns black or white: at 0.1 a dim 0.2 comes out at 1e-7, at 10 at 0.85 (displays want 1.8 to
// 2.4). Zero, negative, infinite and nan values are no gamma at all.
constexpr float smallestGamma = 0.1f;
constexpr float largestGamma = 10.0f;
} // namespace

void checkTargetSizes(const Config& config) {
    const DriverLimit texture = driverLimit(GL_MAX_TEXTURE_SIZE, "GL_MAX_TEXTURE_SIZE");
    const DriverLimit renderbuffer =
        driverLimit(GL_MAX_RENDERBUFFER_SIZE, "GL_MAX_RENDERBUFFER_SIZE");
    const DriverLimit view = renderbuffer.pixels < texture.pixels ? renderbuffer : texture;
    checkSide("width", config.width, config.width, "render targets", "wide", view);
    checkSide("height", config.height, config.height / 2, "render targets", "high", view);
    checkSide("shadowMapWidth", config.shadowMapWidth, config.shadowMapWidth, "a shadow map",
              "wide", texture);
    checkSide("shadowMapHeight", config.shadowMapHeight, config.shadowMapHeight, "a shadow map",
              "high", texture);
}

float usableGamma(float configured) {
    // Written so that nan, which compares false with everything, fails it too.
    if (configured >= smallestGamma && configured <= largestGamma) {
        return configured;
    }
    const float fallback = Config{}.gamma;
    getGeneralLogger()->warn("Setting gamma = {} is outside {} to {}, where the picture is neither "
                             "black nor white; using {}",
                             configured, smallestGamma, largestGamma, fallback);
    return fallback;
}
