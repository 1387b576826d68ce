#pragma once

#include "graphics/gl/SubMesh.h"

#include <cstddef>
#include <glm/gtc/quaternion.hpp>
#include <glm/mat4x4.hpp>
#include <optional>
#include <string>
#include <vector>

struct Bone {
    std::size_t index = 0; // position in the model's bone list
    std::string name;      // also the name of the node that carries the bone
    glm::mat4 offset{0.0f}; // mesh space to bone space
    glm::mat4 bindTransform{0.0f}; // set by the skeleton walk; stays zero for a bone no node names
};

// The bone tree: bone nodes only, each referring to the bone list by index.
struct SkeletonNode {
    std::size_t boneIndex = 0;
    std::vector<SkeletonNode> children;
};

struct BonePose {
    glm::vec3 position{0.0f};
    glm::quat rotation{1.0f, 0.0f, 0.0f, 0.0f}; // glm stores x, y, z, w
    std::size_t boneIndex = 0;
};

struct KeyFrame {
    std::vector<BonePose> poses;
    float time = 0.0f; // in the file's ticks, not seconds
};

struct Animation {
    std::vector<KeyFrame> keyFrames;
    float duration = 0.0f; // seconds
};

// What the import of one file yields. Vertices stay in the space of their mesh's node: entry i
// of meshTransforms is that node's world transform within the model, to be applied once by
// whoever places subMeshes[i] in the world.
struct ModelData {
    std::string name; // the file's root node
    std::vector<SubMesh> subMeshes;
    std::vector<glm::mat4> meshTransforms;
    std::vector<std::size_t> materialIndices;
    std::optional<SkeletonNode> skeleton; // empty when no node names a bone
    std::vector<Bone> bones;              // every bone some mesh lists, once, in order of first appearance
    std::vector<Animation> animations;    // only read when there is a skeleton
};
