#include "graphics/shaders/BlendBloomShader.h"

BlendBloomShader::BlendBloomShader()
    : RenderShaderProgram("assets/shaders/blend-bloom.vert", "assets/shaders/blend-bloom.frag") {
    use();
    sceneTexture = Uniform<Texture>(*this, "sceneTexture");
    bloomTexture = Uniform<Texture>(*this, "bloomTexture");
    gamma = Uniform<float>(*this, "gamma");
}
