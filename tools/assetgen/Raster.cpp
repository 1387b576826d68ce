#include "tools/assetgen/Raster.h"

#include <algorithm>
#include <cmath>
#include <stb_image_write.h>

Raster::Raster(int width, int height)
    : w(width), h(height), pixels(static_cast<std::size_t>(width) * height * 4, 0.0f) {}

void Raster::set(int x, int y, glm::vec3 colour, float alpha) {
    float* p = &pixels[(static_cast<std::size_t>(y) * w + x) * 4];
    p[0] = colour.r;
    p[1] = colour.g;
    p[2] = colour.b;
    p[3] = alpha;
}

void Raster::blend(int x, int y, glm::vec3 colour, float coverage) {
    if (coverage <= 0.0f) {
        return;
    }
    float* p = &pixels[(static_cast<std::size_t>(y) * w + x) * 4];
    const float alpha = coverage + p[3] * (1.0f - coverage);
    for (int c = 0; c < 3; ++c) {
        p[c] = (colour[c] * coverage + p[c] * p[3] * (1.0f - coverage)) / alpha;
    }
    p[3] = alpha;
}

std::vector<unsigned char> Raster::bytes(int channels) const {
    std::vector<unsigned char> out;
    out.reserve(static_cast<std::size_t>(w) * h * channels);
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        for (int c = 0; c < channels; ++c) {
            out.push_back(static_cast<unsigned char>(std::lround(std::clamp(pixels[i + c], 0.0f, 1.0f) * 255.0f)));
        }
    }
    return out;
}

bool Raster::writePng(const std::filesystem::path& path) const {
    std::filesystem::create_directories(path.parent_path());
    return stbi_write_png(path.c_str(), w, h, 4, bytes(4).data(), w * 4) != 0;
}

bool Raster::writeJpg(const std::filesystem::path& path, int quality) const {
    std::filesystem::create_directories(path.parent_path());
    return stbi_write_jpg(path.c_str(), w, h, 3, bytes(3).data(), quality) != 0;
}
