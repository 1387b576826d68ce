#include "tests/game/Picture.h"

#include <algorithm>
#include <cstdlib>
#include <stb_image_write.h>

Picture::Pixel Picture::at(int x, int y) const {
    const std::size_t offset = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                static_cast<std::size_t>(x)) * 3;
    return {rgb[offset], rgb[offset + 1], rgb[offset + 2]};
}

int countPixels(const Picture& picture, const PictureRegion& region,
                const std::function<bool(Picture::Pixel)>& test) {
    int count = 0;
    for (int y = std::max(region.y, 0); y < region.y + region.height && y < picture.height; ++y) {
        for (int x = std::max(region.x, 0); x < region.x + region.width && x < picture.width; ++x) {
            count += test(picture.at(x, y)) ? 1 : 0;
        }
    }
    return count;
}

int countChanged(const Picture& before, const Picture& after, const PictureRegion& region, int tolerance) {
    if (before.width != after.width || before.height != after.height) {
        return region.width * region.height;
    }
    int count = 0;
    for (int y = std::max(region.y, 0); y < region.y + region.height && y < before.height; ++y) {
        for (int x = std::max(region.x, 0); x < region.x + region.width && x < before.width; ++x) {
            const Picture::Pixel a = before.at(x, y);
            const Picture::Pixel b = after.at(x, y);
            if (std::abs(a.r - b.r) > tolerance || std::abs(a.g - b.g) > tolerance ||
                std::abs(a.b - b.b) > tolerance) {
                ++count;
            }
        }
    }
    return count;
}

bool savePng(const Picture& picture, const std::string& path) {
    return stbi_write_png(path.c_str(), picture.width, picture.height, 3, picture.rgb.data(),
                          picture.width * 3) != 0;
}
