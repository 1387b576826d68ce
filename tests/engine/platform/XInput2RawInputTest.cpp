#include "engine/platform/XInput2RawInput.h"

#include "engine/input/InputManager.h"
#include "tests/engine/platform/XTestDriver.h"
#include "tests/support/LogCapture.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

// Real XInput 2 under Xvfb: two distinct devices, the core XTEST pointer and "Xvfb mouse", driven
// through XTEST from a connection of the test's own. Ids are not stable, so devices are found by
// name. Input is injected only once the receiver has registered. These tests take the keyboard
// focus and inject input, so CTest runs them one at a time (RESOURCE_LOCK x_input).
namespace {
using namespace std::chrono_literals;

constexpr auto patience = 5s; // far beyond the few milliseconds an event takes; a stall fails

template <typename Step, typename Condition>
bool eventually(Step step, Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    do {
        step();
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(1ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

class XInput2Test : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x.isOpen()) << "no X display: run under xvfb-run";
        window = x.createWindow();
        x.focus(window);
        mouseId = x.deviceId("Xvfb mouse");
        ASSERT_NE(mouseId, 0);
        ASSERT_TRUE(x.openDevice("Xvfb mouse"));
    }

    void TearDown() override {
        manager.reset();
        if (!x.isEnabled(mouseId)) {
            x.setEnabled(mouseId, true);
        }
        x.destroyWindow(window);
    }

    std::unique_ptr<XInput2RawInput> backend() {
        return std::make_unique<XInput2RawInput>(x.displayName(), window);
    }

    InputManager& start() {
        manager = std::make_unique<InputManager>(keys, nullptr, backend());
        return *manager;
    }

    bool eventually(const std::function<bool()>& condition) {
        return ::eventually([this] { manager->update(); }, condition);
    }

    // The record of a device, wherever removals and arrivals have put it; null when it has none.
    MouseData* record(DeviceHandle device) {
        for (const auto& mouse : manager->rawMouseHandler->mice) {
            if (mouse->device == device) {
                return mouse.get();
            }
        }
        return nullptr;
    }

    std::size_t indexOf(DeviceHandle device) {
        const auto& mice = manager->rawMouseHandler->mice;
        return static_cast<std::size_t>(
            std::find_if(mice.begin(), mice.end(), [&](const auto& m) { return m->device == device; }) -
            mice.begin());
    }

    MouseData& injected() { return *record(0); }
    MouseData& xvfbMouse() { return *record(static_cast<DeviceHandle>(mouseId)); }

    XTestDriver x;
    unsigned long window = 0;
    int mouseId = 0;
    Window::KeyCallbacks keys;
    std::unique_ptr<InputManager> manager;
};

TEST_F(XInput2Test, TheMiceAreTheSlavePointersAndInjectorsAreNone) {
    start();
    std::vector<std::string> names;
    for (const auto& mouse : manager->rawMouseHandler->mice) {
        names.push_back(mouse->name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Xvfb mouse", ""}))
        << "no master, no keyboard, no XTEST device, then the handle-less record";
    EXPECT_EQ(manager->rawMouseHandler->getMouseName(0), "Xvfb mouse");
    EXPECT_EQ(manager->rawMouseHandler->getMouseName(1), "Virtual Mouse");
}

// Each device lands in its own record, once: selecting raw events for every device instead of
// the masters would count each movement twice.
TEST_F(XInput2Test, TwoDevicesDrivenAtOnceLandInTheirOwnRecords) {
    start();
    x.moveCorePointer(5, -3);
    x.moveDevice(7, 9);
    x.pressCoreButton(1, true);
    x.pressDeviceButton(3, true);
    x.moveCorePointer(1, 1);
    x.moveDevice(-2, 1);
    x.sync();
    // On a stall the comparisons below tell what did arrive.
    EXPECT_TRUE(eventually([&] {
        return injected().isDown(MouseButton::Left) && xvfbMouse().isDown(MouseButton::Right) &&
               injected().dx == 6 && xvfbMouse().dx == 5;
    }));
    manager->update(); // nothing more may come
    EXPECT_EQ(injected().takeMovement(), glm::ivec2(6, -2));
    EXPECT_EQ(xvfbMouse().takeMovement(), glm::ivec2(5, 10));
    EXPECT_EQ(injected().buttons, (std::array<bool, 3>{true, false, false}));
    EXPECT_EQ(xvfbMouse().buttons, (std::array<bool, 3>{false, true, false}));
    EXPECT_FALSE(xvfbMouse().absolute);

    x.pressCoreButton(1, false);
    x.pressDeviceButton(3, false);
    x.pressDeviceButton(2, true);
    x.sync();
    ASSERT_TRUE(eventually([&] { return xvfbMouse().isDown(MouseButton::Middle); }));
    EXPECT_EQ(injected().buttons, (std::array<bool, 3>{false, false, false}));
    EXPECT_EQ(xvfbMouse().buttons, (std::array<bool, 3>{false, false, true}))
        << "XI button 2 is the middle one";
    x.pressDeviceButton(2, false);
}

TEST_F(XInput2Test, ButtonChangesReachTheButtonListenersPerMouse) {
    start();
    manager->update(); // the start-up report of every button released
    std::vector<std::pair<std::uint64_t, bool>> heard;
    auto listener = manager->mouseButtonCallbacks.subscribe(
        [&](std::uint64_t mouse, MouseButton button, bool released) {
            if (button == MouseButton::Left) {
                heard.emplace_back(mouse, released);
            }
        });
    x.pressDeviceButton(1, true);
    x.sync();
    ASSERT_TRUE(eventually([&] { return !heard.empty(); }));
    x.pressDeviceButton(1, false);
    x.sync();
    ASSERT_TRUE(eventually([&] { return heard.size() == 2; }));
    const std::uint64_t index = indexOf(static_cast<DeviceHandle>(mouseId));
    EXPECT_EQ(heard, (std::vector<std::pair<std::uint64_t, bool>>{{index, false}, {index, true}}));
}

TEST_F(XInput2Test, TheWheelAndFurtherButtonsAreIgnored) {
    start();
    for (unsigned button = 4; button <= 9; ++button) {
        x.pressCoreButton(button, true);
        x.pressCoreButton(button, false);
    }
    x.pressCoreButton(8, true);
    x.moveCorePointer(1, 0); // the marker: once it is in, so is everything before it
    x.sync();
    ASSERT_TRUE(eventually([&] { return injected().dx == 1; }));
    EXPECT_EQ(injected().buttons, (std::array<bool, 3>{false, false, false}));
    x.pressCoreButton(8, false);
}

TEST_F(XInput2Test, InputIsTakenOnlyWhileTheWindowHasTheFocus) {
    start();
    x.focus(0);
    x.moveDevice(50, 50);
    x.pressDeviceButton(1, true);
    x.pressDeviceButton(1, false);
    x.focus(window);
    x.moveDevice(1, 0);
    x.sync();
    ASSERT_TRUE(eventually([&] { return xvfbMouse().dx != 0; }));
    manager->update();
    EXPECT_EQ(xvfbMouse().takeMovement(), glm::ivec2(1, 0)) << "the unfocused movement is dropped";
}

// A player who holds the throw button while the focus goes would otherwise keep throwing: the
// release happens elsewhere and is never seen.
TEST_F(XInput2Test, ButtonsHeldWhenTheFocusGoesAreReleased) {
    start();
    x.pressDeviceButton(1, true);
    x.pressCoreButton(3, true);
    x.sync();
    ASSERT_TRUE(eventually([&] {
        return xvfbMouse().isDown(MouseButton::Left) && injected().isDown(MouseButton::Right);
    }));
    x.focus(0);
    ASSERT_TRUE(eventually([&] {
        return !xvfbMouse().isDown(MouseButton::Left) && !injected().isDown(MouseButton::Right);
    }));
    x.pressDeviceButton(1, false);
    x.pressCoreButton(3, false);
    x.focus(window);
    x.moveDevice(1, 0);
    x.sync();
    ASSERT_TRUE(eventually([&] { return xvfbMouse().dx == 1; }));
    EXPECT_FALSE(xvfbMouse().isDown(MouseButton::Left));
}

// The hot-plug Xvfb offers: disabling a slave takes it away like unplugging, enabling it brings
// it back as a new arrival.
TEST_F(XInput2Test, ADisabledMouseLeavesAndComesBackAsANewArrival) {
    start();
    const auto mouse = static_cast<DeviceHandle>(mouseId);
    ASSERT_EQ(indexOf(mouse), 0u);
    x.setEnabled(mouseId, false);
    ASSERT_TRUE(eventually([&] { return record(mouse) == nullptr; }));
    EXPECT_EQ(manager->rawMouseHandler->mice.size(), 1u) << "the handle-less record stays";
    x.setEnabled(mouseId, true);
    ASSERT_TRUE(eventually([&] { return record(mouse) != nullptr; }));
    EXPECT_EQ(indexOf(mouse), 1u) << "an arrival takes the next index";
    EXPECT_EQ(xvfbMouse().name, "Xvfb mouse");
    x.moveDevice(3, 4);
    x.sync();
    ASSERT_TRUE(eventually([&] { return xvfbMouse().dy == 4; }));
    EXPECT_EQ(xvfbMouse().dx, 3);
}

class XInput2HierarchyTest : public XInput2Test {
protected:
    void TearDown() override {
        if (const int master = x.deviceId("vornhalt test pointer"); master != 0) {
            x.removeMaster(master);
        }
        XInput2Test::TearDown();
    }

    static constexpr const char* names[] = {"vornhalt test pointer", "vornhalt test keyboard",
                                            "vornhalt test XTEST pointer",
                                            "vornhalt test XTEST keyboard"};
};

TEST_F(XInput2HierarchyTest, AnAddedMasterArrivesAsNewDevicesAndLeavesAgain) {
    const std::unique_ptr<XInput2RawInput> input = backend();
    ASSERT_TRUE(input->registerMice()) << input->getLastError();
    std::vector<DeviceHandle> arrived;
    std::vector<DeviceHandle> removed;
    const auto drain = [&] {
        while (const std::optional<RawInputMessage> message = input->nextMessage()) {
            if (message->kind == RawInputMessage::Kind::DeviceArrival) {
                arrived.push_back(message->device);
            } else if (message->kind == RawInputMessage::Kind::DeviceRemoval) {
                removed.push_back(message->device);
            }
        }
    };
    const int master = x.addMaster("vornhalt test");
    ASSERT_NE(master, 0);
    std::vector<DeviceHandle> added;
    for (const char* name : names) {
        added.push_back(static_cast<DeviceHandle>(x.deviceId(name)));
    }
    std::sort(added.begin(), added.end());
    ASSERT_TRUE(::eventually(drain, [&] { return arrived.size() >= added.size(); }));
    std::sort(arrived.begin(), arrived.end());
    EXPECT_EQ(arrived, added);
    for (const DeviceHandle device : added) {
        const std::optional<DeviceInfo> info = input->getDeviceInfo(device);
        ASSERT_TRUE(info.has_value()) << input->getLastError();
        EXPECT_NE(info->type, DeviceType::Mouse) << "masters and XTEST injectors are no mice";
    }
    x.removeMaster(master);
    ASSERT_TRUE(::eventually(drain, [&] { return removed.size() >= added.size(); }));
    std::sort(removed.begin(), removed.end());
    EXPECT_EQ(removed, added);
    EXPECT_TRUE(input->unregisterMice());
}

// Raw events are selected for every master, including masters added later: a mouse moved to a
// cursor of its own keeps reporting into its record.
TEST_F(XInput2HierarchyTest, AMouseMovedToANewMasterKeepsItsRecord) {
    start();
    const int master = x.addMaster("vornhalt test");
    ASSERT_NE(master, 0);
    x.attach(mouseId, master);
    x.moveDevice(2, 2);
    x.sync();
    ASSERT_TRUE(eventually([&] { return xvfbMouse().dx == 2; }));
    EXPECT_EQ(manager->rawMouseHandler->mice.size(), 2u) << "the new master brought no mouse";
}

TEST_F(XInput2Test, AReportHandleDoesNotOutliveItsDrain) {
    const std::unique_ptr<XInput2RawInput> input = backend();
    ASSERT_TRUE(input->registerMice());
    x.moveDevice(1, 1);
    x.sync();
    std::optional<ReportHandle> report;
    ASSERT_TRUE(::eventually(
        [&] {
            while (const std::optional<RawInputMessage> message = input->nextMessage()) {
                if (message->kind == RawInputMessage::Kind::Input && !report) {
                    report = message->report;
                    EXPECT_EQ(input->getReportSize(*report), sizeof(RawMouseReport));
                }
            }
        },
        [&] { return report.has_value(); }));
    x.moveDevice(1, 1);
    x.sync();
    ASSERT_TRUE(::eventually([&] {}, [&] { return input->nextMessage().has_value(); }));
    EXPECT_EQ(input->getReportSize(*report), std::nullopt);
    EXPECT_NE(input->getLastError(), "");
}

// X errors go to a handler of ours and become the last error; Xlib's default would end the
// process.
TEST_F(XInput2Test, XErrorsBecomeTheLastErrorInsteadOfEndingTheProcess) {
    const std::unique_ptr<XInput2RawInput> input = backend();
    EXPECT_EQ(input->getDeviceInfo(250), std::nullopt);
    EXPECT_NE(input->getLastError().find("BadDevice"), std::string::npos) << input->getLastError();
    std::array<char, 64> name{};
    EXPECT_EQ(input->getDeviceName(250, name), 0u);
    EXPECT_EQ(input->getDeviceInfo(static_cast<DeviceHandle>(mouseId))->type, DeviceType::Mouse);
    EXPECT_EQ(input->getLastError(), "") << "a call that succeeds clears it";

    XInput2RawInput noWindow(x.displayName(), 0x1);
    EXPECT_FALSE(noWindow.registerMice());
    EXPECT_NE(noWindow.getLastError().find("BadWindow"), std::string::npos)
        << noWindow.getLastError();
}

TEST_F(XInput2Test, ADisplayThatCannotBeOpenedLeavesNoMiceAndNoCrash) {
    LogCapture capture;
    manager = std::make_unique<InputManager>(
        keys, nullptr, std::make_unique<XInput2RawInput>(":9999", window));
    manager->update();
    EXPECT_TRUE(manager->rawMouseHandler->mice.empty());
    EXPECT_EQ(capture.count("Failed to get raw input device count: cannot open display \":9999\""),
              1u);
    manager.reset();
    EXPECT_EQ(capture.count(
                  "Failed to unregister for raw input updates: cannot open display \":9999\""),
              1u);
}
} // namespace
