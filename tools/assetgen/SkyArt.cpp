// The sky is one function of the view direction, so adjacent faces agree along their shared edge.
// The sun stands where the game's main light comes from: its light travels along (1, -2, 1).
#include "tools/assetgen/ImageArt.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <glm/common.hpp>
#include <glm/geometric.hpp>
#include <glm/vec2.hpp>

namespace {
float hash(int x, int y, int z) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(z) * 2147483647u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xFFFFFFu) / 16777215.0f;
}

float smooth(float t) { return t * t * (3.0f - 2.0f * t); }

float valueNoise(glm::vec3 p) {
    const glm::vec3 cell = glm::floor(p);
    const glm::vec3 f = p - cell;
    const int x = static_cast<int>(cell.x), y = static_cast<int>(cell.y), z = static_cast<int>(cell.z);
    auto lerp = [](float a, float b, float t) { return a + (b - a) * t; };
    const float u = smooth(f.x), v = smooth(f.y), w = smooth(f.z);
    return lerp(lerp(lerp(hash(x, y, z), hash(x + 1, y, z), u), lerp(hash(x, y + 1, z), hash(x + 1, y + 1, z), u), v),
                lerp(lerp(hash(x, y, z + 1), hash(x + 1, y, z + 1), u),
                     lerp(hash(x, y + 1, z + 1), hash(x + 1, y + 1, z + 1), u), v),
                w);
}

float fractalNoise(glm::vec3 p, int octaves) {
    float sum = 0.0f, amplitude = 0.5f;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * valueNoise(p);
        p = p * 2.03f + glm::vec3(17.1f, 3.7f, 9.3f);
        amplitude *= 0.5f;
    }
    return sum;
}

const glm::vec3 horizonColour(0.8f, 0.87f, 0.95f);
const glm::vec3 zenithColour(0.2f, 0.42f, 0.82f);
const glm::vec3 groundColour(0.3f, 0.36f, 0.3f);
const glm::vec3 mountainColour(0.42f, 0.5f, 0.6f);
const glm::vec3 sunColour(1.0f, 0.93f, 0.78f);

// Far hills around the horizon: their height depends on the compass direction alone, read from
// noise on a circle so that it closes up all the way round.
glm::vec3 belowSkyline(glm::vec3 d, glm::vec3 sky) {
    const glm::vec2 around = glm::normalize(glm::vec2(d.x, d.z) + glm::vec2(1e-6f, 0.0f));
    const float skyline = 0.015f + 0.09f * fractalNoise(glm::vec3(around * 2.5f, 0.5f), 4);
    if (d.y >= skyline) {
        return sky;
    }
    const float haze = std::clamp((skyline - d.y) / 0.12f, 0.0f, 1.0f);
    const glm::vec3 hills = glm::mix(mountainColour, groundColour, haze);
    return glm::mix(sky, hills, std::clamp((skyline - d.y) * 300.0f, 0.0f, 1.0f)); // soft edge
}

glm::vec3 skyColour(glm::vec3 d) {
    const glm::vec3 sun = glm::normalize(glm::vec3(-1.0f, 2.0f, -1.0f));
    const float up = std::max(d.y, 0.0f);
    glm::vec3 colour = glm::mix(horizonColour, zenithColour, std::sqrt(up));
    // Clouds on a flat layer overhead: seen through it, direction d meets it at d.xz / d.y.
    if (d.y > 0.0f) {
        const glm::vec2 layer = glm::vec2(d.x, d.z) / (d.y + 0.12f);
        const float density = fractalNoise(glm::vec3(layer * 1.6f, 2.0f), 5);
        const float cover = glm::smoothstep(0.48f, 0.72f, density) * glm::smoothstep(0.02f, 0.25f, d.y);
        const float lit = 0.85f + 0.15f * std::max(glm::dot(d, sun), 0.0f);
        colour = glm::mix(colour, glm::vec3(0.97f, 0.97f, 1.0f) * lit, cover * 0.9f);
    }
    const float toSun = std::max(glm::dot(d, sun), 0.0f);
    colour += sunColour * (0.5f * std::pow(toSun, 400.0f) + 0.18f * std::pow(toSun, 12.0f));
    colour = glm::mix(colour, sunColour * 1.2f, glm::smoothstep(0.99955f, 0.9997f, toSun)); // the disc
    colour = belowSkyline(d, colour);
    return glm::clamp(colour, 0.0f, 1.0f);
}

// The direction through the centre of pixel (x, y) of a face, by the cube-map convention:
// s runs along the row, t down the column, both from -1 to 1.
glm::vec3 faceDirection(int face, float s, float t) {
    switch (face) {
    case 0: return {1.0f, -t, -s};
    case 1: return {-1.0f, -t, s};
    case 2: return {s, 1.0f, t};
    case 3: return {s, -1.0f, -t};
    case 4: return {s, -t, 1.0f};
    default: return {-s, -t, -1.0f};
    }
}
} // namespace

Raster paintSkyFace(int face, int size) {
    Raster raster(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float s = 2.0f * (static_cast<float>(x) + 0.5f) / static_cast<float>(size) - 1.0f;
            const float t = 2.0f * (static_cast<float>(y) + 0.5f) / static_cast<float>(size) - 1.0f;
            raster.set(x, y, skyColour(glm::normalize(faceDirection(face, s, t))));
        }
    }
    return raster;
}
