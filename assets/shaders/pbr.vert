#version 430 core
// The scene program's vertex stage: skinning, world space and the shadow light's clip space.
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 3) in uvec4 boneIds;
layout(location = 4) in vec4 boneWeights;

const uint maxBones = 50u;

uniform bool hasBones;
uniform mat4 boneTransforms[maxBones];
uniform mat4 viewProjectMatrix;
uniform mat4 modelMatrix;
uniform mat4 shadowSourceLightSpaceMatrix;

out VertexData {
    vec3 worldPosition;
    vec3 worldNormal;
    vec4 shadowPosition;
} vertexOut;

// The weighted bone matrices. Ids beyond the array name no matrix and are dropped; a vertex with
// no weight left (a mesh without bone data) keeps its stored pose instead of collapsing to 0.
mat4 skinning() {
    mat4 skin = mat4(0.0);
    float total = 0.0;
    for (int i = 0; i < 4; ++i) {
        if (boneIds[i] < maxBones) {
            skin += boneWeights[i] * boneTransforms[boneIds[i]];
            total += boneWeights[i];
        }
    }
    return total > 0.0001 ? skin : mat4(1.0);
}

void main() {
    mat4 world = hasBones ? modelMatrix * skinning() : modelMatrix;
    vec4 worldPosition = world * vec4(position, 1.0);
    vertexOut.worldPosition = worldPosition.xyz;
    vertexOut.worldNormal = transpose(inverse(mat3(world))) * normal;
    vertexOut.shadowPosition = shadowSourceLightSpaceMatrix * worldPosition;
    gl_Position = viewProjectMatrix * worldPosition;
}
