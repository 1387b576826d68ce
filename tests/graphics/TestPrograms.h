#pragma once

#include "graphics/shaders/RenderShaderProgram.h"

#include <string>

// A program from GLSL written in the test, built through the same file-reading, compiling and
// linking path as the game's programs. The sources go to files of this process's own, so tests
// running side by side never share them; they are removed once the program is linked.
RenderShaderProgram buildTestProgram(const std::string& vertexSource,
                                     const std::string& fragmentSource);

// Writes text to a new file of this process's own in the temporary directory; returns its path.
// The file is removed at exit if nobody removed it before.
std::string writeTemporaryFile(const std::string& extension, const std::string& text);

// A vertex stage for the screen quad that hands the texture coordinate on as "uv".
extern const char* const screenQuadVertexSource;
