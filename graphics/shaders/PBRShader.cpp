#include "graphics/shaders/PBRShader.h"

PBRShader::PBRShader() : RenderShaderProgram("assets/shaders/pbr.vert", "assets/shaders/pbr.frag") {
    use();
    hasBones = Uniform<bool>(*this, "hasBones");
    boneTransforms = Uniform<std::array<glm::mat4, maxBones>>(*this, "boneTransforms[0]");
    viewProjectMatrix = Uniform<glm::mat4>(*this, "viewProjectMatrix");
    modelMatrix = Uniform<glm::mat4>(*this, "modelMatrix");
    eyePos = Uniform<glm::vec3>(*this, "eyePos");
    pointLights = UniformArray<PointLight, maxLights>(*this, "pointLights");
    directionalLights = UniformArray<DirectionalLight, maxLights>(*this, "directionalLights");
    spotLights = UniformArray<SpotLight, maxLights>(*this, "spotLights");
    ao = Uniform<float>(*this, "ao");
    albedo = Uniform<glm::vec3>(*this, "albedo");
    roughness = Uniform<float>(*this, "roughness");
    metalness = Uniform<float>(*this, "metalness");
    shadowSourceLightSpaceMatrix = Uniform<glm::mat4>(*this, "shadowSourceLightSpaceMatrix");
    shadowMap = Uniform<Texture>(*this, "shadowMap");
    shadowMapKernel = Uniform<std::array<float, 25>>(*this, "shadowMapKernel[0]");
    shadowMapKernelSize = Uniform<glm::uvec2>(*this, "shadowMapKernelSize");
    shadowSourceLightDirection = Uniform<glm::vec3>(*this, "shadowSourceLightDirection");
}
