#include "engine/scene/TimeToLiveComponent.h"

#include "engine/Engine.h"

#include <gtest/gtest.h>

namespace {
// Fixed-update walks until the object has left the scene; 0 if it never does within the limit.
int walksUntilGone(GameObject& root, const std::weak_ptr<GameObject>& object, int limit) {
    for (int walk = 1; walk <= limit; ++walk) {
        root.fixedUpdate();
        if (object.expired()) {
            return walk;
        }
    }
    return 0;
}

TEST(TimeToLiveComponent, FifteenSecondsEndInThe902ndFixedUpdate) {
    GameObject root("Root");
    auto frisbee = root.addChild("Frisbee");
    frisbee.lock()->addComponent<TimeToLiveComponent>(15.0f);
    EXPECT_EQ(walksUntilGone(root, frisbee, 2000), 902);
}

TEST(TimeToLiveComponent, NoTimeLeftEndsInTheFirstFixedUpdate) {
    GameObject root("Root");
    auto frisbee = root.addChild("Frisbee");
    frisbee.lock()->addComponent<TimeToLiveComponent>(-1.0f);
    EXPECT_EQ(walksUntilGone(root, frisbee, 10), 1);
}

TEST(TimeToLiveComponent, AnOwnerWithoutAParentCountsOnAndStays) {
    GameObject orphan("Orphan");
    auto timer = orphan.addComponent<TimeToLiveComponent>(0.0f).lock();
    for (int i = 0; i < 3; ++i) {
        orphan.fixedUpdate();
    }
    EXPECT_FLOAT_EQ(timer->secondsLeft, -3.0f * gEngine->fixedDeltaTime);
}

TEST(TimeToLiveComponent, CountsOnlyInFixedUpdates) {
    GameObject root("Root");
    auto frisbee = root.addChild("Frisbee");
    auto timer = frisbee.lock()->addComponent<TimeToLiveComponent>(1.0f).lock();
    root.update();
    EXPECT_EQ(timer->secondsLeft, 1.0f);
}
} // namespace
