#pragma once

#include "graphics/gl/GLHandleWrapper.h"

#include <string>

// One compiled stage of a program, read from a source file.
class Shader : public GLHandleWrapper<0> {
public:
    Shader(GLenum type, const std::string& path);
    Shader(Shader&&) noexcept = default;
    ~Shader() { releaseHandle(); }

    // The whole text, every line ending in "\n" (a last line without one gets it). A file that
    // cannot be opened is logged at error level and reads as the empty source, which GL judges.
    static std::string readSourceFile(const std::string& path);
    // Returns only on success: a compile failure logs GL's info log and ends the process.
    void compile();
    void destroy() override;

private:
    GLenum type;
    std::string path;
};
