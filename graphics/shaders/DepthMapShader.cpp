#include "graphics/shaders/DepthMapShader.h"

DepthMapShader::DepthMapShader()
    : RenderShaderProgram("assets/shaders/depth.vert", "assets/shaders/depth.frag") {
    use();
    lightSpaceMatrix = Uniform<glm::mat4>(*this, "lightSpaceMatrix");
    model = Uniform<glm::mat4>(*this, "model");
}
