#include "graphics/shaders/Shaders.h"

#include "tests/support/ChildTest.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>
#include <map>

namespace {
// Runs only through the test below, in a process of its own, where this is the first request.
TEST(ShadersFirstUse, DISABLED_BuildsEveryProgramWithoutAWarning) {
    LogCapture capture;
    const Shaders& shaders = getShaders();
    EXPECT_EQ(capture.countAtLeast(spdlog::level::warn), 0u);
    EXPECT_EQ(
        capture.count("Linking ShaderProgram " + std::to_string(shaders.blendBloom.getHandle())),
        1u);
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, static_cast<GLint>(shaders.text.getHandle()))
        << "the last one built is current";
    capture.clear();
    EXPECT_EQ(&getShaders(), &shaders);
    EXPECT_TRUE(capture.lines().empty()) << "a second request compiles nothing";
}

TEST(Shaders, BuildFromTheAssetsWithNoErrorLine) {
    const ChildResult result =
        runTestInChild("ShadersFirstUse.DISABLED_BuildsEveryProgramWithoutAWarning");
    EXPECT_EQ(result.exitStatus, 0) << result.standardError;
    EXPECT_EQ(result.standardError.find("[error]"), std::string::npos) << result.standardError;
    EXPECT_EQ(result.standardError.find("[critical]"), std::string::npos) << result.standardError;
}

struct ActiveUniform {
    GLenum type;
    GLint size;
    bool operator==(const ActiveUniform&) const = default;
};

std::map<std::string, ActiveUniform> activeUniforms(const ShaderProgram& program) {
    std::map<std::string, ActiveUniform> uniforms;
    GLint count = 0;
    glGetProgramiv(program.getHandle(), GL_ACTIVE_UNIFORMS, &count);
    for (GLint i = 0; i < count; ++i) {
        char name[128] = {};
        GLsizei length = 0;
        ActiveUniform uniform{};
        glGetActiveUniform(program.getHandle(), static_cast<GLuint>(i), sizeof name, &length,
                           &uniform.size, &uniform.type, name);
        uniforms[std::string(name, static_cast<std::size_t>(length))] = uniform;
    }
    return uniforms;
}

void addLights(std::map<std::string, ActiveUniform>& uniforms, const std::string& array,
               const std::vector<std::pair<std::string, GLenum>>& fields) {
    for (std::size_t i = 0; i < maxLights; ++i) {
        for (const auto& [field, type] : fields) {
            uniforms[array + "[" + std::to_string(i) + "]." + field] = {type, 1};
        }
    }
}

// Every uniform a program has is one the code sets, with the type its upload implies: glUniform1i
// for bools and samplers, glUniform2uiv for the kernel size, one call for the 25 weights and for
// the 50 bone matrices.
TEST(Shaders, DeclareExactlyTheUniformsTheCodeSetsWithTheirUploadTypes) {
    const Shaders& shaders = getShaders();
    std::map<std::string, ActiveUniform> pbr = {
        {"hasBones", {GL_BOOL, 1}},
        {"boneTransforms[0]", {GL_FLOAT_MAT4, 50}},
        {"viewProjectMatrix", {GL_FLOAT_MAT4, 1}},
        {"modelMatrix", {GL_FLOAT_MAT4, 1}},
        {"eyePos", {GL_FLOAT_VEC3, 1}},
        {"ao", {GL_FLOAT, 1}},
        {"albedo", {GL_FLOAT_VEC3, 1}},
        {"roughness", {GL_FLOAT, 1}},
        {"metalness", {GL_FLOAT, 1}},
        {"shadowMapKernel[0]", {GL_FLOAT, 25}},
        {"shadowMapKernelSize", {GL_UNSIGNED_INT_VEC2, 1}},
        {"shadowMap", {GL_SAMPLER_2D, 1}},
        {"shadowSourceLightSpaceMatrix", {GL_FLOAT_MAT4, 1}},
        {"shadowSourceLightDirection", {GL_FLOAT_VEC3, 1}},
    };
    addLights(pbr, "pointLights",
              {{"position", GL_FLOAT_VEC3},
               {"intensity", GL_FLOAT_VEC3},
               {"attenuation", GL_FLOAT_VEC3}});
    addLights(pbr, "directionalLights",
              {{"direction", GL_FLOAT_VEC3}, {"intensity", GL_FLOAT_VEC3}});
    addLights(pbr, "spotLights",
              {{"position", GL_FLOAT_VEC3},
               {"direction", GL_FLOAT_VEC3},
               {"intensity", GL_FLOAT_VEC3},
               {"attenuation", GL_FLOAT_VEC3},
               {"outerAngle", GL_FLOAT},
               {"innerAngle", GL_FLOAT}});

    const std::pair<const ShaderProgram*, std::map<std::string, ActiveUniform>> programs[] = {
        {&shaders.blendBloom,
         {{"sceneTexture", {GL_SAMPLER_2D, 1}},
          {"bloomTexture", {GL_SAMPLER_2D, 1}},
          {"gamma", {GL_FLOAT, 1}}}},
        {&shaders.depthMap,
         {{"lightSpaceMatrix", {GL_FLOAT_MAT4, 1}}, {"model", {GL_FLOAT_MAT4, 1}}}},
        {&shaders.displayTexture,
         {{"targetTexture", {GL_SAMPLER_2D, 1}},
          {"hasTexture", {GL_BOOL, 1}},
          {"color", {GL_FLOAT_VEC4, 1}}}},
        {&shaders.textureFilter,
         {{"targetTexture", {GL_SAMPLER_2D, 1}}, {"isHorizontal", {GL_BOOL, 1}}}},
        {&shaders.pbr, pbr},
        {&shaders.skybox,
         {{"viewProjectMatrix", {GL_FLOAT_MAT4, 1}}, {"skybox", {GL_SAMPLER_CUBE, 1}}}},
        {&shaders.text,
         {{"projection", {GL_FLOAT_MAT4, 1}},
          {"textColor", {GL_FLOAT_VEC3, 1}},
          {"text", {GL_SAMPLER_2D, 1}}}},
    };
    for (const auto& [program, expected] : programs) {
        const std::map<std::string, ActiveUniform> actual = activeUniforms(*program);
        for (const auto& [name, uniform] : expected) {
            SCOPED_TRACE(name);
            ASSERT_EQ(actual.count(name), 1u);
            EXPECT_EQ(actual.at(name).type, uniform.type);
            EXPECT_EQ(actual.at(name).size, uniform.size);
        }
        EXPECT_EQ(actual.size(), expected.size()) << "a uniform that nothing sets";
    }
}

TEST(Shaders, ResolveTheLightArraysElementByElement) {
    PBRShader& pbr = getShaders().pbr;
    pbr.use();
    pbr.directionalLights[5].set({{0, -1, 0}, {0.5f, 0.25f, 0.125f}});
    glm::vec3 intensity(0);
    glGetUniformfv(pbr.getHandle(),
                   glGetUniformLocation(pbr.getHandle(), "directionalLights[5].intensity"),
                   &intensity.x);
    EXPECT_EQ(intensity, glm::vec3(0.5f, 0.25f, 0.125f));
    pbr.directionalLights[5].set({});
}
} // namespace
