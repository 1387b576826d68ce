#include "engine/input/InputManager.h"

#include "tests/support/LogCapture.h"
#include "tests/support/ScriptedRawInput.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

namespace {
constexpr DeviceHandle mouseA = 0xA;
constexpr DeviceHandle mouseB = 0xB;

const char* nameOf(MouseButton button) {
    switch (button) {
    case MouseButton::Left:
        return "L";
    case MouseButton::Right:
        return "R";
    default:
        return "M";
    }
}

// Without a window: GLFW's pump has nothing to do before GLFW is initialised, so only the
// scripted mice drive the manager.
class InputManagerTest : public testing::Test {
protected:
    InputManagerTest() {
        auto scripted = std::make_unique<ScriptedRawInput>();
        input = scripted.get();
        input->plug({mouseA, DeviceType::Mouse, "mouse-a", {}, {}});
        input->plug({mouseB, DeviceType::Mouse, "mouse-b", {}, {}});
        manager = std::make_unique<InputManager>(keys, nullptr, std::move(scripted));
        count = manager->mouseCountCallbacks.subscribe([this](std::uint64_t n, std::uint64_t previous) {
            events.push_back(fmt::format("count {} {}", n, previous));
        });
        button = manager->mouseButtonCallbacks.subscribe(
            [this](std::uint64_t mouse, MouseButton b, bool released) {
                events.push_back(fmt::format("{} {} {}", mouse, nameOf(b), released ? "up" : "down"));
            });
    }

    // The events of one update, after the one that reported the start-up state.
    std::vector<std::string> updateAfterStart() {
        manager->update();
        events.clear();
        return update();
    }

    std::vector<std::string> update() {
        manager->update();
        return std::exchange(events, {});
    }

    void press(DeviceHandle device, std::uint16_t flags) {
        input->queueReport({DeviceType::Mouse, device, flags, false, 0, 0});
    }

    void move(DeviceHandle device, std::int32_t x, std::int32_t y) {
        input->queueReport({DeviceType::Mouse, device, 0, false, x, y});
    }

    MouseData& mouse(std::size_t index) { return *manager->rawMouseHandler->mice.at(index); }

