#pragma once

#include "graphics/gl/VertexArrayObject.h"
#include "graphics/gl/VertexBufferObject.h"

// Two triangles covering the viewport: location 0 the clip-space position (vec2), location 1 the
// texture coordinate (vec2), (0, 0) at the bottom left. Shared by every full-viewport pass.
class ScreenQuad {
public:
    ScreenQuad();

    // The caller chooses the program, textures, viewport and target; the vertex array stays bound.
    void draw() const;

private:
    VertexArrayObject vertexArray;
    VertexBufferObject<float> vertices;
};

// The process's one quad, built on the first call with a context current. It lives until exit,
// after the context has gone, so its destruction drops its handles without a GL call.
ScreenQuad& getScreenQuad();
