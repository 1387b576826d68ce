#include "graphics/gl/Image.h"

#include "engine/Logging.h"

#include <cstdio>
#include <filesystem>
#include <stb_image.h>
#include <utility>

Image::Image(int width, int height, int channels, unsigned char* data)
    : width(width), height(height), channels(channels), data(data) {}

Image::Image(Image&& other) noexcept
    : width(std::exchange(other.width, 0)), height(std::exchange(other.height, 0)),
      channels(std::exchange(other.channels, 0)), data(std::exchange(other.data, nullptr)) {}

Image& Image::operator=(Image&& other) noexcept {
    if (this != &other) {
        stbi_image_free(data);
        width = std::exchange(other.width, 0);
        height = std::exchange(other.height, 0);
        channels = std::exchange(other.channels, 0);
        data = std::exchange(other.data, nullptr);
    }
    return *this;
}

Image::~Image() { stbi_image_free(data); }

Image loadImage(const std::string& path, bool flipVertically) {
    stbi_set_flip_vertically_on_load(flipVertically ? 1 : 0);
    // The overload without an error code throws for an empty path.
    std::error_code error;
    const std::string absolutePath = std::filesystem::absolute(path, error).string();
    Image image;
    const char* reason = "can't fopen";
    if (FILE* file = std::fopen(absolutePath.c_str(), "rb")) {
        image.data = stbi_load_from_file(file, &image.width, &image.height, &image.channels, 0);
        std::fclose(file);
        reason = stbi_failure_reason();
    }
    if (image.data == nullptr) {
        getGeneralLogger()->error("Texture failed to load with path '{}' and error '{}'",
                                  absolutePath, reason != nullptr ? reason : "");
        return Image();
    }
    getGeneralLogger()->debug("Texture loaded from '{}'", path);
    return image;
}
