#include "tests/support/SceneRestorer.h"

#include "engine/Engine.h"
#include "engine/scene/GameObject.h"

#include <algorithm>

namespace {
template <typename T>
bool isAmong(const std::vector<std::weak_ptr<T>>& found, const std::shared_ptr<T>& entry) {
    return std::any_of(found.begin(), found.end(), [&](const std::weak_ptr<T>& old) { return old.lock() == entry; });
}
} // namespace

void SceneRestorer::OnTestStart(const testing::TestInfo&) {
    children.clear();
    components.clear();
    if (!gEngine) {
        return;
    }
    for (const std::shared_ptr<GameObject>& child : gEngine->root->children) {
        children.push_back(child);
    }
    for (const std::shared_ptr<Component>& component : gEngine->root->components) {
        components.push_back(component);
    }
}

void SceneRestorer::OnTestEnd(const testing::TestInfo&) {
    // A test that tears the Engine down (in a child process of its own) leaves nothing to restore.
    if (!gEngine) {
        return;
    }
    GameObject& root = *gEngine->root;
    std::vector<GameObject*> added;
    for (const std::shared_ptr<GameObject>& child : root.children) {
        if (child && !isAmong(children, child)) {
            added.push_back(child.get());
        }
    }
    for (GameObject* child : added) {
        root.destroyChild(child);
    }
    for (auto it = root.components.begin(); it != root.components.end();) {
        if (*it && !isAmong(components, *it)) {
            (*it)->onDestroy();
            root.components.erase(it);
        } else {
            ++it;
        }
    }
}
