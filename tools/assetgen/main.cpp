// Writes the game's models and images below the given folder (the repository's assets/ when run
// by the regenerate target, a scratch folder when the test compares the output with the committed
// files). The output depends on nothing but this code.
#include "tools/assetgen/ColladaWriter.h"
#include "tools/assetgen/Images.h"
#include "tools/assetgen/Models.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {
bool writeText(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file);
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <assets folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const bool written = writeText(root / "models/shiba_simpleAnim_exp.dae", writeCollada(makeDog())) &&
                         writeText(root / "models/map_rescaled.dae", writeCollada(makeArena())) &&
                         writeText(root / "models/frisbee_rescaled.dae", writeCollada(makeFrisbee())) &&
                         writeImages(root / "textures");
    if (!written) {
        std::fprintf(stderr, "could not write below %s\n", root.c_str());
        return 1;
    }
    return 0;
}
