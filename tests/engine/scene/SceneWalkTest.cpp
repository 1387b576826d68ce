#include "engine/scene/GameObject.h"

#include "tests/engine/scene/RecordingComponent.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

namespace {
using Journal = RecordingComponent::Journal;

class SceneWalk : public testing::Test {
protected:
    std::shared_ptr<RecordingComponent> record(GameObject& object, const std::string& label) {
        return object.addComponent<RecordingComponent>(label, journal).lock();
    }
    GameObject& child(const std::string& name) { return *root->addChild(name).lock(); }
    // Starts everything, then forgets what that printed.
    void settle() {
        root->update();
        journal.clear();
    }

    Journal journal;
    std::unique_ptr<GameObject> root = std::make_unique<GameObject>("Root");
};

TEST_F(SceneWalk, ComponentsThenChildrenDepthFirst) {
    GameObject& a = child("A");
    GameObject& b = child("B");
    record(b, "b");
    record(*root, "root");
    record(a, "a1");
    auto deep = a.addChild("A.child").lock();
    record(*deep, "deep");
    record(a, "a2");
    settle();
    updateRoot(root);
    EXPECT_EQ(journal, (Journal{"root.update", "a1.update", "a2.update", "deep.update", "b.update"}));
}

TEST_F(SceneWalk, FirstWalkStartsThenActivatesThenRunsItsOwnOperation) {
    record(*root, "c");
    EXPECT_EQ(journal, (Journal{"c.attach"}));
    journal.clear();
    fixedUpdateRoot(root);
    updateRoot(root);
    EXPECT_EQ(journal, (Journal{"c.start", "c.activate", "c.fixed", "c.update"}));
}

TEST_F(SceneWalk, AComponentThatSwitchesItselfOffInStartIsDeactivatedTwiceThenSkipped) {
    record(*root, "c")->switchOffOnStart = true;
    journal.clear();
    updateRoot(root);
    EXPECT_EQ(journal, (Journal{"c.start", "c.deactivate", "c.deactivate", "c.update"}));
    journal.clear();
    updateRoot(root);
    fixedUpdateRoot(root);
    EXPECT_TRUE(journal.empty());
}

TEST_F(SceneWalk, AnInactiveComponentIsNotStartedUntilAWalkFindsItActive) {
    auto c = record(*root, "c");
    c->setActive(false);
    journal.clear();
    updateRoot(root);
    EXPECT_TRUE(journal.empty());
    c->setActive(true);
    updateRoot(root);
    EXPECT_EQ(journal, (Journal{"c.activate", "c.start", "c.activate", "c.update"}));
}

TEST_F(SceneWalk, SettingTheSameFlagAgainCallsNothing) {
    auto c = record(*root, "c");
    journal.clear();
    c->setActive(true);
    c->setActive(false);
    c->setActive(false);
    EXPECT_EQ(journal, (Journal{"c.deactivate"}));
}

TEST_F(SceneWalk, AnEntryAddedDuringAWalkWaitsForTheNextWalk) {
    GameObject& player = child("Player");
    auto thrower = record(player, "thrower");
    settle();
    thrower->action = [&] {
        GameObject& frisbee = child("Frisbee");
        record(frisbee, "frisbee");
        record(player, "late");
    };
    fixedUpdateRoot(root);
    EXPECT_EQ(journal, (Journal{"thrower.fixed", "frisbee.attach", "late.attach"}));
    journal.clear();
    fixedUpdateRoot(root);
    EXPECT_EQ(journal, (Journal{"thrower.fixed", "late.start", "late.activate", "late.fixed",
                                "frisbee.start", "frisbee.activate", "frisbee.fixed"}));
}

TEST_F(SceneWalk, AComponentAddedToAListNotBeingWalkedJoinsAtOnce) {
    GameObject& first = child("First");
    GameObject& second = child("Second");
    auto adder = record(first, "first");
    settle();
    adder->action = [&] { record(second, "added"); };
    updateRoot(root);
    EXPECT_EQ(journal, (Journal{"first.update", "added.attach", "added.start", "added.activate",
                                "added.update"}));
}

TEST_F(SceneWalk, SeveralRemovalsLeaveTogetherAndTheRestKeepsItsOrder) {
    GameObject* objects[5];
    for (int i = 0; i < 5; ++i) {
        objects[i] = &child(fmt::format("O{}", i));
        record(*objects[i], std::to_string(i));
    }
    auto killer = record(*objects[0], "killer");
    settle();
    killer->action = [&] {
        root->destroyChild(objects[1]);
        root->destroyChild(objects[3]);
    };
    updateRoot(root);
    EXPECT_EQ(journal, (Journal{"0.update", "killer.update", "1.destroy", "3.destroy", "2.update",
                                "4.update"}));
    ASSERT_EQ(root->children.size(), 3u);
    std::vector<std::string> names;
    for (auto& entry : root->children) {
        names.push_back(entry->name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"O0", "O2", "O4"}));
}

TEST_F(SceneWalk, AChildDestroyedDuringTheWalkDiesWhenTheWalkEnds) {
    GameObject& victim = child("Victim");
    record(victim, "victim");
    GameObject& last = child("Last");
    record(last, "last");
    auto killer = record(*root, "root");
    settle();
    killer->action = [&] { root->destroyChild(&victim); };
    LogCapture capture;
    updateRoot(root);
    EXPECT_EQ(journal, (Journal{"root.update", "victim.destroy", "last.update"}));
    // Destruction lines come after every surviving entry was visited.
    ASSERT_GE(capture.lines().size(), 2u);
    EXPECT_EQ(capture.lines()[0].message.rfind("Destroyed GameObject Victim, ", 0), 0u);
    EXPECT_EQ(capture.lines()[1].message, "Destroyed RecordingComponent of Victim");
}

TEST_F(SceneWalk, DestroyingTheSameChildTwiceInOneWalkCallsOnDestroyOnce) {
    GameObject& victim = child("Victim");
    record(victim, "victim");
    auto killer = record(*root, "root");
    settle();
    killer->action = [&] {
        root->destroyChild(&victim);
        root->destroyChild(&victim);
    };
    updateRoot(root);
    EXPECT_EQ(journal, (Journal{"root.update", "victim.destroy"}));
}

TEST_F(SceneWalk, AChildAddedAndDestroyedInTheSameWalkNeverJoins) {
    auto spawner = record(*root, "root");
    settle();
    spawner->action = [&] {
        GameObject& shortLived = child("ShortLived");
        record(shortLived, "short");
        root->destroyChild(&shortLived);
    };
    updateRoot(root);
    EXPECT_EQ(journal, (Journal{"root.update", "short.attach", "short.destroy"}));
    EXPECT_EQ(root->children.size(), 0u);
}

TEST_F(SceneWalk, DestroyingAChildReachesTheComponentsOfItsWholeSubtree) {
    GameObject& parent = child("Parent");
    record(parent, "parent");
    auto grandchild = parent.addChild("Grandchild").lock();
    record(*grandchild, "grandchild")->setActive(false);
    journal.clear();
    root->destroyChild(&parent);
    EXPECT_EQ(journal, (Journal{"parent.destroy", "grandchild.destroy"}))
        << "inactive components and descendants get onDestroy too";
}

TEST_F(SceneWalk, RenderSkipsInactiveComponentsButNotTheirChildren) {
    GameObject& hidden = child("Hidden");
    record(hidden, "hidden")->setActive(false);
    auto inner = hidden.addChild("Inner").lock();
    record(*inner, "inner");
    journal.clear();
    root->render();
    EXPECT_EQ(journal, (Journal{"inner.render"}));
}
} // namespace
