#version 430 core
// A head-up-display image: its texture tinted by color, or color alone. Alpha is meant here:
// a lost heart is drawn with colour (0, 0, 0, 0).
in vec2 uv;

uniform sampler2D targetTexture;
uniform bool hasTexture;
uniform vec4 color;

layout(location = 0) out vec4 fragColor;

void main() {
    fragColor = hasTexture ? texture(targetTexture, uv) * color : color;
}
