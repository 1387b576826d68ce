#pragma once

#include "graphics/shaders/ShaderProgram.h"

#include <array>
#include <cstddef>
#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <string>

class Texture;
class Cubemap;

// The number of bone matrices a skinned mesh can use: the length of the physically based
// program's "boneTransforms[0]" and of each model's bone arrays, uploaded in one call.
inline constexpr std::size_t maxBones = 50;

// The family of uniform objects: each keeps the value last set and uploads it with glUniform*,
// which goes to the program current in GL. A uniform does not know its program: every setter
// uses the owning program first, or it changes whatever program is current.
template <typename T>
class UniformBase {
public:
    virtual ~UniformBase() = default;
    // Stores the value and uploads it at once.
    virtual void set(T newValue) = 0;
    virtual void upload() = 0;

    const T& get() const { return value; }

protected:
    T value{};
};

template <typename T>
class SimpleUniformBase : public UniformBase<T> {
public:
    void set(T newValue) override {
        this->value = std::move(newValue);
        this->upload();
    }
};

// What a Uniform<T> stores: the value itself, or for a sampler the texture it names (not owned;
// its unit is read at every upload, so the texture must outlive the uniform's use).
template <typename T>
struct UniformStorage {
    using type = T;
};
template <>
struct UniformStorage<Texture> {
    using type = const Texture*;
};
template <>
struct UniformStorage<Cubemap> {
    using type = const Cubemap*;
};

// One plain uniform, found once by name in its program's table of active uniforms. A name the
// program does not have logs an error and leaves location -1, which GL ignores on every upload.
// Instances: float, bool, vec3, vec4, uvec2, mat4, the 25 shadow-kernel floats, the maxBones bone
// matrices, Texture and Cubemap.
template <typename T>
class Uniform : public SimpleUniformBase<typename UniformStorage<T>::type> {
public:
    Uniform() = default;
    Uniform(const ShaderProgram& program, const std::string& name);

    void upload() override;
    GLint getLocation() const { return location; }

private:
    GLint location = -1;
};

// Looks name up in program and logs the missing-uniform error when it is not active.
GLint findUniformLocation(const ShaderProgram& program, const std::string& name);

template <typename T>
Uniform<T>::Uniform(const ShaderProgram& program, const std::string& name)
    : location(findUniformLocation(program, name)) {}

// The uploads, one glUniform* call each; defined in Uniform.cpp.
template <>
void Uniform<float>::upload();
template <>
void Uniform<bool>::upload(); // exactly 0 or 1
template <>
void Uniform<glm::vec3>::upload();
template <>
void Uniform<glm::vec4>::upload();
template <>
void Uniform<glm::uvec2>::upload();
template <>
void Uniform<glm::mat4>::upload(); // column-major, as glm stores it
template <>
void Uniform<std::array<float, 25>>::upload();
template <>
void Uniform<std::array<glm::mat4, maxBones>>::upload();
template <>
void Uniform<Texture>::upload(); // the texture's own unit
template <>
void Uniform<Cubemap>::upload();

extern template class Uniform<float>;
extern template class Uniform<bool>;
extern template class Uniform<glm::vec3>;
extern template class Uniform<glm::vec4>;
extern template class Uniform<glm::uvec2>;
extern template class Uniform<glm::mat4>;
extern template class Uniform<std::array<float, 25>>;
extern template class Uniform<std::array<glm::mat4, maxBones>>;
extern template class Uniform<Texture>;
extern template class Uniform<Cubemap>;
