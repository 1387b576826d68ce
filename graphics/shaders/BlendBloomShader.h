#pragma once

#include "graphics/shaders/RenderShaderProgram.h"
#include "graphics/shaders/Uniform.h"

// The composite: the resolved scene plus the blurred bloom, gamma-encoded for the window.
class BlendBloomShader : public RenderShaderProgram {
public:
    BlendBloomShader();

    Uniform<Texture> sceneTexture;
    Uniform<Texture> bloomTexture;
    Uniform<float> gamma;
};
