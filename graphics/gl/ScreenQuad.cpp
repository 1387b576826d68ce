#include "graphics/gl/ScreenQuad.h"

#include <array>

namespace {
// x, y, u, v per vertex; both triangles counter-clockwise, so back-face culling keeps them.
constexpr std::array<float, 24> quadVertices = {
    -1, 1, 0, 1, -1, -1, 0, 0, 1, -1, 1, 0, -1, 1, 0, 1, 1, -1, 1, 0, 1, 1, 1, 1,
};
constexpr GLsizei vertexStride = 4 * sizeof(float);
} // namespace

ScreenQuad::ScreenQuad() {
    vertexArray.bind();
    vertices.bind();
    vertices.setData(quadVertices.data(), quadVertices.data() + quadVertices.size());
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, vertexStride, nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, vertexStride,
                          reinterpret_cast<const void*>(2 * sizeof(float)));
    VertexArrayObject::unbind();
}

void ScreenQuad::draw() const {
    vertexArray.bind();
    vertices.bind();
    glDrawArrays(GL_TRIANGLES, 0, 6);
}

ScreenQuad& getScreenQuad() {
    static ScreenQuad quad;
    return quad;
}
