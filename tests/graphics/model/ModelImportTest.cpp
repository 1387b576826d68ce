// The import on small files made for each case, and on scenes built in memory where a file
// cannot say what the case needs (a rate of 24 ticks a second, fewer rotation than position keys).
#include "graphics/model/ModelImport.h"
#include "tests/graphics/ExpectNear.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/LogCapture.h"
#include "tools/assetgen/ColladaWriter.h"

#include <assimp/scene.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
GeneratedMesh triangles(const std::string& name, int count) {
    GeneratedMesh mesh{.name = name};
    for (int i = 0; i < count * 3; ++i) {
        const float x = static_cast<float>(i / 3) + (i % 3 == 1 ? 1.0f : 0.0f);
        mesh.positions.emplace_back(x, i % 3 == 2 ? 1.0f : 0.0f, 0.0f);
        mesh.normals.emplace_back(0.0f, 0.0f, 1.0f);
    }
    for (unsigned t = 0; t < static_cast<unsigned>(count); ++t) {
        mesh.triangles.push_back({3 * t, 3 * t + 1, 3 * t + 2});
    }
    return mesh;
}

// CTest runs each case in a process of its own, several at once: every case writes its own file.
ModelData importText(const std::string& text) {
    const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::filesystem::path path =
        std::filesystem::path(testing::TempDir()) / (name + "-" + std::to_string(getpid()) + ".dae");
    std::ofstream(path) << text;
    ModelData data = loadModel(path.string());
    std::filesystem::remove(path);
    return data;
}

ColladaModel oneMaterial() {
    ColladaModel model;
    model.sceneName = "Fixture";
    model.materials = {{"m0", {1.0f, 1.0f, 1.0f}}};
    return model;
}

const float pi = 3.14159265f;
} // namespace

// Each mesh gets its own node's world transform: a sibling visited earlier leaves no trace, a
// parent without meshes still passes its rotation on, and the vertices stay in node space.
TEST(ModelImport, EachMeshGetsItsNodesWorldTransformAlongItsOwnBranch) {
    ColladaModel model = oneMaterial();
    model.meshes = {triangles("a", 1), triangles("b", 1), triangles("c", 1)};
    const glm::mat4 parent = glm::rotate(glm::translate(glm::mat4(1.0f), {1, 0, 0}), pi / 2, {0, 1, 0});
    const glm::mat4 a = glm::translate(glm::mat4(1.0f), {0, 2, 0});
    const glm::mat4 b = glm::scale(glm::mat4(1.0f), {2, 2, 2});
    model.root = {.name = "Top", .children = {{.name = "Parent", .transform = parent,
                                               .children = {{.name = "A", .transform = a, .mesh = 0, .material = 0},
                                                            {.name = "B", .transform = b, .mesh = 1, .material = 0}}},
                                              {.name = "C", .mesh = 2, .material = 0}}};
    const ModelData data = importText(writeCollada(model));

    ASSERT_EQ(data.subMeshes.size(), 3u);
    expectNear(data.meshTransforms[0], parent * a);
    expectNear(data.meshTransforms[1], parent * b);
    expectNear(data.meshTransforms[2], glm::mat4(1.0f));
    EXPECT_EQ(data.subMeshes[1].positions[1], glm::vec3(1, 0, 0)) << "vertices must not be baked";
    EXPECT_EQ(data.subMeshes[1].normals[1], glm::vec3(0, 0, 1));
    EXPECT_EQ(data.name, "Fixture");
}

TEST(ModelImport, MeshArraysAreParallelWithZeroTextureCoordinatesAndNoBones) {
    ColladaModel model = oneMaterial();
    model.meshes = {triangles("a", 2)};
    model.root = {.name = "A", .mesh = 0, .material = 0};
    const ModelData data = importText(writeCollada(model));

    ASSERT_EQ(data.subMeshes.size(), 1u);
    const SubMesh& mesh = data.subMeshes[0];
    EXPECT_TRUE(mesh.name.empty());
    EXPECT_EQ(mesh.triangles.size(), 2u);
    ASSERT_EQ(mesh.positions.size(), 6u);
    EXPECT_EQ(mesh.normals.size(), 6u);
    EXPECT_EQ(mesh.textureCoordinates, std::vector<glm::vec2>(6, glm::vec2(0)));
    EXPECT_EQ(mesh.boneIds, std::vector<glm::uvec4>(6, glm::uvec4(0)));
    EXPECT_EQ(mesh.boneWeights, std::vector<glm::vec4>(6, glm::vec4(0)));
    EXPECT_FALSE(data.skeleton.has_value());
    EXPECT_TRUE(data.bones.empty());
}

