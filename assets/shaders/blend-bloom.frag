#version 430 core
// The composite: the resolved scene plus the blurred bloom, encoded with the display's gamma.
in vec2 uv;

uniform sampler2D sceneTexture;
uniform sampler2D bloomTexture;
uniform float gamma;

layout(location = 0) out vec4 fragColor;

void main() {
    vec3 linear = texture(sceneTexture, uv).rgb + texture(bloomTexture, uv).rgb;
    // A gamma of 0 from the configuration would otherwise divide by zero into black or NaN.
    float encoding = 1.0 / max(gamma, 0.001);
    fragColor = vec4(pow(clamp(linear, 0.0, 1.0), vec3(encoding)), 1.0);
}