    Window::KeyCallbacks keys;
    ScriptedRawInput* input;
    std::unique_ptr<InputManager> manager;
    std::vector<std::string> events;
    std::shared_ptr<InputManager::CountCallbacks::Function> count;
    std::shared_ptr<InputManager::ButtonCallbacks::Function> button;
};

TEST_F(InputManagerTest, TheFirstUpdateReportsTheCountThenEveryButtonReleased) {
    EXPECT_EQ(update(), (std::vector<std::string>{"count 3 0", "0 L up", "0 R up", "0 M up",
                                                  "1 L up", "1 R up", "1 M up", "2 L up",
                                                  "2 R up", "2 M up"}));
    EXPECT_EQ(manager->buttonReleased.size(), 3u);
}

TEST_F(InputManagerTest, EveryUpdateReportsTheCountChangedOrNot) {
    update();
    EXPECT_EQ(update(), std::vector<std::string>{"count 3 3"});
    EXPECT_EQ(update(), std::vector<std::string>{"count 3 3"});
}

TEST_F(InputManagerTest, APressAndItsReleaseAreReportedInTheirUpdates) {
    update();
    press(mouseB, RawButtonFlags::rightDown);
    EXPECT_EQ(update(), (std::vector<std::string>{"count 3 3", "1 R down"}));
    EXPECT_FALSE(manager->buttonReleased[1][indexOf(MouseButton::Right)]);
    press(mouseB, RawButtonFlags::rightUp);
    EXPECT_EQ(update(), (std::vector<std::string>{"count 3 3", "1 R up"}));
}

TEST_F(InputManagerTest, APressReleasedBeforeTheNextUpdateReportsNothing) {
    update();
    press(mouseA, RawButtonFlags::leftDown | RawButtonFlags::leftUp);
    EXPECT_EQ(update(), std::vector<std::string>{"count 3 3"});
    press(mouseA, RawButtonFlags::leftDown);
    press(mouseA, RawButtonFlags::leftUp);
    EXPECT_EQ(update(), std::vector<std::string>{"count 3 3"});
    EXPECT_TRUE(manager->buttonReleased[0][indexOf(MouseButton::Left)]);
}

TEST_F(InputManagerTest, AButtonListenerRunsBeforeTheFlagIsStored) {
    update();
    std::vector<bool> seen;
    auto reader = manager->mouseButtonCallbacks.subscribe([&](std::uint64_t mouse, MouseButton b, bool) {
        seen.push_back(manager->buttonReleased[mouse][indexOf(b)]);
    });
    press(mouseA, RawButtonFlags::middleDown);
    update();
    EXPECT_EQ(seen, std::vector<bool>{true}) << "the listener sees the flag it is told replaces";
}

TEST_F(InputManagerTest, WithoutAMotionListenerMovementStaysInTheRecord) {
    move(mouseA, 3, 4);
    update();
    move(mouseA, 1, -1);
    update();
    EXPECT_EQ(mouse(0).takeMovement(), glm::ivec2(4, 3));
}

TEST_F(InputManagerTest, AMotionListenerTakesTheMovementOfEveryMouseThatMoved) {
    std::vector<std::string> motion;
    auto listener = manager->mouseMotionCallbacks.subscribe([&](std::uint64_t mouse, glm::ivec2 d) {
        motion.push_back(fmt::format("{} {} {}", mouse, d.x, d.y));
    });
    move(mouseA, 3, 4);
    move(mouseA, 1, 0);
    move(0, -2, 0);
    update();
    EXPECT_EQ(motion, (std::vector<std::string>{"0 4 4", "2 -2 0"})) << "mouse 1 did not move";
    EXPECT_EQ(mouse(0).takeMovement(), glm::ivec2(0, 0));
    update();
    EXPECT_EQ(motion.size(), 2u);
}

TEST_F(InputManagerTest, AnExpiredMotionListenerStillTakesTheMovementOnce) {
    auto listener = manager->mouseMotionCallbacks.subscribe([](std::uint64_t, glm::ivec2) {});
    listener.reset();
    move(mouseA, 5, 5);
    update();
    EXPECT_EQ(mouse(0).dx, 0) << "the entry was there when the update looked";
    move(mouseA, 5, 5);
    update();
    EXPECT_EQ(mouse(0).dx, 5) << "the invoke erased it";
}

// The flags stay by index; the mice move down. Each index reports exactly where its new occupant
// differs from the flags last reported for that index.
TEST_F(InputManagerTest, ARemovalReportsOnlyWhereTheNewOccupantDiffers) {
    press(mouseA, RawButtonFlags::leftDown);
    press(mouseB, RawButtonFlags::rightDown);
    press(0, RawButtonFlags::rightDown);
    update();
    events.clear();
    input->leave(mouseA); // [A, B, handle-less] becomes [B, handle-less]
    EXPECT_EQ(update(), (std::vector<std::string>{"count 2 3", "0 L up", "0 R down"}));
    EXPECT_EQ(manager->buttonReleased.size(), 3u) << "the flags never shrink";
    EXPECT_EQ(manager->buttonReleased[2], (std::array<bool, 3>{true, false, true}))
        << "the last index keeps the flags of the record that sat there";
}

TEST_F(InputManagerTest, AMouseThatArrivesReportsItsButtonsUp) {
    update();
    input->arrive({0xC, DeviceType::Mouse, "mouse-c", {}, {}});
    EXPECT_EQ(update(), (std::vector<std::string>{"count 4 3", "3 L up", "3 R up", "3 M up"}));
}

TEST_F(InputManagerTest, TheQueueIsAppliedInOrder) {
    update();
    input->arrive({0xC, DeviceType::Mouse, "mouse-c", {}, {}});
    move(0xC, 2, 2);
    input->leave(0xC);
    move(0xC, 9, 9); // after its removal: dropped
    events.clear();
    update();
    EXPECT_EQ(manager->rawMouseHandler->mice.size(), 3u);
    EXPECT_EQ(updateAfterStart(), std::vector<std::string>{"count 3 3"});
}

TEST_F(InputManagerTest, KeyPollsWithoutAWindowLogAndReportUp) {
    LogCapture capture;
    EXPECT_FALSE(manager->isKeyPressed(65));
    EXPECT_EQ(capture.count("Accessing invalid handle."), 1u);
}

TEST_F(InputManagerTest, DestructionLetsTheHandlerUnregister) {
    LogCapture capture;
    manager.reset();
    EXPECT_EQ(capture.count("Destroyed raw mouse handler."), 1u);
}
} // namespace
