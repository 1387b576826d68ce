#pragma once

#include <filesystem>
#include <glm/vec3.hpp>
#include <vector>

// An image being painted: RGBA in 0..1, row 0 at the top (as the files store it).
class Raster {
public:
    Raster(int width, int height);

    int width() const { return w; }
    int height() const { return h; }

    void set(int x, int y, glm::vec3 colour, float alpha = 1.0f);
    // Paints colour over the pixel with the given coverage, as "over" compositing does.
    void blend(int x, int y, glm::vec3 colour, float coverage);

    bool writePng(const std::filesystem::path& path) const;
    // Three channels: the alpha is dropped.
    bool writeJpg(const std::filesystem::path& path, int quality) const;

private:
    std::vector<unsigned char> bytes(int channels) const;

    int w;
    int h;
    std::vector<float> pixels; // 4 per pixel, straight (not premultiplied) alpha
};
