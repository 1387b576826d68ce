#version 430 core
// The glyph bitmap is coverage: it becomes the alpha of the text colour, blended over the view.
in vec2 uv;

uniform sampler2D text;
uniform vec3 textColor;

layout(location = 0) out vec4 fragColor;

void main() {
    fragColor = vec4(textColor, texture(text, uv).r);
}
