#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A screenshot: RGB, 8 bits a channel, rows from the top as X hands them over.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    struct Pixel {
        int r, g, b;
    };
    Pixel at(int x, int y) const;
};

// A rectangle in picture pixels, from the top-left corner.
struct PictureRegion {
    int x, y, width, height;
};

// Pixels of the region for which the test holds. The region is cut to the picture: a region
// laid out for a larger window than the one grabbed reads nothing outside it.
int countPixels(const Picture& picture, const PictureRegion& region,
                const std::function<bool(Picture::Pixel)>& test);
// Pixels of the region where some channel differs by more than tolerance between the two.
int countChanged(const Picture& before, const Picture& after, const PictureRegion& region, int tolerance = 24);

bool savePng(const Picture& picture, const std::string& path);
