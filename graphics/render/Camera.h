#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

// A pitch-and-yaw camera with a perspective projection, its matrices cached. Its users read and
// write the fields directly and keep the flags honest:
//   pitch or yaw changed  -> clear orientationValid, viewValid, viewProjectionValid;
//   fovY, aspect, zNear or zFar changed -> clear projectionValid, viewProjectionValid;
//   position changed      -> clear viewValid, viewProjectionValid.
// A stale flag left set keeps drawing through the old matrix.
struct Camera {
    Camera(float pitch, float yaw, float fovY, float aspect, float zNear, float zFar);

    // Recomputes front, right and up from pitch and yaw when orientationValid is false. At a
    // pitch of exactly ±90 degrees right is undefined (NaN): keep pitch strictly inside.
    void updateVectors();
    // The cached projection, rebuilt first when projectionValid is false. Clip depth -1 to 1.
    const glm::mat4& getProjectionMatrix();
    // A fresh view matrix for eye, from the current orientation; the cached view is left alone,
    // so the skybox can ask for its rotation-only matrix between two frames.
    glm::mat4 getViewMatrix(const glm::vec3& eye);

    bool orientationValid = false;
    bool projectionValid = false;
    bool viewValid = false;
    bool viewProjectionValid = false;
    float pitch;  // degrees; positive looks down
    float yaw;    // degrees; 90 looks along -x
    float fovY;   // vertical field of view, degrees
    float aspect; // width / height of the view
    float zNear;
    float zFar;
    glm::mat4 projection{1.0f};
    glm::mat4 view{1.0f};
    glm::mat4 viewProjection{1.0f};
    glm::vec3 position{0.0f};
    glm::vec3 worldUp{0.0f, 1.0f, 0.0f};
    glm::vec3 front{0.0f, 0.0f, 1.0f}; // the view looks along -front
    glm::vec3 right{1.0f, 0.0f, 0.0f};
    glm::vec3 up{0.0f, 1.0f, 0.0f};
};
