#pragma once

#include "graphics/gl/Mesh.h"
#include "graphics/model/Material.h"
#include "graphics/model/ModelData.h"
#include "graphics/shaders/Uniform.h"

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// An imported model ready to draw.
//
// Spaces: the vertices of meshes[i] are in the space of the node that held mesh i in the file,
// and meshTransforms[i] is that node's world transform within the model (parent x node along the
// node's own branch, never shared with its siblings). It is applied exactly once: the model
// component draws mesh i with modelMatrix x meshTransforms[i], and the static level bakes
// meshTransforms[i], rotation and scale included, into the points it collides with, so that what
// a player bumps into is what is drawn.
//
// Copies share the GPU meshes and have a material table of their own (player 2's dog is a copy
// of player 1's with another team colour).
class Model {
public:
    explicit Model(const ModelData& data);
    // Imports the file (fatal when it cannot be read) and builds from it.
    explicit Model(const std::string& path);
    Model(const Model& other) = default;
    Model& operator=(const Model&) = delete;

    // Writes one entry of the material table. An index past the table (more materials than the
    // file's meshes use) is refused with an error line, so nothing is written out of bounds.
    bool setMaterial(std::size_t index, const Material& material);

    std::string name;
    std::vector<glm::mat4> meshTransforms;
    std::vector<std::shared_ptr<Mesh>> meshes;
    std::vector<std::size_t> materialIndices;
    // (largest material index + 1) entries, zero until the game sets them; empty without meshes.
    std::vector<Material> materials;
    std::vector<Bone> bones;
    // bones[j].bindTransform for j below the number of bones, identity beyond; a 51st bone and
    // later get no entry and no matrix (the renderer uploads maxBones).
    std::array<glm::mat4, maxBones> bindTransforms;
    // Nothing plays the animations: these stay the identity, so skinned meshes draw as stored.
    std::array<glm::mat4, maxBones> boneTransforms;
    std::optional<SkeletonNode> skeleton;
    std::vector<Animation> animations;
};
