#pragma once

#include "graphics/shaders/RenderShaderProgram.h"
#include "graphics/shaders/Uniform.h"

// A head-up-display image: the screen quad over the image's viewport, textured and tinted by color,
// or plain color without a texture. The colour's alpha is kept, so a heart can be made invisible.
class DisplayTextureShader : public RenderShaderProgram {
public:
    DisplayTextureShader();

    Uniform<Texture> targetTexture;
    Uniform<bool> hasTexture;
    Uniform<glm::vec4> color;
};
