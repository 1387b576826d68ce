#pragma once

#include "engine/scene/Component.h"

// Gives its owner a lifetime in seconds, counted down by the Engine's fixed step; when it has run
// out, the owner's parent destroys the owner. An owner without a parent lives on.
class TimeToLiveComponent : public Component {
public:
    TimeToLiveComponent(GameObject* owner, float seconds);

    void onFixedUpdate() override;

    float secondsLeft;
};
