#pragma once

#include "engine/NonCopyable.h"
#include "engine/scene/Activatable.h"
#include "engine/scene/Component.h"
#include "engine/scene/DeferredList.h"
#include "engine/scene/Uuid.h"

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>
#include <memory>
#include <optional>
#include <string>

// A named node of the scene tree. It owns its children and components; everybody else holds weak
// pointers. rotation followed by position is laid out as a physics pose (quaternion x, y, z, w,
// then the position), so a body's pose is copied in as one record.
class GameObject : public Activatable, public NonCopyable {
public:
    explicit GameObject(const std::string& name);
    ~GameObject() override;

    // The update walk (once a frame) and the fixed-update walk (after each physics step): this
    // object's components in list order, then each child with its whole subtree.
    void update();
    void fixedUpdate();
    // Draws the active components, then the children. Only outside the update walks.
    void render();

    std::weak_ptr<GameObject> addChild(const std::string& childName);
    // Calls onDestroy on every component of the child's subtree, then removes the child: at the end
    // of the walk if the children are being walked, else at once. Unknown children are ignored.
    void destroyChild(GameObject* child);

    template <typename T, typename... Args>
    std::weak_ptr<T> addComponent(Args&&... args);
    template <typename T>
    std::optional<std::weak_ptr<T>> getComponent();
    // This object first, then each child's subtree in order (depth first, pre-order).
    template <typename T>
    std::optional<std::weak_ptr<T>> getComponentInChildren();

    Uuid id;
    Uuid creatorId;
    std::string name;
    std::optional<GameObject*> parent;
    glm::quat rotation{1.0f, 0.0f, 0.0f, 0.0f};
    glm::vec3 position{0.0f};
    DeferredList<GameObject> children;
    DeferredList<Component> components;

private:
    void notifyDestroy();
};

// The walks over the Engine's root, run by the game loop.
void updateRoot(const std::unique_ptr<GameObject>& root);
void fixedUpdateRoot(const std::unique_ptr<GameObject>& root);

template <typename T, typename... Args>
std::weak_ptr<T> GameObject::addComponent(Args&&... args) {
    auto component = std::make_shared<T>(this, std::forward<Args>(args)...);
    std::weak_ptr<T> result = component;
    components.add(component);
    component->onAttach();
    return result;
}

template <typename T>
std::optional<std::weak_ptr<T>> GameObject::getComponent() {
    for (const std::shared_ptr<Component>& entry : components) {
        if (auto found = std::dynamic_pointer_cast<T>(entry)) {
            return std::weak_ptr<T>(found);
        }
    }
    return std::nullopt;
}

template <typename T>
std::optional<std::weak_ptr<T>> GameObject::getComponentInChildren() {
    if (auto found = getComponent<T>()) {
        return found;
    }
    for (const std::shared_ptr<GameObject>& child : children) {
        if (child) {
            if (auto found = child->getComponentInChildren<T>()) {
                return found;
            }
        }
    }
    return std::nullopt;
}
