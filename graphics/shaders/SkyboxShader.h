#pragma once

#include "graphics/shaders/RenderShaderProgram.h"
#include "graphics/shaders/Uniform.h"

// The background: a cube around the eye at depth 1, so it shows only where the scene left nothing.
class SkyboxShader : public RenderShaderProgram {
public:
    SkyboxShader();

    Uniform<glm::mat4> viewProjectMatrix;
    Uniform<Cubemap> skybox;
};
