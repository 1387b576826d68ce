// Models built from imported data on the GPU: material tables, shared meshes, bone arrays.
#include "graphics/model/Model.h"
#include "tests/support/LogCapture.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {
SubMesh triangle() {
    SubMesh mesh;
    mesh.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    mesh.normals.assign(3, {0, 0, 1});
    mesh.triangles = {{0, 1, 2}};
    mesh.textureCoordinates.assign(3, glm::vec2(0));
    mesh.boneIds.assign(3, glm::uvec4(0));
    mesh.boneWeights.assign(3, glm::vec4(0));
    return mesh;
}

ModelData twoMeshes(std::size_t firstMaterial, std::size_t secondMaterial) {
    ModelData data;
    data.name = "pair";
    data.subMeshes = {triangle(), triangle()};
    data.meshTransforms = {glm::mat4(1.0f), glm::translate(glm::mat4(1.0f), {0, 2, 0})};
    data.materialIndices = {firstMaterial, secondMaterial};
    return data;
}

ModelData withBones(std::size_t count) {
    ModelData data = twoMeshes(0, 0);
    for (std::size_t j = 0; j < count; ++j) {
        data.bones.push_back({j, "bone" + std::to_string(j), glm::mat4(1.0f),
                              glm::translate(glm::mat4(1.0f), {static_cast<float>(j), 0, 0})});
    }
    return data;
}
} // namespace

TEST(Model, MaterialTableCoversTheLargestIndexWithZeroMaterials) {
    const Model model(twoMeshes(0, 2));
    ASSERT_EQ(model.materials.size(), 3u);
    for (const Material& material : model.materials) {
        EXPECT_EQ(material.albedo, glm::vec3(0));
        EXPECT_EQ(material.roughness, 0.0f);
    }
    EXPECT_EQ(model.materialIndices, (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(model.meshTransforms[1], glm::translate(glm::mat4(1.0f), {0, 2, 0}));
    ASSERT_EQ(model.meshes.size(), 2u);
    EXPECT_EQ(model.meshes[0]->indexCount(), 3);
}

TEST(Model, CopySharesMeshesButKeepsItsOwnMaterials) {
    Model original(twoMeshes(0, 2));
    original.setMaterial(2, {{0.8f, 0.144529f, 0.021182f}, 0.2f, 0.75f, 0.0f});
    const Model copy(original);
    original.setMaterial(2, {{0.021182f, 0.144529f, 0.8f}, 0.2f, 0.75f, 0.0f});

    EXPECT_EQ(copy.meshes[0].get(), original.meshes[0].get());
    EXPECT_EQ(copy.meshes[1].get(), original.meshes[1].get());
    EXPECT_EQ(copy.materials[2].albedo, glm::vec3(0.8f, 0.144529f, 0.021182f));
    EXPECT_EQ(original.materials[2].albedo, glm::vec3(0.021182f, 0.144529f, 0.8f));
}

TEST(Model, MaterialPastTheTableIsRefused) {
    Model model(twoMeshes(0, 1));
    LogCapture log;
    EXPECT_FALSE(model.setMaterial(2, {{1, 1, 1}, 1, 1, 1}));
    EXPECT_EQ(log.count("Material 2 is past the 2 materials of model 'pair'"), 1u);
    EXPECT_EQ(model.materials.size(), 2u);
}

TEST(Model, NoMeshesGiveNoMaterials) {
    const Model model(ModelData{});
    EXPECT_TRUE(model.meshes.empty());
    EXPECT_TRUE(model.materials.empty());
}

TEST(Model, BindTransformsHoldTheFirstFiftyBonesAndBoneTransformsStayIdentity) {
    const Model many(withBones(60));
    EXPECT_EQ(many.bones.size(), 60u);
    EXPECT_EQ(many.bindTransforms[49], glm::translate(glm::mat4(1.0f), {49, 0, 0}));
    const Model few(withBones(3));
    EXPECT_EQ(few.bindTransforms[2], glm::translate(glm::mat4(1.0f), {2, 0, 0}));
    EXPECT_EQ(few.bindTransforms[3], glm::mat4(1.0f));
    for (const glm::mat4& transform : many.boneTransforms) {
        EXPECT_EQ(transform, glm::mat4(1.0f));
    }
}

TEST(Model, DogFromItsFileKeepsBonesSkeletonAndAnimation) {
    const Model dog(std::string("assets/models/shiba_simpleAnim_exp.dae"));
    EXPECT_EQ(dog.meshes.size(), 4u);
    EXPECT_EQ(dog.materials.size(), 4u);
    EXPECT_FALSE(dog.bones.empty());
    EXPECT_TRUE(dog.skeleton.has_value());
    EXPECT_EQ(dog.animations.size(), 1u);
    for (std::size_t i = 0; i < dog.meshes.size(); ++i) {
        EXPECT_GT(dog.meshes[i]->indexCount(), 0) << "mesh " << i;
    }
}
