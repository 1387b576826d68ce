#include "engine/scene/GameObject.h"

#include "engine/Logging.h"

GameObject::GameObject(const std::string& name) : id(generateUuid()), name(name) {}

GameObject::~GameObject() {
    getGeneralLogger()->debug("Destroyed GameObject {}, {}", name, id.toString());
    // Components first: their destructors log this object's name, which must still be valid.
    components.clear();
    children.clear();
}

void GameObject::update() {
    components.forEach([](auto& component) { component->visit(&Component::onUpdate); });
    children.forEach([](auto& child) { child->update(); });
}

void GameObject::fixedUpdate() {
    components.forEach([](auto& component) { component->visit(&Component::onFixedUpdate); });
    children.forEach([](auto& child) { child->fixedUpdate(); });
}

void GameObject::render() {
    for (const std::shared_ptr<Component>& component : components) {
        if (component->isActive()) {
            component->render();
        }
    }
    for (const std::shared_ptr<GameObject>& child : children) {
        child->render();
    }
}

std::weak_ptr<GameObject> GameObject::addChild(const std::string& childName) {
    auto child = std::make_shared<GameObject>(childName);
    child->parent = this;
    std::weak_ptr<GameObject> result = child;
    children.add(std::move(child));
    return result;
}

void GameObject::destroyChild(GameObject* child) {
    for (auto it = children.begin(); it != children.end(); ++it) {
        if ((*it).get() == child) {
            // The whole subtree: a descendant left with its body in the physics world would keep
            // pointing at destroyed components.
            child->notifyDestroy();
            children.erase(it);
            return;
        }
    }
}

void GameObject::notifyDestroy() {
    for (const std::shared_ptr<Component>& component : components) {
        if (component) {
            component->onDestroy();
        }
    }
    for (const std::shared_ptr<GameObject>& descendant : children) {
        if (descendant) {
            descendant->notifyDestroy();
        }
    }
}

void updateRoot(const std::unique_ptr<GameObject>& root) { root->update(); }

void fixedUpdateRoot(const std::unique_ptr<GameObject>& root) { root->fixedUpdate(); }