namespace {
// Joints a..e in a chain below the root, and two triangles whose six vertices carry: (a .2, b .5,
// c .3); (a 1, b 1); five influences; one listed weight of zero; none at all; (a 1).
ColladaModel skinnedFixture() {
    ColladaModel model = oneMaterial();
    GeneratedMesh mesh = triangles("skin", 2);
    mesh.influences = {{{0, 0.2f}, {1, 0.5f}, {2, 0.3f}},
                       {{0, 1.0f}, {1, 1.0f}},
                       {{0, 0.3f}, {1, 0.25f}, {2, 0.2f}, {3, 0.15f}, {4, 0.1f}},
                       {{0, 0.0f}},
                       {},
                       {{0, 1.0f}}};
    model.meshes = {mesh};
    model.joints = {"a", "b", "c", "d", "e"};
    ColladaNode* parent = &model.root;
    model.root = {.name = "Top", .children = {{.name = "Skinned", .mesh = 0, .material = 0}}};
    for (std::size_t j = 0; j < model.joints.size(); ++j) {
        const glm::mat4 local = glm::translate(glm::mat4(1.0f), {0, 1, 0});
        parent->children.push_back({.name = model.joints[j], .transform = local, .joint = true});
        parent = &parent->children.back();
        model.inverseBindMatrices.push_back(glm::translate(glm::mat4(1.0f), {0, -static_cast<float>(j + 1), 0}));
    }
    return model;
}
} // namespace

TEST(ModelImport, InfluencesAreSortedHeaviestFirstAndNormalisedUnlessAllZero) {
    const ModelData data = importText(writeCollada(skinnedFixture()));
    ASSERT_EQ(data.subMeshes.size(), 1u);
    const SubMesh& mesh = data.subMeshes[0];
    ASSERT_EQ(mesh.boneWeights.size(), 6u);
    ASSERT_EQ(data.bones.size(), 5u);
    EXPECT_EQ(data.bones[1].name, "b");

    EXPECT_EQ(mesh.boneIds[0], glm::uvec4(1, 2, 0, 0));
    EXPECT_NEAR(mesh.boneWeights[0].x, 0.5f, 1e-6f);
    EXPECT_NEAR(mesh.boneWeights[0].y, 0.3f, 1e-6f);
    EXPECT_NEAR(mesh.boneWeights[0].z, 0.2f, 1e-6f);
    EXPECT_EQ(mesh.boneWeights[0].w, 0.0f);
    EXPECT_NEAR(mesh.boneWeights[1].x, 0.5f, 1e-6f);
    EXPECT_NEAR(mesh.boneWeights[1].y, 0.5f, 1e-6f);
    // The fifth influence (e, 0.1) took the slot of the lightest (d, 0.15).
    EXPECT_EQ(mesh.boneIds[2], glm::uvec4(0, 1, 2, 4));
    EXPECT_NEAR(mesh.boneWeights[2].w, 0.1f / 0.85f, 1e-5f);
    for (int v : {3, 4}) {
        EXPECT_EQ(mesh.boneWeights[v], glm::vec4(0.0f)) << "vertex " << v << " must stay zero, not NaN";
    }
    EXPECT_EQ(mesh.boneWeights[5], glm::vec4(1, 0, 0, 0));
}

TEST(ModelImport, SkeletonFollowsTheJointNodesWithBindTransforms) {
    const ModelData data = importText(writeCollada(skinnedFixture()));
    ASSERT_TRUE(data.skeleton.has_value());
    const SkeletonNode* node = &*data.skeleton;
    for (std::size_t depth = 0; depth < 5; ++depth) {
        EXPECT_EQ(node->boneIndex, depth);
        ASSERT_EQ(node->children.size(), depth < 4 ? 1u : 0u);
        if (depth < 4) {
            node = &node->children[0];
        }
    }
    // offset x parent's bind: the chain's translations add up.
    expectNear(data.bones[0].bindTransform, glm::translate(glm::mat4(1.0f), {0, -1, 0}));
    expectNear(data.bones[2].bindTransform, glm::translate(glm::mat4(1.0f), {0, -6, 0}));
    EXPECT_TRUE(data.animations.empty());
}

