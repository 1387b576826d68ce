#pragma once

#include <GL/glew.h>
#include <string>

// GL's info log of a shader or program, as text without the terminating NUL. It is driver text:
// log it as the argument of "{}", never as the format (a brace in it would break the format).
template <typename GetParameter, typename GetLog>
std::string readInfoLog(GLuint object, GetParameter getParameter, GetLog getLog) {
    GLint capacity = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &capacity);
    std::string log(static_cast<std::size_t>(capacity > 0 ? capacity : 0), '\0');
    GLsizei written = 0;
    getLog(object, capacity, &written, log.data());
    log.resize(static_cast<std::size_t>(written > 0 ? written : 0));
    return log;
}
