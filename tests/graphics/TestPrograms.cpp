#include "tests/graphics/TestPrograms.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>

const char* const screenQuadVertexSource = R"(#version 430 core
layout(location = 0) in vec2 position;
layout(location = 1) in vec2 textureCoordinate;
out vec2 uv;
void main() {
    uv = textureCoordinate;
    gl_Position = vec4(position, 0.0, 1.0);
}
)";

namespace {
// Removes the files at exit, also when a fatal path ends the process inside a test (exit runs
// the destructors of statics).
class TemporaryFiles {
public:
    ~TemporaryFiles() {
        for (const std::filesystem::path& path : paths) {
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        }
    }
    std::filesystem::path add(const std::string& extension) {
        paths.push_back(std::filesystem::temp_directory_path() /
                        ("vornhalt-test-" + std::to_string(getpid()) + "-" +
                         std::to_string(paths.size()) + extension));
        return paths.back();
    }

private:
    std::vector<std::filesystem::path> paths;
};
} // namespace

std::string writeTemporaryFile(const std::string& extension, const std::string& text) {
    static TemporaryFiles files;
    const std::filesystem::path path = files.add(extension);
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
