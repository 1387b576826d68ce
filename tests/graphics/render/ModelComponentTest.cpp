#include "graphics/render/ModelComponent.h"

#include "engine/Engine.h"
#include "graphics/model/Model.h"
#include "graphics/render/RenderContext.h"
#include "graphics/shaders/Shaders.h"
#include "tests/graphics/ExpectNear.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

namespace {
ModelData oneTriangle(const glm::mat4& meshTransform) {
    ModelData data;
    SubMesh triangle;
    triangle.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    triangle.normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    triangle.triangles = {{0, 1, 2}};
    data.subMeshes.push_back(std::move(triangle));
    data.meshTransforms = {meshTransform};
    data.materialIndices = {0};
    return data;
}

glm::mat4 readMatrix(const ShaderProgram& program, const std::string& name) {
    glm::mat4 value(0.0f);
    glGetUniformfv(program.getHandle(), *program.findUniform(name), glm::value_ptr(value));
    return value;
}

GLint readInt(const ShaderProgram& program, const std::string& name) {
    GLint value = -1;
    glGetUniformiv(program.getHandle(), *program.findUniform(name), &value);
    return value;
}

class ModelComponentTest : public testing::Test {
protected:
    ModelComponentTest() : model(oneTriangle(meshTransform)) {
        GameObject& dog = *root.addChild("Dog").lock();
        dog.position = {1.0f, 2.0f, 3.0f};
        dog.rotation = glm::angleAxis(glm::radians(90.0f), glm::vec3(0, 1, 0));
        dog.addComponent<ModelComponent>(&model);
        owner = &dog;
    }

    // Owner placement first, then the mesh's transform within the model: the mesh is drawn
    // where the physics level puts it.
    glm::mat4 expectedWorld() const {
        return glm::translate(glm::mat4(1.0f), owner->position) * glm::mat4_cast(owner->rotation) *
               meshTransform;
    }

    const glm::mat4 meshTransform =
        glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.5f, 0.0f)), glm::vec3(2.0f));
    GameObject root{"Root"};
    Model model;
    GameObject* owner = nullptr;
    RenderContext& renderContext = *gEngine->renderContext;
};

TEST_F(ModelComponentTest, ShadowPassUploadsTheWorldMatrixToTheDepthProgramOnly) {
    getShaders().pbr.use();
    getShaders().pbr.hasBones.set(true); // as a skinned model of the last scene pass left it
    renderContext.renderShadowMap(root, glm::mat4(1.0f), glm::vec3(0.0f, -1.0f, 0.0f));
    expectNear(readMatrix(getShaders().depthMap, "model"), expectedWorld());
    EXPECT_EQ(readInt(getShaders().pbr, "hasBones"), 1) << "the shadow pass leaves the bones alone";
}

TEST_F(ModelComponentTest, ScenePassUploadsBonesMaterialAndWorldMatrix) {
    model.materials[0].albedo = {0.25f, 0.5f, 0.75f};
    renderContext.renderScene(root);
    const PBRShader& pbr = getShaders().pbr;
    expectNear(readMatrix(pbr, "modelMatrix"), expectedWorld());
    EXPECT_EQ(readInt(pbr, "hasBones"), 0) << "a model without bones";
    const glm::mat4 firstBone = readMatrix(pbr, "boneTransforms[0]");
    expectNear(firstBone, glm::mat4(1.0f));
    glm::vec3 albedo(0.0f);
    glGetUniformfv(pbr.getHandle(), *pbr.findUniform("albedo"), glm::value_ptr(albedo));
    EXPECT_EQ(albedo, glm::vec3(0.25f, 0.5f, 0.75f));
}

// A skinned mesh reaches any of the 50 bones: every matrix goes up, not only the first.
TEST_F(ModelComponentTest, ScenePassUploadsEveryBoneOfASkinnedModel) {
    model.bones.resize(2);
    for (std::size_t j = 0; j < maxBones; ++j) {
        const float f = static_cast<float>(j);
        model.boneTransforms[j] = glm::translate(glm::mat4(1.0f), glm::vec3(f, 2.0f * f, -0.5f * f));
    }
    renderContext.renderScene(root);
    const PBRShader& pbr = getShaders().pbr;
    EXPECT_EQ(readInt(pbr, "hasBones"), 1);
    for (std::size_t j = 0; j < maxBones; ++j) {
        SCOPED_TRACE(testing::Message() << "bone " << j);
        const std::string name = "boneTransforms[" + std::to_string(j) + "]";
        glm::mat4 uploaded(0.0f);
        glGetUniformfv(pbr.getHandle(), glGetUniformLocation(pbr.getHandle(), name.c_str()),
                       glm::value_ptr(uploaded));
        expectNear(uploaded, model.boneTransforms[j]);
    }
}

TEST_F(ModelComponentTest, AnInactiveComponentIsNotDrawn) {
    owner->getComponent<ModelComponent>()->lock()->setActive(false);
    getShaders().depthMap.use();
    getShaders().depthMap.model.set(glm::mat4(0.0f));
    renderContext.renderShadowMap(root, glm::mat4(1.0f), glm::vec3(0.0f, -1.0f, 0.0f));
    expectNear(readMatrix(getShaders().depthMap, "model"), glm::mat4(0.0f));
}
} // namespace
