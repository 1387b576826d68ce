#pragma once

#include <gtest/gtest.h>
#include <memory>
#include <vector>

class Component;
class GameObject;

// The tests that share one Engine each leave its scene as they found it: whatever a test added under
// the root (players, the arena, frisbees, components on the root itself) is destroyed when the test
// ends, so that its bodies and controllers leave the physics world and its players stop taking the
// next test's mouse movement. Runs after the test's fixture is gone.
class SceneRestorer : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo& test) override;
    void OnTestEnd(const testing::TestInfo& test) override;

private:
    std::vector<std::weak_ptr<GameObject>> children;
    std::vector<std::weak_ptr<Component>> components;
};
