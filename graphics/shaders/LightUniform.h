#pragma once

#include "graphics/shaders/Lights.h"
#include "graphics/shaders/Uniform.h"

// A light record as a uniform of structure type: GL addresses each field by its own name
// (name + ".position" and so on), so each field is its own Uniform. A field the program lacks
// logs its own error line; the others work. There is no location of the record itself.

template <>
class Uniform<PointLight> : public UniformBase<PointLight> {
public:
    Uniform() = default;
    Uniform(const ShaderProgram& program, const std::string& name)
        : position(program, name + ".position"), intensity(program, name + ".intensity"),
          attenuation(program, name + ".attenuation") {}

    void set(PointLight light) override {
        position.set(light.position);
        intensity.set(light.intensity);
        attenuation.set(light.attenuation);
        value = light;
    }
    void upload() override {
        position.upload();
        intensity.upload();
        attenuation.upload();
    }

    Uniform<glm::vec3> position;
    Uniform<glm::vec3> intensity;
    Uniform<glm::vec3> attenuation;
};

template <>
class Uniform<DirectionalLight> : public UniformBase<DirectionalLight> {
public:
    Uniform() = default;
    Uniform(const ShaderProgram& program, const std::string& name)
        : direction(program, name + ".direction"), intensity(program, name + ".intensity") {}

    void set(DirectionalLight light) override {
        direction.set(light.direction);
        intensity.set(light.intensity);
        value = light;
    }
    void upload() override {
        direction.upload();
        intensity.upload();
    }

    Uniform<glm::vec3> direction;
    Uniform<glm::vec3> intensity;
};

template <>
class Uniform<SpotLight> : public UniformBase<SpotLight> {
public:
    Uniform() = default;
    Uniform(const ShaderProgram& program, const std::string& name)
        : position(program, name + ".position"), direction(program, name + ".direction"),
          intensity(program, name + ".intensity"), attenuation(program, name + ".attenuation"),
          outerAngle(program, name + ".outerAngle"), innerAngle(program, name + ".innerAngle") {}

    void set(SpotLight light) override {
        position.set(light.position);
        direction.set(light.direction);
        intensity.set(light.intensity);
        attenuation.set(light.attenuation);
        outerAngle.set(light.outerAngle);
        innerAngle.set(light.innerAngle);
        value = light;
    }
    void upload() override {
        position.upload();
        direction.upload();
        intensity.upload();
        attenuation.upload();
        outerAngle.upload();
        innerAngle.upload();
    }

    Uniform<glm::vec3> position;
    Uniform<glm::vec3> direction;
    Uniform<glm::vec3> intensity;
    Uniform<glm::vec3> attenuation;
    Uniform<float> outerAngle;
    Uniform<float> innerAngle;
};
