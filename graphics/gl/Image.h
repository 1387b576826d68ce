#pragma once

#include <string>

// Pixels decoded by stb_image: width × height × channels bytes, rows top first unless loaded
// flipped, one byte per channel. Owns its pixels and frees them once, so it moves but never copies.
struct Image {
    Image() = default;
    Image(int width, int height, int channels, unsigned char* data);
    Image(Image&& other) noexcept;
    Image& operator=(Image&& other) noexcept;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    ~Image();

    int width = 0;
    int height = 0;
    int channels = 0; // 1 to 4 as stored in the file; 0 when loading failed
    unsigned char* data = nullptr;
};

// Reads an image file with its own channel count. A file that cannot be opened or decoded is
// logged at error level and gives an Image without pixels (channels 0). The flip setting is
// stb_image's process-wide one and stays in force until the next load.
Image loadImage(const std::string& path, bool flipVertically);
