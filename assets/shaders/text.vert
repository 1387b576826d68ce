#version 430 core
// Glyph quads in canvas pixels: x, y, then the texture coordinate u, v.
layout(location = 0) in vec4 vertex;

uniform mat4 projection;

out vec2 uv;

void main() {
    uv = vertex.zw;
    gl_Position = projection * vec4(vertex.xy, 0.0, 1.0);
}
