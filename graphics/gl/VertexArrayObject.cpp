#include "graphics/gl/VertexArrayObject.h"

VertexArrayObject::VertexArrayObject() { glGenVertexArrays(1, &handle); }

void VertexArrayObject::destroy() {
    checkValid();
    glDeleteVertexArrays(1, &handle);
}

void VertexArrayObject::bind() const {
    checkValid();
    glBindVertexArray(handle);
}

void VertexArrayObject::unbind() { glBindVertexArray(0); }
