#include "graphics/gl/Cubemap.h"

#include "engine/Logging.h"
#include "graphics/gl/Image.h"

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
} // namespace

Cubemap::Cubemap(const std::string& directory, const std::string& extension)
    : Cubemap(facePaths(directory, extension)) {}

Cubemap::Cubemap(const std::array<std::string, 6>& facePaths) : Texture(GL_TEXTURE_CUBE_MAP) {
    bind();
    setDefaultParameters();
    for (std::size_t face = 0; face < facePaths.size(); ++face) {
        const Image image = loadImage(facePaths[face], false);
        if (image.data == nullptr) {
            getGeneralLogger()->error("Cubemap texture failed to load at path '{}'",
                                      facePaths[face]);
            continue;
        }
        const GLenum format = imageFormat(image.channels);
        uploadImage(static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face), format, image);
    }
}
