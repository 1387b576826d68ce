#pragma once

#include "graphics/shaders/RenderShaderProgram.h"
#include "graphics/shaders/Uniform.h"

// One separable Gaussian blur pass of the bloom, along x or y.
class TextureFilterShader : public RenderShaderProgram {
public:
    TextureFilterShader();

    Uniform<Texture> targetTexture;
    Uniform<bool> isHorizontal;
};
