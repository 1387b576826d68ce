#pragma once

#include "engine/HandleWrapper.h"

#include <GL/glew.h>

// The owner base of GL names. Framebuffers and renderbuffers use 0xFFFFFFFF as their empty value.
template <GLuint Null>
using GLHandleWrapper = HandleWrapper<GLuint, Null>;

inline constexpr GLuint noFrameBuffer = 0xFFFFFFFFu;
