#include "graphics/shaders/RenderShaderProgram.h"

RenderShaderProgram::RenderShaderProgram(const std::string& vertexPath,
                                         const std::string& fragmentPath)
    : vertexShader(GL_VERTEX_SHADER, vertexPath), fragmentShader(GL_FRAGMENT_SHADER, fragmentPath) {
    vertexShader.compile();
    fragmentShader.compile();
    attachShader(vertexShader);
    attachShader(fragmentShader);
    link();
}

RenderShaderProgram::RenderShaderProgram(const std::string& basePath)
    : RenderShaderProgram(basePath + ".vert", basePath + ".frag") {}