TEST(ModelImport, FileAnimationKeepsTicksAndGivesDurationInSeconds) {
    ColladaModel model = skinnedFixture();
    model.animationName = "move";
    const glm::mat4 rest = glm::translate(glm::mat4(1.0f), {0, 1, 0});
    model.channels = {{.joint = "b", .times = {0.0f, 1.0f, 2.0f},
                       .transforms = {rest, glm::translate(rest, {1, 0, 0}), rest}}};
    LogCapture log;
    const ModelData data = importText(writeCollada(model));

    ASSERT_EQ(data.animations.size(), 1u);
    const Animation& animation = data.animations[0];
    EXPECT_FLOAT_EQ(animation.duration, 2.0f);
    ASSERT_EQ(animation.keyFrames.size(), 3u);
    EXPECT_GT(animation.keyFrames[2].time, animation.keyFrames[1].time);
    EXPECT_FLOAT_EQ(animation.keyFrames[2].time / animation.keyFrames[1].time, 2.0f) << "times stay in ticks";
    ASSERT_EQ(animation.keyFrames[1].poses.size(), 1u);
    EXPECT_EQ(animation.keyFrames[1].poses[0].boneIndex, 1u);
    EXPECT_NEAR(animation.keyFrames[1].poses[0].position.x, 1.0f, 1e-5f);
    EXPECT_EQ(log.count("Loaading Animation"), 1u);
}

TEST(ModelImport, AnimationWithoutBonesIsNotRead) {
    ColladaModel model = oneMaterial();
    model.meshes = {triangles("a", 1)};
    model.root = {.name = "Mover", .mesh = 0, .material = 0};
    model.animationName = "slide";
    model.channels = {{.joint = "Mover", .times = {0.0f, 1.0f},
                       .transforms = {glm::mat4(1.0f), glm::translate(glm::mat4(1.0f), {1, 0, 0})}}};
    const ModelData data = importText(writeCollada(model));
    EXPECT_FALSE(data.skeleton.has_value());
    EXPECT_TRUE(data.animations.empty());
}

TEST(ModelImport, MissingFileIsFatal) {
    const ChildResult result = runInChild([] { loadModel("assets/models/no-such-model.dae"); });
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.standardError.find("Could not load model: "), std::string::npos) << result.standardError;
    EXPECT_NE(result.standardError.find("Loading model from file 'assets/models/no-such-model.dae'"),
              std::string::npos);
}

namespace {
// A scene in memory: one mesh with one bone "j" on a node "j", and an animation whose rate the
// test chooses. The scene owns and frees everything it points to.
struct MemoryScene {
    aiScene scene;

