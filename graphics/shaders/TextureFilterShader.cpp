#include "graphics/shaders/TextureFilterShader.h"

TextureFilterShader::TextureFilterShader()
    : RenderShaderProgram("assets/shaders/texture-filter.vert",
                          "assets/shaders/texture-filter.frag") {
    use();
    targetTexture = Uniform<Texture>(*this, "targetTexture");
    isHorizontal = Uniform<bool>(*this, "isHorizontal");
}
