#pragma once

#include "graphics/gl/GLHandleWrapper.h"

#include <optional>
#include <string>
#include <unordered_map>

class Shader;

// A linked program with the location of every active uniform, recorded once at link so that
// uniforms are found by name without asking GL again.
class ShaderProgram : public GLHandleWrapper<0> {
public:
    ShaderProgram();
    ShaderProgram(ShaderProgram&&) noexcept = default;
    virtual ~ShaderProgram() { releaseHandle(); }

    void attachShader(const Shader& shader);
    // Returns only on success: a link failure logs GL's info log and ends the process.
    void link();
    void use() const;
    void destroy() override;

    // The location of an active uniform by the exact name GL reports ("x[0]" for an array,
    // "lights[2].position" for a field of an array of structures); empty if it is not active.
    std::optional<GLint> findUniform(const std::string& name) const;
    const std::unordered_map<std::string, GLint>& getUniformLocations() const {
        return uniformLocations;
    }

private:
    void recordActiveUniforms();

    std::unordered_map<std::string, GLint> uniformLocations;
};
