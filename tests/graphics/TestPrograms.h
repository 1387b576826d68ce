#pragma once

#include "graphics/shaders/RenderShaderProgram.h"

#include <string>

// A program from GLSL written in the test, built through the same file-reading, compiling and
// linking path as the game's programs. The sources go to files of this process's own, which are
// removed once the program is linked, so tests running side by side never share them.
RenderShaderProgram buildTestProgram(const std::string& vertexSource,
                                     const std::string& fragmentSource);

// Writes text to a new file of this process's own in the temporary directory; returns its path.
std::string writeTemporaryFile(const std::string& extension, const std::string& text);

// A vertex stage for the screen quad that hands the texture coordinate on as "uv".
extern const char* const screenQuadVertexSource;
