#version 430 core
// The screen quad: clip-space corners and texture coordinates, (0, 0) at the bottom left.
layout(location = 0) in vec2 position;
layout(location = 1) in vec2 textureCoordinate;

out vec2 uv;

void main() {
    uv = textureCoordinate;
    gl_Position = vec4(position, 0.0, 1.0);
}
