#include "graphics/model/ModelImport.h"

#include "engine/Logging.h"

#include <algorithm>
#include <array>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/gtc/type_ptr.hpp>

namespace {
// The importer's matrices are row-major; glm's are column-major: the same matrix, transposed
// storage.
glm::mat4 toGlm(const aiMatrix4x4& m) { return glm::transpose(glm::make_mat4(&m.a1)); }

std::size_t findBone(const std::vector<Bone>& bones, const std::string& name) {
    const auto found = std::find_if(bones.begin(), bones.end(), [&](const Bone& b) { return b.name == name; });
    return static_cast<std::size_t>(found - bones.begin());
}

// Puts (bone, weight) into the slot with the smallest weight (the first of equals), whatever the
// new weight: a fifth influence thus replaces the lightest of the four.
void addInfluence(glm::uvec4& ids, glm::vec4& weights, unsigned bone, float weight) {
    int slot = 0;
    for (int i = 1; i < 4; ++i) {
        if (weights[i] < weights[slot]) {
            slot = i;
        }
    }
    ids[slot] = bone;
    weights[slot] = weight;
}

// Heaviest first (equal weights keep their slot order), then scaled to sum to 1. A vertex that
// no bone moves keeps four zero weights: dividing by their zero sum would make them NaN.
void sortAndNormalise(glm::uvec4& ids, glm::vec4& weights) {
    std::array<std::pair<unsigned, float>, 4> slots;
    for (int i = 0; i < 4; ++i) {
        slots[i] = {ids[i], weights[i]};
    }
    std::stable_sort(slots.begin(), slots.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    const float sum = slots[0].second + slots[1].second + slots[2].second + slots[3].second;
    for (int i = 0; i < 4; ++i) {
        ids[i] = slots[i].first;
        weights[i] = sum > 0.0f ? slots[i].second / sum : slots[i].second;
    }
}

void readBones(const aiMesh& mesh, std::vector<Bone>& bones, SubMesh& subMesh) {
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
        const aiBone& source = *mesh.mBones[b];
        const std::string name = source.mName.C_Str();
        getGeneralLogger()->debug("Processing Bone '{}'", name);
        std::size_t index = findBone(bones, name);
        if (index == bones.size()) {
            bones.push_back({index, name, toGlm(source.mOffsetMatrix), glm::mat4(0.0f)});
        }
        for (unsigned w = 0; w < source.mNumWeights; ++w) {
            const aiVertexWeight& weight = source.mWeights[w];
            if (weight.mVertexId < subMesh.boneIds.size()) {
                addInfluence(subMesh.boneIds[weight.mVertexId], subMesh.boneWeights[weight.mVertexId],
                             static_cast<unsigned>(index), weight.mWeight);
            }
        }
    }
    for (std::size_t v = 0; v < subMesh.boneIds.size(); ++v) {
        sortAndNormalise(subMesh.boneIds[v], subMesh.boneWeights[v]);
    }
}

// The pose of a channel at its position key i. A channel may have fewer rotation keys than
// position keys: past its last one the rotation holds, and with none it is the identity.
BonePose poseAt(const aiNodeAnim& channel, unsigned i, std::size_t boneIndex) {
    const aiVector3D& p = channel.mPositionKeys[i].mValue;
    BonePose pose{{p.x, p.y, p.z}, glm::quat(1.0f, 0.0f, 0.0f, 0.0f), boneIndex};
    if (channel.mNumRotationKeys > 0) {
        const aiQuaternion& q = channel.mRotationKeys[std::min(i, channel.mNumRotationKeys - 1)].mValue;
        pose.rotation = glm::quat(q.w, q.x, q.y, q.z);
    }
    return pose;
}
} // namespace

ModelData loadModel(const std::string& path) {
    getGeneralLogger()->info("Loading model from file '{}'", path);
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate | aiProcess_GenSmoothNormals);
    if (scene == nullptr || scene->mRootNode == nullptr) {
        fatal(getGeneralLogger(), "Could not load model: {}", importer.GetErrorString());
    }
    return processScene(*scene);
}

ModelData processScene(const aiScene& scene) {
    ModelData data;
    data.name = scene.mRootNode->mName.C_Str();
    processNode(*scene.mRootNode, scene, data, data.bones, aiMatrix4x4());

    // A stand-in root bone gathers the top-level bone trees; it leaves the list again at once.
    const std::size_t rootIndex = data.bones.size();
    data.bones.push_back({rootIndex, "", glm::mat4(0.0f), glm::mat4(1.0f)});
    SkeletonNode root{rootIndex, {}};
    buildSkeleton(*scene.mRootNode, root, data.bones);
    data.bones.pop_back();

    if (!root.children.empty()) {
        data.skeleton = root.children.front(); // further top-level trees are dropped
        processAnimations(scene, data.animations, data.bones);
    }
    return data;
}

