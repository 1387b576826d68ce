#include "graphics/shaders/Shader.h"

#include "engine/Logging.h"
#include "graphics/shaders/InfoLog.h"

#include <fstream>

Shader::Shader(GLenum type, const std::string& path) : type(type), path(path) {
    handle = glCreateShader(type);
    getGlLogger()->debug("Created Shader {}", handle);
}

std::string Shader::readSourceFile(const std::string& path) {
    getGlLogger()->debug("Reading shader code from file '{}'", path);
    std::ifstream file(path);
    if (!file) {
        getGlLogger()->error("Could not find shader at path: '{}'", path);
        return {};
    }
    std::string source;
    for (std::string line; std::getline(file, line);) {
        source += line;
        source += '\n';
    }
    return source;
}

void Shader::compile() {
    checkValid();
    getGlLogger()->debug("Compiling code for Shader {0} from file '{1}'", handle, path);
    const std::string source = readSourceFile(path);
    const char* text = source.c_str();
    const auto length = static_cast<GLint>(source.size());
    glShaderSource(handle, 1, &text, &length);
    glCompileShader(handle);
    GLint status = 0;
    glGetShaderiv(handle, GL_COMPILE_STATUS, &status);
    if (status == 0) {
        fatal(getGlLogger(), "{}", readInfoLog(handle, glGetShaderiv, glGetShaderInfoLog));
    }
}

void Shader::destroy() {
    getGlLogger()->debug("Deleting Shader {}", handle);
    checkValid();
    glDeleteShader(std::exchange(handle, 0));
}
