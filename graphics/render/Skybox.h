#pragma once

#include "graphics/gl/Cubemap.h"
#include "graphics/gl/Mesh.h"

#include <glm/mat4x4.hpp>

class SkyboxShader;
struct Camera;

// The background around the arena: a cube of edge 1 around the eye, textured by a cube map and
// drawn after the scene pass into the scene's multisampled target, where the scene left depth 1.
struct Skybox {
    // The game's sky: "assets/textures/skybox/" right, left, top, bottom, front and back ".jpg".
    Skybox();
    // Takes the faces over, gives them mipmaps and points the skybox program's sampler at them.
    explicit Skybox(Cubemap faces);
    Skybox(const Skybox&) = delete;
    Skybox& operator=(const Skybox&) = delete;

    // The skybox program in use with "viewProjectMatrix" = the camera's projection × its rotation
    // alone: turning the camera turns the sky, moving it does not. Once per player per frame,
    // before the scene pass, which leaves the skybox program's uniforms alone.
    void setViewProjection(Camera& camera) const;
    // Depth function LEQUAL and culling off for the draw (the eye is inside the cube), both
    // restored afterwards; depth writes and the polygon mode are the frame's.
    void draw() const;

    Mesh cube;
    Cubemap cubemap;
    SkyboxShader* shader;
};

// The camera's projection × its view for an eye at the origin, reduced to its 3 × 3 rotation.
glm::mat4 skyViewProjection(Camera& camera);
