#include "graphics/render/Skybox.h"

#include "graphics/render/Camera.h"
#include "graphics/shaders/Shaders.h"

#include <glm/mat3x3.hpp>

Skybox::Skybox() : Skybox(Cubemap("assets/textures/skybox/", "jpg")) {}

Skybox::Skybox(Cubemap faces)
    : cube(Mesh::createCube(glm::vec3(1.0f))), cubemap(std::move(faces)),
      shader(&getShaders().skybox) {
    cubemap.generateMipmaps();
    shader->use();
    shader->skybox.set(&cubemap);
}

void Skybox::setViewProjection(Camera& camera) const {
    shader->use();
    shader->viewProjectMatrix.set(skyViewProjection(camera));
}

void Skybox::draw() const {
    const GLboolean culling = glIsEnabled(GL_CULL_FACE);
    GLint depthFunction = GL_LESS;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
    // The cleared depth is 1 and the sky is drawn at depth 1: LESS would drop all of it.
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_CULL_FACE);

    shader->use();
    cubemap.bind();
    cube.draw();

    if (culling == GL_TRUE) {
        glEnable(GL_CULL_FACE);
    }
    glDepthFunc(static_cast<GLenum>(depthFunction));
}

glm::mat4 skyViewProjection(Camera& camera) {
    const glm::mat4 rotation(glm::mat3(camera.getViewMatrix(glm::vec3(0.0f))));
    return camera.getProjectionMatrix() * rotation;
}
