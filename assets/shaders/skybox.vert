#version 430 core
// The background cube around the eye. The matrix carries no translation, so moving does not
// move the sky. z = w puts every fragment at depth 1, behind whatever the scene drew.
layout(location = 0) in vec3 position;

uniform mat4 viewProjectMatrix;

out vec3 direction;

void main() {
    direction = position;
    gl_Position = (viewProjectMatrix * vec4(position, 1.0)).xyww;
}
