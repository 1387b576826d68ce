#include "engine/scene/GameObject.h"

#include "tests/engine/scene/RecordingComponent.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>
#include <regex>
#include <set>

namespace {
using Journal = RecordingComponent::Journal;

TEST(Uuid, IdsAreRandomVersionFourInTheLowercaseTextForm) {
    const std::regex form("[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        const std::string text = generateUuid().toString();
        EXPECT_TRUE(std::regex_match(text, form)) << text;
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 100u);
}

TEST(GameObject, StartsAtTheOriginWithNoCreatorAndNoParent) {
    GameObject object("Frisbee");
    EXPECT_TRUE(object.creatorId.isNil());
    EXPECT_FALSE(object.parent.has_value());
    EXPECT_EQ(object.position, glm::vec3(0.0f));
    EXPECT_EQ(object.rotation, glm::quat(1.0f, 0.0f, 0.0f, 0.0f));
}

TEST(GameObject, ObjectsWithOneNameHaveDistinctIds) {
    GameObject root("Root");
    auto a = root.addChild("Frisbee").lock();
    auto b = root.addChild("Frisbee").lock();
    EXPECT_NE(a->id, b->id);
    EXPECT_EQ(a->parent, &root);
}

TEST(GameObject, GetComponentFindsTheFirstOfItsClassOrNothing) {
    Journal journal;
    GameObject object("Player 1");
    EXPECT_FALSE(object.getComponent<RecordingComponent>().has_value());
    object.addComponent<OtherComponent>();
    auto first = object.addComponent<RecordingComponent>("first", journal);
    object.addComponent<RecordingComponent>("second", journal);
    auto found = object.getComponent<RecordingComponent>();
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->lock(), first.lock());
}

TEST(GameObject, GetComponentSeesAComponentAddedDuringTheWalkOfItsList) {
    Journal journal;
    GameObject object("Player 1");
    std::optional<std::weak_ptr<OtherComponent>> found;
    object.addComponent<RecordingComponent>("adder", journal).lock()->action = [&] {
        object.addComponent<OtherComponent>();
        found = object.getComponent<OtherComponent>();
    };
    object.update();
    ASSERT_TRUE(found.has_value());
    EXPECT_FALSE(found->expired());
}

TEST(GameObject, GetComponentInChildrenSearchesDepthFirstInPreOrder) {
    Journal journal;
    GameObject root("Root");
    auto first = root.addChild("First").lock();
    auto second = root.addChild("Second").lock();
    auto secondOwn = second->addComponent<RecordingComponent>("second", journal);
    auto deep = first->addChild("Deep").lock();
    auto deepOwn = deep->addComponent<RecordingComponent>("deep", journal);
    EXPECT_EQ(root.getComponentInChildren<RecordingComponent>()->lock(), deepOwn.lock());
    auto rootOwn = root.addComponent<RecordingComponent>("root", journal);
    EXPECT_EQ(root.getComponentInChildren<RecordingComponent>()->lock(), rootOwn.lock());
    EXPECT_FALSE(root.getComponentInChildren<OtherComponent>().has_value());
}

TEST(GameObject, DestroyChildOutsideAWalkDestroysAtOnceAfterOnDestroy) {
    Journal journal;
    GameObject root("Root");
    auto child = root.addChild("Map").lock();
    child->addComponent<RecordingComponent>("map", journal);
    std::weak_ptr<GameObject> watch = child;
    GameObject* raw = child.get();
    const std::string id = child->id.toString();
    child.reset();
    journal.clear();
    LogCapture capture;
    root.destroyChild(raw);
    EXPECT_EQ(journal, (Journal{"map.destroy"}));
    EXPECT_TRUE(watch.expired());
    ASSERT_EQ(capture.lines().size(), 2u);
    EXPECT_EQ(capture.lines()[0].message, "Destroyed GameObject Map, " + id);
    EXPECT_EQ(capture.lines()[1].message, "Destroyed RecordingComponent of Map");
}

TEST(GameObject, DestroyChildOfAStrangerDoesNothing) {
    Journal journal;
    GameObject root("Root");
    GameObject stranger("Stranger");
    stranger.addComponent<RecordingComponent>("stranger", journal);
    journal.clear();
    root.destroyChild(&stranger);
    EXPECT_TRUE(journal.empty());
}

TEST(GameObject, DestructionReleasesComponentsBeforeChildrenDepthFirst) {
    Journal journal;
    auto root = std::make_unique<GameObject>("Root");
    auto a = root->addChild("A").lock();
    a->addChild("A1");
    root->addChild("B");
    root->addComponent<OtherComponent>();
    a.reset();
    LogCapture capture;
    root.reset();
    std::vector<std::string> messages;
    for (const LoggedLine& line : capture.lines()) {
        messages.push_back(line.message.substr(0, line.message.find(',')));
    }
    EXPECT_EQ(messages, (std::vector<std::string>{"Destroyed GameObject Root",
                                                  "Destroyed OtherComponent of Root",
                                                  "Destroyed GameObject A", "Destroyed GameObject A1",
                                                  "Destroyed GameObject B"}));
}
} // namespace
