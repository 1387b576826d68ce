#include "graphics/shaders/DisplayTextureShader.h"

DisplayTextureShader::DisplayTextureShader()
    : RenderShaderProgram("assets/shaders/display-texture") {
    use();
    targetTexture = Uniform<Texture>(*this, "targetTexture");
    hasTexture = Uniform<bool>(*this, "hasTexture");
    color = Uniform<glm::vec4>(*this, "color");
}
