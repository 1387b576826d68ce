#pragma once

#include <filesystem>

// Writes hud/heart.png, hud/Vornhalt.png and the six skybox faces below the given folder.
bool writeImages(const std::filesystem::path& textures);