void processNode(const aiNode& node, const aiScene& scene, ModelData& data, std::vector<Bone>& bones,
                 const aiMatrix4x4& parentTransform) {
    getGeneralLogger()->debug("Processing node '{}'", node.mName.C_Str());
    const aiMatrix4x4 world = parentTransform * node.mTransformation;
    for (unsigned k = 0; k < node.mNumMeshes; ++k) {
        const aiMesh& mesh = *scene.mMeshes[node.mMeshes[k]];
        getGeneralLogger()->debug("Processing mesh '{}' ({}, {})", mesh.mName.C_Str(), mesh.mNumBones,
                                  mesh.mNumVertices);
        data.subMeshes.push_back(processMesh(mesh, bones));
        data.materialIndices.push_back(mesh.mMaterialIndex);
        data.meshTransforms.push_back(toGlm(world));
    }
    for (unsigned c = 0; c < node.mNumChildren; ++c) {
        processNode(*node.mChildren[c], scene, data, bones, world);
    }
}

SubMesh processMesh(const aiMesh& mesh, std::vector<Bone>& bones) {
    SubMesh subMesh;
    const std::size_t count = mesh.mNumVertices;
    subMesh.positions.reserve(count);
    subMesh.normals.reserve(count);
    for (std::size_t v = 0; v < count; ++v) {
        const aiVector3D& p = mesh.mVertices[v];
        subMesh.positions.emplace_back(p.x, p.y, p.z);
        // The import asks for smooth normals, so there are always some; a mesh of only points
        // or lines gets none, and then a zero normal.
        const aiVector3D n = mesh.mNormals != nullptr ? mesh.mNormals[v] : aiVector3D();
        subMesh.normals.emplace_back(n.x, n.y, n.z);
    }
    std::size_t outside = 0;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices < 3) { // points and lines survive triangulation; they draw nothing
            continue;
        }
        const glm::uvec3 triangle(face.mIndices[0], face.mIndices[1], face.mIndices[2]);
        // A corner past the vertices would have the draw read outside the mesh's buffers.
        if (triangle.x >= count || triangle.y >= count || triangle.z >= count) {
            ++outside;
            continue;
        }
        subMesh.triangles.push_back(triangle);
    }
    if (outside > 0) {
        getGeneralLogger()->warn("Mesh '{}' has {} triangles with corners past its {} vertices; they are left out",
                                 mesh.mName.C_Str(), outside, count);
    }
    subMesh.textureCoordinates.assign(count, glm::vec2(0.0f));
    subMesh.boneIds.assign(count, glm::uvec4(0));
    subMesh.boneWeights.assign(count, glm::vec4(0.0f));
    if (mesh.HasBones()) {
        readBones(mesh, bones, subMesh);
    }
    return subMesh;
}

void buildSkeleton(const aiNode& node, SkeletonNode& parent, std::vector<Bone>& bones) {
    SkeletonNode* childrensParent = &parent;
    const std::size_t found = findBone(bones, node.mName.C_Str());
    if (found < bones.size()) {
        Bone& bone = bones[found];
        bone.bindTransform = bone.offset * bones[parent.boneIndex].bindTransform;
        parent.children.push_back({bone.index, {}});
        childrensParent = &parent.children.back();
    }
    for (unsigned c = 0; c < node.mNumChildren; ++c) {
        buildSkeleton(*node.mChildren[c], *childrensParent, bones);
    }
}

void processAnimations(const aiScene& scene, std::vector<Animation>& animations, const std::vector<Bone>& bones) {
    getGeneralLogger()->debug("Loaading Animation");
    for (unsigned a = 0; a < scene.mNumAnimations; ++a) {
        const aiAnimation& source = *scene.mAnimations[a];
        Animation animation;
        // A file may leave the rate unspecified (0): its ticks are then taken as seconds rather
        // than dividing by zero.
        const double ticksPerSecond = source.mTicksPerSecond > 0.0 ? source.mTicksPerSecond : 1.0;
        animation.duration = static_cast<float>(source.mDuration / ticksPerSecond);
        for (unsigned c = 0; c < source.mNumChannels; ++c) {
            const aiNodeAnim& channel = *source.mChannels[c];
            const std::size_t boneIndex = findBone(bones, channel.mNodeName.C_Str());
            getGeneralLogger()->debug("Processing Keyframes for bone '{}' '{}'", boneIndex, channel.mNodeName.C_Str());
            if (boneIndex == bones.size()) {
                continue; // a node that carries no bone: its poses would refer to nothing
            }
            for (unsigned i = 0; i < channel.mNumPositionKeys; ++i) {
                if (animation.keyFrames.size() <= i) {
                    animation.keyFrames.push_back({{}, static_cast<float>(channel.mPositionKeys[i].mTime)});
                }
                animation.keyFrames[i].poses.push_back(poseAt(channel, i, boneIndex));
            }
        }
        animations.push_back(std::move(animation));
    }
}
