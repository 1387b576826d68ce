#include "graphics/shaders/ShaderProgram.h"

#include "engine/Logging.h"
#include "graphics/shaders/InfoLog.h"
#include "graphics/shaders/Shader.h"

ShaderProgram::ShaderProgram() {
    handle = glCreateProgram();
    getGlLogger()->debug("Created ShaderProgram {}", handle);
}

void ShaderProgram::attachShader(const Shader& shader) {
    const GLuint shaderHandle = shader.getHandle();
    checkValid();
    getGlLogger()->debug("Attaching Shader {0} to ShaderProgram {1}", shaderHandle, handle);
    glAttachShader(handle, shaderHandle);
}

void ShaderProgram::link() {
    checkValid();
    getGlLogger()->debug("Linking ShaderProgram {}", handle);
    glLinkProgram(handle);
    GLint status = 0;
    glGetProgramiv(handle, GL_LINK_STATUS, &status);
    if (status == 0) {
        fatal(getGlLogger(), "{}", readInfoLog(handle, glGetProgramiv, glGetProgramInfoLog));
    }
    recordActiveUniforms();
}

void ShaderProgram::recordActiveUniforms() {
    GLint count = 0;
    glGetProgramiv(handle, GL_ACTIVE_UNIFORMS, &count);
    getGeneralLogger()->debug("Active Uniforms: {}", count);
    // One buffer for the whole scan. A name that fills it may have been cut, so the buffer
    // doubles and the same index is asked again.
    std::string buffer(16, '\0');
    for (GLint i = 0; i < count;) {
        GLsizei length = 0;
        GLint size = 0;
        GLenum type = GL_NONE;
        const auto capacity = static_cast<GLsizei>(buffer.size());
        glGetActiveUniform(handle, static_cast<GLuint>(i), capacity, &length, &size, &type,
                           buffer.data());
        if (length >= capacity - 1) {
            buffer.resize(buffer.size() * 2, '\0');
            continue;
        }
        std::string name = buffer.substr(0, static_cast<std::size_t>(length));
        const GLint location = glGetUniformLocation(handle, name.c_str());
        getGeneralLogger()->debug("Uniform #{} Name: {}", i, name);
        uniformLocations.emplace(std::move(name), location);
        ++i;
    }
}

void ShaderProgram::use() const {
    checkValid();
    glUseProgram(handle);
}

void ShaderProgram::destroy() {
    getGlLogger()->debug("Deleting ShaderProgram {}", handle);
    checkValid();
    glDeleteProgram(std::exchange(handle, 0));
}

std::optional<GLint> ShaderProgram::findUniform(const std::string& name) const {
    const auto found = uniformLocations.find(name);
    if (found == uniformLocations.end()) {
        return std::nullopt;
    }
    return found->second;
}
