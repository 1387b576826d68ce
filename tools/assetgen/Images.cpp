#include "tools/assetgen/Images.h"

#include "tools/assetgen/ImageArt.h"

namespace {
// A face spans 90 degrees in 512 pixels, about 5.7 a degree; a player's half of a 1080-line window
// shows about 9 a degree, so the sky is magnified a little, which its soft gradients hide, and
// each face stays a small file.
constexpr int skyFaceSize = 512;
constexpr int skyQuality = 92;
const char* const skyFaces[6] = {"right", "left", "top", "bottom", "front", "back"};
} // namespace

bool writeImages(const std::filesystem::path& textures) {
    bool written = paintHeart().writePng(textures / "hud/heart.png") &&
                   paintLogo().writePng(textures / "hud/Vornhalt.png");
    for (int face = 0; face < 6 && written; ++face) {
        written = paintSkyFace(face, skyFaceSize)
                      .writeJpg(textures / "skybox" / (std::string(skyFaces[face]) + ".jpg"), skyQuality);
    }
    return written;
}
