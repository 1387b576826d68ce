#pragma once

#include "graphics/shaders/Lights.h"
#include "graphics/shaders/RenderShaderProgram.h"
#include "graphics/shaders/Uniform.h"
#include "graphics/shaders/UniformArray.h"

#include <array>

// The scene program: Cook-Torrance shading of a material over the directional, point and spot
// lights, with skinning and the filtered shadow of one directional light. Writes the lit colour to
// colour attachment 0 and its bright part, the bloom source, to attachment 1.
class PBRShader : public RenderShaderProgram {
public:
    PBRShader();

    Uniform<bool> hasBones;
    Uniform<std::array<glm::mat4, maxBones>> boneTransforms;
    Uniform<glm::mat4> viewProjectMatrix;
    Uniform<glm::mat4> modelMatrix;
    Uniform<glm::vec3> eyePos;
    Uniform<float> ao;
    Uniform<glm::vec3> albedo;
    Uniform<float> roughness;
    Uniform<float> metalness;
    UniformArray<PointLight, maxLights> pointLights;
    UniformArray<DirectionalLight, maxLights> directionalLights;
    UniformArray<SpotLight, maxLights> spotLights;
    Uniform<std::array<float, 25>> shadowMapKernel; // 5 × 5 weights, row by row
    Uniform<glm::uvec2> shadowMapKernelSize;
    Uniform<Texture> shadowMap;
    Uniform<glm::mat4> shadowSourceLightSpaceMatrix;
    Uniform<glm::vec3> shadowSourceLightDirection;
};
