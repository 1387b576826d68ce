#pragma once

#include "graphics/gl/Texture.h"

#include <array>
#include <string>

// A cube-map texture filled from six face images, in the order +X, -X, +Y, -Y, +Z, -Z.
class Cubemap : public Texture {
public:
    // The faces directory + "right." + extension, then "left.", "top.", "bottom.", "front.",
    // "back.": plain concatenation, so directory ends with its separator and extension has no dot.
    Cubemap(const std::string& directory, const std::string& extension);
    // A face that fails to load, or whose size or channel count differs from the first loaded
    // face's, is logged and left without an image; the others are uploaded.
    explicit Cubemap(const std::array<std::string, 6>& facePaths);
    Cubemap(Cubemap&&) noexcept = default;
};
