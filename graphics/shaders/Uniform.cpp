#include "graphics/shaders/Uniform.h"

#include "engine/Logging.h"
#include "graphics/gl/Cubemap.h"

#include <glm/gtc/type_ptr.hpp>

GLint findUniformLocation(const ShaderProgram& program, const std::string& name) {
    if (const std::optional<GLint> location = program.findUniform(name)) {
        return *location;
    }
    getGlLogger()->error("Uniform '{}' is either inactive or missing in shader code!", name);
    return -1;
}

template <>
void Uniform<float>::upload() {
    glUniform1f(location, value);
}

template <>
void Uniform<bool>::upload() {
    glUniform1i(location, value ? 1 : 0);
}

template <>
void Uniform<glm::vec3>::upload() {
    glUniform3fv(location, 1, glm::value_ptr(value));
}

template <>
void Uniform<glm::vec4>::upload() {
    glUniform4fv(location, 1, glm::value_ptr(value));
}

template <>
void Uniform<glm::uvec2>::upload() {
    glUniform2uiv(location, 1, glm::value_ptr(value));
}

template <>
void Uniform<glm::mat4>::upload() {
    glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(value));
}

template <>
void Uniform<std::array<float, 25>>::upload() {
    glUniform1fv(location, static_cast<GLsizei>(value.size()), value.data());
}

template <>
void Uniform<std::array<glm::mat4, maxBones>>::upload() {
    glUniformMatrix4fv(location, static_cast<GLsizei>(value.size()), GL_FALSE,
                       glm::value_ptr(value[0]));
}

template <>
void Uniform<Texture>::upload() {
    glUniform1i(location, static_cast<GLint>(value->getUnit()));
}

template <>
void Uniform<Cubemap>::upload() {
    glUniform1i(location, static_cast<GLint>(value->getUnit()));
}

template class Uniform<float>;
template class Uniform<bool>;
template class Uniform<glm::vec3>;
template class Uniform<glm::vec4>;
template class Uniform<glm::uvec2>;
template class Uniform<glm::mat4>;
template class Uniform<std::array<float, 25>>;
template class Uniform<std::array<glm::mat4, maxBones>>;
template class Uniform<Texture>;
template class Uniform<Cubemap>;
