#pragma once

#include "graphics/model/Model.h"
#include "graphics/shaders/Lights.h"

#include <array>
#include <cstddef>

// How the match looks: the models the scene set-up loads, the materials it gives them and the
// lights it sets. The model preview shows the same models in the same light, so its pictures
// follow any change made here.

inline constexpr const char* dogModelPath = "assets/models/shiba_simpleAnim_exp.dae";
inline constexpr const char* arenaModelPath = "assets/models/map_rescaled.dae";
inline constexpr const char* frisbeeModelPath = "assets/models/frisbee_rescaled.dae";

struct MaterialEntry {
    std::size_t index;
    Material material;
};

// Player 2's colours; player 1's dog is a copy with playerOneFur in material 2.
inline const std::array<MaterialEntry, 4> dogMaterials = {{
    {0, {{0.0f, 0.0f, 0.0f}, 0.2f, 0.15f, 0.0f}},
    {1, {{0.0f, 0.0f, 0.0f}, 0.2f, 0.490991f, 0.0f}},
    {2, {{0.8f, 0.144529f, 0.021182f}, 0.2f, 0.75f, 0.0f}},
    {3, {{0.8f, 0.8f, 0.8f}, 0.2f, 0.662f, 0.0f}},
}};
// Player 1's team colour in place of the orange of material 2.
inline constexpr glm::vec3 playerOneFur{0.021182f, 0.144529f, 0.8f};

inline const std::array<MaterialEntry, 5> arenaMaterials = {{
    {0, {{0.65f, 0.373f, 0.2f}, 0.2f, 0.8f, 0.0f}},
    {1, {{0.125f, 0.6f, 0.08f}, 0.2f, 0.9f, 0.0f}},
    {2, {{0.425f, 0.8f, 0.13f}, 0.2f, 1.0f, 0.0f}},
    {3, {{0.85f, 0.5f, 0.3f}, 0.2f, 1.0f, 0.0f}},
    {4, {{1.0f, 0.62f, 0.299f}, 0.3f, 0.8f, 0.0f}},
}};

inline const std::array<MaterialEntry, 2> frisbeeMaterials = {{
    {0, {{0.0f, 0.0f, 1.0f}, 0.2f, 1.0f, 0.0f}},
    {1, {{0.8f, 0.635f, 0.0f}, 0.2f, 0.3f, 1.0f}},
}};

// A warm sun, which also casts the shadow, and two faint fill lights from opposite sides.
inline const std::array<DirectionalLight, 3> sceneLights = {{
    {{1.0f, -2.0f, 1.0f}, {237.0f / 255.0f, 1.0f, 186.0f / 255.0f}},
    {{-0.1f, -0.1f, 0.1f}, {0.3f, 0.3f, 0.3f}},
    {{0.1f, -0.1f, -0.1f}, {0.3f, 0.3f, 0.3f}},
}};

// A model with fewer materials than these is refused entry by entry (one error line each) and
// drawn with what it has.
template <std::size_t N>
void setMaterials(Model& model, const std::array<MaterialEntry, N>& entries) {
    for (const MaterialEntry& entry : entries) {
        model.setMaterial(entry.index, entry.material);
    }
}
