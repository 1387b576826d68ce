#include "engine/scene/TimeToLiveComponent.h"

#include "engine/Engine.h"
#include "engine/scene/GameObject.h"

TimeToLiveComponent::TimeToLiveComponent(GameObject* owner, float seconds)
    : Component(owner, "TimeToLiveComponent"), secondsLeft(seconds) {}

// Tested before it counts: 15 s at the float step of 1/60 leaves a tiny remainder after 900
// steps, so the owner goes in the 902nd fixed update.
void TimeToLiveComponent::onFixedUpdate() {
    if (secondsLeft <= 0.0f && owner->parent) {
        (*owner->parent)->destroyChild(owner);
    }
    secondsLeft -= gEngine->fixedDeltaTime;
}
