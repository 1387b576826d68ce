#pragma once

#include "graphics/shaders/Shader.h"
#include "graphics/shaders/ShaderProgram.h"

#include <string>

// A program of one vertex and one fragment stage, complete (compiled, linked, uniforms
// recorded) when the constructor returns. Both stages stay attached for the program's life.
class RenderShaderProgram : public ShaderProgram {
public:
    RenderShaderProgram(const std::string& vertexPath, const std::string& fragmentPath);
    // basePath + ".vert" and basePath + ".frag".
    explicit RenderShaderProgram(const std::string& basePath);
    RenderShaderProgram(RenderShaderProgram&&) noexcept = default;

private:
    Shader vertexShader;
    Shader fragmentShader;
};
