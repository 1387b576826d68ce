#pragma once

#include "graphics/shaders/LightUniform.h"

#include <array>
#include <string>

// An array of N light records: element i is the Uniform<L> named name + "[i]", so its fields are
// name[i].position and so on. Single elements can be set through operator[].
template <typename L, std::size_t N>
class UniformArray : public UniformBase<std::array<L, N>> {
public:
    UniformArray() = default;
    UniformArray(const ShaderProgram& program, const std::string& name) {
        for (std::size_t i = 0; i < N; ++i) {
            elements[i] = Uniform<L>(program, name + "[" + std::to_string(i) + "]");
        }
    }

    void set(std::array<L, N> records) override {
        for (std::size_t i = 0; i < N; ++i) {
            elements[i].set(records[i]);
        }
        this->value = records;
    }
    void upload() override {
        for (Uniform<L>& element : elements) {
            element.upload();
        }
    }

    Uniform<L>& operator[](std::size_t index) { return elements[index]; }
    const Uniform<L>& operator[](std::size_t index) const { return elements[index]; }

private:
    std::array<Uniform<L>, N> elements;
};