    MemoryScene() {
        scene.mRootNode = new aiNode("root");
        scene.mRootNode->mNumMeshes = 1;
        scene.mRootNode->mMeshes = new unsigned[1]{0};
        auto* joint = new aiNode("j");
        scene.mRootNode->addChildren(1, &joint);
        auto* mesh = new aiMesh;
        mesh->mNumVertices = 3;
        mesh->mVertices = new aiVector3D[3]{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        mesh->mNumFaces = 2;
        mesh->mFaces = new aiFace[2];
        mesh->mFaces[0].mNumIndices = 3;
        mesh->mFaces[0].mIndices = new unsigned[3]{0, 1, 2};
        mesh->mFaces[1].mNumIndices = 2; // a line: no triangle
        mesh->mFaces[1].mIndices = new unsigned[2]{0, 1};
        mesh->mNumBones = 1;
        mesh->mBones = new aiBone*[1]{new aiBone};
        mesh->mBones[0]->mName = "j";
        mesh->mBones[0]->mNumWeights = 2;
        mesh->mBones[0]->mWeights = new aiVertexWeight[2]{{0, 2.0f}, {1, 0.0f}};
        scene.mNumMeshes = 1;
        scene.mMeshes = new aiMesh*[1]{mesh};
    }

    void addAnimation(double duration, double ticksPerSecond, unsigned positionKeys, unsigned rotationKeys,
                      const char* node = "j") {
        auto* channel = new aiNodeAnim;
        channel->mNodeName = node;
        channel->mNumPositionKeys = positionKeys;
        channel->mPositionKeys = new aiVectorKey[positionKeys];
        for (unsigned i = 0; i < positionKeys; ++i) {
            channel->mPositionKeys[i] = aiVectorKey(12.0 * i, aiVector3D(static_cast<float>(i), 0, 0));
        }
        channel->mNumRotationKeys = rotationKeys;
        channel->mRotationKeys = new aiQuatKey[rotationKeys];
        for (unsigned i = 0; i < rotationKeys; ++i) {
            channel->mRotationKeys[i] = aiQuatKey(12.0 * i, aiQuaternion(aiVector3D(0, 1, 0), 0.5f * (i + 1)));
        }
        auto* animation = new aiAnimation;
        animation->mDuration = duration;
        animation->mTicksPerSecond = ticksPerSecond;
        animation->mNumChannels = 1;
        animation->mChannels = new aiNodeAnim*[1]{channel};
        scene.mNumAnimations = 1;
        scene.mAnimations = new aiAnimation*[1]{animation};
    }
};
} // namespace

TEST(ModelImport, DurationIsTicksOverTicksPerSecond) {
    MemoryScene memory;
    memory.addAnimation(48.0, 24.0, 2, 2);
    const ModelData data = processScene(memory.scene);
    ASSERT_EQ(data.animations.size(), 1u);
    EXPECT_FLOAT_EQ(data.animations[0].duration, 2.0f);
    EXPECT_FLOAT_EQ(data.animations[0].keyFrames[1].time, 12.0f);
}

TEST(ModelImport, UnspecifiedRateGivesAFiniteDuration) {
    MemoryScene memory;
    memory.addAnimation(48.0, 0.0, 1, 1);
    EXPECT_FLOAT_EQ(processScene(memory.scene).animations[0].duration, 48.0f);
}

// Reading rotation key i for position key i would run past a shorter rotation list.
TEST(ModelImport, RotationHoldsPastTheLastRotationKey) {
    MemoryScene memory;
    memory.addAnimation(36.0, 24.0, 4, 2);
    const Animation animation = processScene(memory.scene).animations[0];
    ASSERT_EQ(animation.keyFrames.size(), 4u);
    const glm::quat second = animation.keyFrames[1].poses[0].rotation;
    for (int i : {2, 3}) {
        EXPECT_EQ(animation.keyFrames[i].poses[0].rotation, second);
        EXPECT_EQ(animation.keyFrames[i].poses[0].position.x, static_cast<float>(i));
    }
    EXPECT_NEAR(second.y, std::sin(0.5f), 1e-6f); // (axis y, angle 1): sin(angle / 2)
}

TEST(ModelImport, NoRotationKeysGiveTheIdentity) {
    MemoryScene memory;
    memory.addAnimation(24.0, 24.0, 2, 0);
    const Animation animation = processScene(memory.scene).animations[0];
    EXPECT_EQ(animation.keyFrames[1].poses[0].rotation, glm::quat(1, 0, 0, 0));
}

TEST(ModelImport, ChannelOfANodeWithoutBoneAddsNoPoses) {
    MemoryScene memory;
    memory.addAnimation(24.0, 24.0, 2, 2, "root");
    const ModelData data = processScene(memory.scene);
    ASSERT_EQ(data.animations.size(), 1u);
    EXPECT_TRUE(data.animations[0].keyFrames.empty());
}

TEST(ModelImport, ShortFacesAreSkippedAndWeightsNormalisedInMemory) {
    MemoryScene memory;
    const ModelData data = processScene(memory.scene);
    ASSERT_EQ(data.subMeshes.size(), 1u);
    EXPECT_EQ(data.subMeshes[0].triangles, std::vector<glm::uvec3>{glm::uvec3(0, 1, 2)});
    EXPECT_EQ(data.subMeshes[0].boneWeights[0], glm::vec4(1, 0, 0, 0)); // 2.0 alone scales to 1
    EXPECT_EQ(data.subMeshes[0].boneWeights[1], glm::vec4(0)) << "a zero sum must not become NaN";
    EXPECT_EQ(data.subMeshes[0].normals[0], glm::vec3(0)) << "no normals in the scene: zero, not garbage";
}

TEST(ModelImport, TrianglesWithACornerPastTheVerticesAreLeftOutWithAWarning) {
    MemoryScene memory;
    aiMesh& mesh = *memory.scene.mMeshes[0];
    mesh.mName = "broken";
    mesh.mFaces[1].mNumIndices = 3;
    delete[] mesh.mFaces[1].mIndices;
    mesh.mFaces[1].mIndices = new unsigned[3]{0, 2, 3}; // vertex 3 of three
    LogCapture log;
    const ModelData data = processScene(memory.scene);
    EXPECT_EQ(data.subMeshes[0].triangles, std::vector<glm::uvec3>{glm::uvec3(0, 1, 2)});
    EXPECT_EQ(log.count("Mesh 'broken' has 1 triangles with corners past its 3 vertices; they are left out"), 1u);
}
