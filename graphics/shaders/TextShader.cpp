#include "graphics/shaders/TextShader.h"

TextShader::TextShader() : RenderShaderProgram("assets/shaders/text") {
    use();
    projection = Uniform<glm::mat4>(*this, "projection");
    textColor = Uniform<glm::vec3>(*this, "textColor");
    text = Uniform<Texture>(*this, "text");
}
