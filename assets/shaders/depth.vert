#version 430 core
// The shadow pass: positions seen from the shadow-casting light. No skinning: shadows of
// skinned meshes are cast in their stored pose, which is the pose they are drawn in.
layout(location = 0) in vec3 position;

uniform mat4 lightSpaceMatrix;
uniform mat4 model;

void main() {
    gl_Position = lightSpaceMatrix * model * vec4(position, 1.0);
}
