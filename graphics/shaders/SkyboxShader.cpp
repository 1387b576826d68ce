#include "graphics/shaders/SkyboxShader.h"

SkyboxShader::SkyboxShader() : RenderShaderProgram("assets/shaders/skybox") {
    use();
    viewProjectMatrix = Uniform<glm::mat4>(*this, "viewProjectMatrix");
    skybox = Uniform<Cubemap>(*this, "skybox");
}
