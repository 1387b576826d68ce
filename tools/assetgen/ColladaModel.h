#pragma once

#include "tools/assetgen/GeneratedMesh.h"

#include <glm/mat4x4.hpp>
#include <string>
#include <vector>

// A material as written to the file. Its id decides the index the importer gives it: the
// importer numbers materials in the order of their ids, so each id starts with its index.
struct ColladaMaterial {
    std::string id{};
    glm::vec3 colour{};
};

// A node of the scene: a plain node with at most one mesh (and that mesh's material), or a joint
// of the skeleton. Joint names are the names the skins refer to.
struct ColladaNode {
    std::string name{};
    glm::mat4 transform{1.0f};
    bool joint = false;
    int mesh = -1;     // index into ColladaModel::meshes, -1 for none
    int material = -1; // index into ColladaModel::materials
    std::vector<ColladaNode> children{};
};

// One animated joint: its local transform at each key time (seconds).
struct ColladaChannel {
    std::string joint{};
    std::vector<float> times{};
    std::vector<glm::mat4> transforms{};
};

struct ColladaModel {
    std::string sceneName{};
    std::vector<ColladaMaterial> materials{};
    std::vector<GeneratedMesh> meshes{};
    ColladaNode root;
    // The skeleton, when there is one: joint names in the order the skins index them, and each
    // joint's inverse bind matrix (model space to joint space).
    std::vector<std::string> joints{};
    std::vector<glm::mat4> inverseBindMatrices{};
    std::string animationName{};
    std::vector<ColladaChannel> channels{};
};
