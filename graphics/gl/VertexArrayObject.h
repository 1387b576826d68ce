#pragma once

#include "graphics/gl/GLHandleWrapper.h"

// Owner of one GL vertex array: the attribute layout of a mesh or a quad.
class VertexArrayObject : public GLHandleWrapper<0> {
public:
    VertexArrayObject();
    VertexArrayObject(VertexArrayObject&&) noexcept = default;
    ~VertexArrayObject() { releaseHandle(); }

    void destroy() override;
    void bind() const;
    static void unbind();
};
