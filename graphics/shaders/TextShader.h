#pragma once

#include "graphics/shaders/RenderShaderProgram.h"
#include "graphics/shaders/Uniform.h"

// Glyph quads in canvas pixels: the one-channel glyph texture is the coverage (alpha) of textColor.
class TextShader : public RenderShaderProgram {
public:
    TextShader();

    Uniform<glm::mat4> projection;
    Uniform<glm::vec3> textColor;
    Uniform<Texture> text;
};
