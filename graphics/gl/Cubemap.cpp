#include "graphics/gl/Cubemap.h"

#include "engine/Logging.h"
#include "graphics/gl/Image.h"

#include <fmt/format.h>
#include <optional>
#include <vector>

namespace {
std::array<std::string, 6> facePaths(const std::string& directory, const std::string& extension) {
    static const std::array<const char*, 6> stems = {"right.",  "left.",  "top.",
                                                     "bottom.", "front.", "back."};
    std::array<std::string, 6> paths;
    for (std::size_t face = 0; face < stems.size(); ++face) {
        paths[face] = directory + stems[face] + extension;
    }
    return paths;
}

// The size and channel count every face must share: GL leaves a cube map whose faces differ
// incomplete, and it samples as black.
struct FaceShape {
    std::string path;
    int width;
    int height;
    int channels;
};

// What face differs in from first, e.g. "64x64 instead of 512x512, 4 channels instead of 3";
// empty when the two match.
std::string describeMismatch(const Image& face, const FaceShape& first) {
    std::vector<std::string> differences;
    if (face.width != first.width || face.height != first.height) {
        differences.push_back(fmt::format("{}x{} instead of {}x{}", face.width, face.height,
                                          first.width, first.height));
    }
    if (face.channels != first.channels) {
        differences.push_back(
            fmt::format("{} channels instead of {}", face.channels, first.channels));
    }
    return fmt::format("{}", fmt::join(differences, ", "));
}
} // namespace

Cubemap::Cubemap(const std::string& directory, const std::string& extension)
    : Cubemap(facePaths(directory, extension)) {}

Cubemap::Cubemap(const std::array<std::string, 6>& facePaths) : Texture(GL_TEXTURE_CUBE_MAP) {
    bind();
    setDefaultParameters();
    std::optional<FaceShape> first;
    for (std::size_t face = 0; face < facePaths.size(); ++face) {
        const Image image = loadImage(facePaths[face], false);
        if (image.data == nullptr) {
            getGeneralLogger()->error("Cubemap texture failed to load at path '{}'",
                                      facePaths[face]);
            continue;
        }
        const GLenum format = imageFormat(image.channels);
        if (!first) {
            first = FaceShape{facePaths[face], image.width, image.height, image.channels};
        } else if (const std::string mismatch = describeMismatch(image, *first);
                   !mismatch.empty()) {
            getGeneralLogger()->error("Cubemap texture at path '{}' does not match the first face "
                                      "at path '{}': {}",
                                      facePaths[face], first->path, mismatch);
            continue;
        }
        uploadImage(static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face), format, image);
    }
}
