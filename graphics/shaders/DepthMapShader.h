#pragma once

#include "graphics/shaders/RenderShaderProgram.h"
#include "graphics/shaders/Uniform.h"

// The shadow pass: depth only, seen from the shadow-casting light.
class DepthMapShader : public RenderShaderProgram {
public:
    DepthMapShader();

    Uniform<glm::mat4> lightSpaceMatrix;
    Uniform<glm::mat4> model;
};
