#include "tests/graphics/TestPrograms.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

const char* const screenQuadVertexSource = R"(#version 430 core
layout(location = 0) in vec2 position;
layout(location = 1) in vec2 textureCoordinate;
out vec2 uv;
void main() {
    uv = textureCoordinate;
    gl_Position = vec4(position, 0.0, 1.0);
}
)";

std::string writeTemporaryFile(const std::string& extension, const std::string& text) {
    static int fileCount = 0;
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("vornhalt-test-" + std::to_string(getpid()) +
                                                  "-" + std::to_string(fileCount++) + extension);
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

RenderShaderProgram buildTestProgram(const std::string& vertexSource,
                                     const std::string& fragmentSource) {
    const std::string vertexPath = writeTemporaryFile(".vert", vertexSource);
    const std::string fragmentPath = writeTemporaryFile(".frag", fragmentSource);
    RenderShaderProgram program(vertexPath, fragmentPath);
    std::filesystem::remove(vertexPath);
    std::filesystem::remove(fragmentPath);
    return program;
}
