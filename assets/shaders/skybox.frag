#version 430 core
in vec3 direction;

uniform samplerCube skybox;

layout(location = 0) out vec4 fragColor;
// The sky does not bloom: its bright target stays black.
layout(location = 1) out vec4 brightColor;

void main() {
    fragColor = vec4(texture(skybox, direction).rgb, 1.0);
    brightColor = vec4(0.0, 0.0, 0.0, 1.0);
}
