#include "engine/scene/Component.h"

#include "engine/Logging.h"
#include "engine/scene/GameObject.h"

Component::Component(GameObject* owner, std::string name) : name(std::move(name)), owner(owner) {}

Component::~Component() {
    getGeneralLogger()->debug("Destroyed {} of {}", name, owner->name);
}

void Component::onActiveChanged() {
    if (active) {
        onActivate();
    } else {
        onDeactivate();
    }
}
