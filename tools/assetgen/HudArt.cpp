#include "tools/assetgen/ImageArt.h"

#include <algorithm>
#include <cmath>
#include <glm/common.hpp>
#include <glm/geometric.hpp>
#include <glm/vec2.hpp>
#include <numbers>
#include <string>

namespace {
// The classic heart curve, x in [-1.2, 1.2], y in [-1.1, 1.3], inside where it is negative.
bool insideHeart(int x, int y) {
    if (x < 0 || y < 0 || x >= 40 || y >= 40) {
        return false;
    }
    const float u = (static_cast<float>(x) + 0.5f - 20.0f) / 16.0f;
    const float v = (20.5f - static_cast<float>(y) - 0.5f) / 16.0f + 0.1f; // y grows downwards
    const float a = u * u + v * v - 1.0f;
    return a * a * a - u * u * v * v * v <= 0.0f;
}

using Stroke = std::vector<glm::vec2>; // a polyline in letter units: x from 0, y from 0 to 1
constexpr float letterWidth = 0.56f;

std::vector<Stroke> arc(glm::vec2 centre, glm::vec2 radius, float fromDegrees, float toDegrees, int steps) {
    Stroke stroke;
    for (int i = 0; i <= steps; ++i) {
        const float a = (fromDegrees + (toDegrees - fromDegrees) * static_cast<float>(i) / steps) *
                        std::numbers::pi_v<float> / 180.0f;
        stroke.push_back(centre + radius * glm::vec2(std::cos(a), std::sin(a)));
    }
    return {stroke};
}

std::vector<Stroke> letter(char c) {
    const float w = letterWidth;
    switch (c) {
    case 'V': return {{{0, 1}, {w / 2, 0}, {w, 1}}};
    case 'O': return arc({w / 2, 0.5f}, {w / 2, 0.5f}, 0.0f, 360.0f, 40);
    case 'R': {
        std::vector<Stroke> r = arc({w - 0.25f, 0.75f}, {0.25f, 0.25f}, 90.0f, -90.0f, 16);
        r[0].insert(r[0].begin(), {{0, 0}, {0, 1}});
        r[0].push_back({0, 0.5f});
        r.push_back({{w * 0.42f, 0.5f}, {w, 0}});
        return r;
    }
    case 'N': return {{{0, 0}, {0, 1}, {w, 0}, {w, 1}}};
    case 'H': return {{{0, 0}, {0, 1}}, {{w, 0}, {w, 1}}, {{0, 0.5f}, {w, 0.5f}}};
    case 'A': return {{{0, 0}, {w / 2, 1}, {w, 0}}, {{w * 0.2f, 0.36f}, {w * 0.8f, 0.36f}}};
    case 'L': return {{{0, 1}, {0, 0}, {w, 0}}};
    case 'T': return {{{0, 1}, {w, 1}}, {{w / 2, 1}, {w / 2, 0}}};
    default: return {};
    }
}

float segmentDistance(glm::vec2 p, glm::vec2 a, glm::vec2 b) {
    const glm::vec2 ab = b - a;
    const float t = std::clamp(glm::dot(p - a, ab) / glm::dot(ab, ab), 0.0f, 1.0f);
    return glm::length(p - (a + ab * t));
}

// The title's strokes in pixels, y downwards, laid out centred in the image.
std::vector<Stroke> titleStrokes(int width, int height, float capHeight) {
    const std::string title = "VORNHALT";
    const float advance = letterWidth + 0.2f;
    const float total = (static_cast<float>(title.size()) * advance - 0.2f) * capHeight;
    const glm::vec2 origin((static_cast<float>(width) - total) * 0.5f, (static_cast<float>(height) + capHeight) * 0.5f);
    std::vector<Stroke> strokes;
    for (std::size_t i = 0; i < title.size(); ++i) {
        for (Stroke stroke : letter(title[i])) {
            for (glm::vec2& p : stroke) {
                p = origin + glm::vec2((static_cast<float>(i) * advance + p.x) * capHeight, -p.y * capHeight);
            }
            strokes.push_back(stroke);
        }
    }
    return strokes;
}

float distanceTo(const std::vector<Stroke>& strokes, glm::vec2 p) {
    float best = 1e9f;
    for (const Stroke& stroke : strokes) {
        for (std::size_t i = 0; i + 1 < stroke.size(); ++i) {
            best = std::min(best, segmentDistance(p, stroke[i], stroke[i + 1]));
        }
    }
    return best;
}

// Coverage of a pixel by everything within radius of the strokes: a one-pixel soft edge.
float coverage(float distance, float radius) { return std::clamp(radius - distance + 0.5f, 0.0f, 1.0f); }
} // namespace

Raster paintHeart() {
    Raster raster(40, 40);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (!insideHeart(x, y)) {
                continue;
            }
            const bool edge = !insideHeart(x - 1, y) || !insideHeart(x + 1, y) || !insideHeart(x, y - 1) ||
                              !insideHeart(x, y + 1);
            const float shade = 1.0f - 0.35f * static_cast<float>(y) / 40.0f;
            glm::vec3 colour = edge ? glm::vec3(0.35f, 0.02f, 0.06f) : glm::vec3(0.93f, 0.12f, 0.2f) * shade;
            const int hx = x - 12, hy = y - 12; // the shine on the left lobe
            if (!edge && hx * hx + hy * hy <= 9) {
                colour = {1.0f, 0.75f, 0.78f};
            }
            raster.set(x, y, colour);
        }
    }
    return raster;
}

Raster paintLogo() {
    const int width = 600, height = 220;
    const float capHeight = 92.0f, stroke = 9.0f, outline = 5.0f;
    const glm::vec2 shadowOffset(6.0f, 7.0f);
    const std::vector<Stroke> strokes = titleStrokes(width, height, capHeight);
    const float top = (height - capHeight) * 0.5f;
    Raster raster(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const glm::vec2 p(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            const float d = distanceTo(strokes, p);
            const float t = std::clamp((p.y - top) / capHeight, 0.0f, 1.0f);
            raster.blend(x, y, {0.0f, 0.0f, 0.0f}, 0.45f * coverage(distanceTo(strokes, p - shadowOffset), stroke + outline));
            raster.blend(x, y, {0.16f, 0.07f, 0.03f}, coverage(d, stroke + outline));
            raster.blend(x, y, glm::mix(glm::vec3(1.0f, 0.86f, 0.32f), glm::vec3(0.93f, 0.4f, 0.08f), t),
                         coverage(d, stroke));
        }
    }
    return raster;
}
