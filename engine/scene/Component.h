#pragma once

#include "engine/NonCopyable.h"
#include "engine/scene/Activatable.h"

#include <string>

class GameObject;

// A piece of behaviour attached to one GameObject for the whole of that object's life. The scene
// walks start it on first contact (onStart, then onActivate or onDeactivate) and then call
// onUpdate once a frame and onFixedUpdate once per physics step while it is active.
class Component : public Activatable, public NonCopyable {
public:
    Component(GameObject* owner, std::string name);
    ~Component() override;

    void onActiveChanged() override;

    virtual void render() {}
    virtual void onAttach() {}
    virtual void onStart() {}
    virtual void onUpdate() {}
    virtual void onFixedUpdate() {}
    // Called when the owner is taken out of the scene, before it is destroyed: release what lives
    // outside the scene (physics actors) here.
    virtual void onDestroy() {}
    virtual void onActivate() {}
    virtual void onDeactivate() {}

    const std::string& getName() const { return name; }
    GameObject* getOwner() const { return owner; }

    // The walks' visit: start on first contact, then the walk's own operation.
    template <typename Operation>
    void visit(Operation operation);

protected:
    std::string name;
    GameObject* owner;

private:
    bool needsStart = true;
};

template <typename Operation>
void Component::visit(Operation operation) {
    if (!active) {
        return;
    }
    if (needsStart) {
        needsStart = false;
        onStart();
        if (active) {
            onActivate();
        } else {
            onDeactivate();
        }
    }
    // Made also when onStart has just switched the component off; later walks skip it.
    (this->*operation)();
}
