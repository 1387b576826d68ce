#include "engine/input/RawMouseHandler.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScriptedRawInput.h"

#include <gtest/gtest.h>
#include <limits>

namespace {
using Call = ScriptedRawInput::Call;

constexpr DeviceHandle mouseA = 0x11;
constexpr DeviceHandle mouseB = 0x22;
constexpr DeviceHandle keyboard = 0x33;

RawMouseReport relative(DeviceHandle device, std::int32_t x, std::int32_t y,
                        std::uint16_t flags = 0) {
    return {DeviceType::Mouse, device, flags, false, x, y};
}

RawMouseReport absolute(DeviceHandle device, std::int32_t x, std::int32_t y) {
    return {DeviceType::Mouse, device, 0, true, x, y};
}

RawMouseReport buttons(DeviceHandle device, std::uint16_t flags) {
    return relative(device, 0, 0, flags);
}

class RawMouseHandlerTest : public testing::Test {
protected:
    RawMouseHandlerTest() {
        input.plug({mouseA, DeviceType::Mouse, "\\\\?\\mouse-a", "Mouse A", {}});
        input.plug({keyboard, DeviceType::Keyboard, "\\\\?\\keyboard", {}, {}});
    }

    RawMouseHandler& start() {
        handler = std::make_unique<RawMouseHandler>(input);
        return *handler;
    }

    // What the input manager's pump does with each queued message.
    void pump() {
        while (const std::optional<RawInputMessage> message = input.nextMessage()) {
            if (message->kind == RawInputMessage::Kind::Input) {
                handler->onRawInput(message->report);
            } else if (message->kind == RawInputMessage::Kind::DeviceArrival) {
                handler->addMouse(message->device);
            } else {
                handler->removeMouse(message->device);
            }
        }
    }

    void report(const RawMouseReport& data) {
        input.queueReport(data);
        pump();
    }

    std::vector<DeviceHandle> devices() const {
        std::vector<DeviceHandle> result;
        for (const auto& mouse : handler->mice) {
            result.push_back(mouse->device);
        }
        return result;
    }

    MouseData& mouse(std::size_t index) { return *handler->mice.at(index); }

    ScriptedRawInput input;
    LogCapture capture;
    std::unique_ptr<RawMouseHandler> handler;
};

TEST_F(RawMouseHandlerTest, ListsTheMiceThenTheHandleLessRecordAndRegisters) {
    start();
    EXPECT_EQ(devices(), (std::vector<DeviceHandle>{mouseA, 0})) << "the keyboard is no mouse";
    EXPECT_EQ(mouse(0).name, "\\\\?\\mouse-a");
    EXPECT_EQ(mouse(1).name, "");
    EXPECT_TRUE(input.isRegistered());
    EXPECT_EQ(capture.countAtLeast(spdlog::level::warn), 0u);
}

TEST_F(RawMouseHandlerTest, AMouseThatArrivesTakesTheNextIndex) {
    start();
    input.arrive({mouseB, DeviceType::Mouse, "mouse-b", {}, {}});
    input.arrive({0x44, DeviceType::Keyboard, "keyboard-2", {}, {}});
    pump();
    EXPECT_EQ(devices(), (std::vector<DeviceHandle>{mouseA, 0, mouseB}));
}

TEST_F(RawMouseHandlerTest, AnArrivalOfAKnownDeviceIsIgnored) {
    start();
    input.queueArrival(mouseA);
    input.queueArrival(0);
    pump();
    EXPECT_EQ(devices(), (std::vector<DeviceHandle>{mouseA, 0}));
}

TEST_F(RawMouseHandlerTest, ARemovalMovesEveryLaterMouseDownOneIndex) {
    start();
    input.arrive({mouseB, DeviceType::Mouse, "mouse-b", {}, {}});
    pump();
    mouse(2).dx = 5; // B's record moves as a whole
    input.leave(mouseA);
    pump();
    EXPECT_EQ(devices(), (std::vector<DeviceHandle>{0, mouseB}));
    EXPECT_EQ(mouse(1).dx, 5);
    report(relative(mouseB, 1, 0));
    EXPECT_EQ(mouse(1).dx, 6) << "B's reports still find B's record";
}

TEST_F(RawMouseHandlerTest, RemovalsOfUnknownDevicesAndOfNoDeviceChangeNothing) {
    start();
    input.queueRemoval(0x99);
    input.queueRemoval(0);
    pump();
    EXPECT_EQ(devices(), (std::vector<DeviceHandle>{mouseA, 0}));
    report(relative(0, 2, 3));
    EXPECT_EQ(mouse(1).dx, 2) << "the handle-less record stays for the handler's life";
}

TEST_F(RawMouseHandlerTest, InputWithoutADeviceLandsInTheHandleLessRecord) {
    start();
    report(relative(0, 4, -4, RawButtonFlags::rightDown));
    EXPECT_EQ(mouse(1).dx, 4);
    EXPECT_EQ(mouse(1).dy, -4);
    EXPECT_TRUE(mouse(1).isDown(MouseButton::Right));
    EXPECT_EQ(mouse(0).dx, 0);
}

struct ButtonCase {
    const char* name;
    std::uint16_t before; // flags of an earlier report
    std::uint16_t flags;
    std::array<bool, 3> down; // left, right, middle
};

void PrintTo(const ButtonCase& c, std::ostream* out) { *out << c.name; }

class ButtonFlagsTest : public RawMouseHandlerTest, public testing::WithParamInterface<ButtonCase> {};

TEST_P(ButtonFlagsTest, SetsTheButtonsTheReportCarries) {
    start();
    report(buttons(mouseA, GetParam().before));
    report(buttons(mouseA, GetParam().flags));
    EXPECT_EQ(mouse(0).buttons, GetParam().down);
}

using F = RawButtonFlags;
INSTANTIATE_TEST_SUITE_P(
    Reports, ButtonFlagsTest,
    testing::Values(
        ButtonCase{"LeftDown", 0, F::leftDown, {true, false, false}},
        ButtonCase{"RightDown", 0, F::rightDown, {false, true, false}},
        ButtonCase{"MiddleDown", 0, F::middleDown, {false, false, true}},
        ButtonCase{"DownAndUpInOneReportEndsUp", 0, F::leftDown | F::leftUp, {false, false, false}},
        ButtonCase{"DownAndUpOfAHeldButtonEndsUp", F::leftDown, F::leftDown | F::leftUp,
                   {false, false, false}},
        ButtonCase{"UpReleasesOnlyItsButton", F::leftDown | F::rightDown, F::rightUp,
                   {true, false, false}},
        ButtonCase{"AReportWithoutFlagsKeepsTheButtons", F::middleDown, 0, {false, false, true}},
        // Wheel and buttons 4 and 5 in the flag bits above the three buttons.
        ButtonCase{"OtherFlagsAreIgnored", 0, 0x0040 | 0x0100 | 0x0400, {false, false, false}},
        ButtonCase{"AllThreeAtOnce", 0, F::leftDown | F::rightDown | F::middleDown,
                   {true, true, true}}),
    [](const testing::TestParamInfo<ButtonCase>& info) { return info.param.name; });

TEST_F(RawMouseHandlerTest, RelativeMovementAccumulatesUntilTaken) {
    start();
    report(relative(mouseA, 1, 1));
    report(relative(mouseA, 3, -2));
    EXPECT_EQ(mouse(0).takeMovement(), glm::ivec2(4, -1));
    EXPECT_EQ(mouse(0).takeMovement(), glm::ivec2(0, 0)) << "taking zeroes both";
    EXPECT_FALSE(mouse(0).absolute);
}

TEST_F(RawMouseHandlerTest, MovementSaturatesInsteadOfOverflowing) {
    start();
    constexpr std::int32_t most = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t least = std::numeric_limits<std::int32_t>::min();
    report(relative(mouseA, most, least));
    report(relative(mouseA, most, least));
    EXPECT_EQ(mouse(0).dx, most);
    EXPECT_EQ(mouse(0).dy, least);
}

// An absolute pointer (a tablet, a virtual machine's pointer) reports where it is; the look code
// takes dx and dy as movement, so positions must not land there.
TEST_F(RawMouseHandlerTest, AbsoluteReportsMoveByTheDifferenceFromTheLastPosition) {
    start();
    report(absolute(mouseA, 30000, 20000));
    EXPECT_TRUE(mouse(0).absolute);
    EXPECT_EQ(mouse(0).takeMovement(), glm::ivec2(0, 0)) << "the first position is no movement";
    report(absolute(mouseA, 30010, 19995));
    report(absolute(mouseA, 30015, 19995));
    EXPECT_EQ(mouse(0).takeMovement(), glm::ivec2(15, -5));
    report(absolute(mouseA, 30015, 19995));
    EXPECT_EQ(mouse(0).takeMovement(), glm::ivec2(0, 0)) << "a pointer at rest does not turn";
}

TEST_F(RawMouseHandlerTest, AbsolutePositionsAreKeptPerDevice) {
    start();
    report(absolute(mouseA, 100, 100));
    report(absolute(0, 5000, 5000));
    report(absolute(mouseA, 101, 99));
    EXPECT_EQ(mouse(0).takeMovement(), glm::ivec2(1, -1));
    EXPECT_EQ(mouse(1).takeMovement(), glm::ivec2(0, 0));
}

TEST_F(RawMouseHandlerTest, AbsoluteStaysSetAfterARelativeReport) {
    start();
    report(absolute(mouseA, 10, 10));
    report(relative(mouseA, 2, 3));
    EXPECT_TRUE(mouse(0).absolute);
    EXPECT_EQ(mouse(0).takeMovement(), glm::ivec2(2, 3));
}

TEST_F(RawMouseHandlerTest, AbsoluteJumpsAcrossTheWholeRangeSaturate) {
    start();
    report(absolute(mouseA, std::numeric_limits<std::int32_t>::min(), 0));
    report(absolute(mouseA, std::numeric_limits<std::int32_t>::max(), 0));
    EXPECT_EQ(mouse(0).dx, std::numeric_limits<std::int32_t>::max());
}

// The device's first report overtakes its arrival notice. Filing the unknown handle on that
// report would make the arrival look known, and the mouse would stay without a record.
TEST_F(RawMouseHandlerTest, AReportBeforeItsDevicesArrivalDoesNotLoseTheDevice) {
    start();
    input.plug({mouseB, DeviceType::Mouse, "mouse-b", {}, {}});
    report(relative(mouseB, 7, 7));
    EXPECT_EQ(capture.count("Raw mouse data is null: 0x22"), 1u);
    input.queueArrival(mouseB);
    report(relative(mouseB, 1, 2));
    ASSERT_EQ(devices(), (std::vector<DeviceHandle>{mouseA, 0, mouseB}));
    EXPECT_EQ(mouse(2).takeMovement(), glm::ivec2(1, 2)) << "the report before arrival is dropped";
}

TEST_F(RawMouseHandlerTest, ReportsOfOtherDevicesAreDroppedSilently) {
    start();
    RawMouseReport keys = relative(mouseA, 5, 5);
    keys.type = DeviceType::Keyboard;
    report(keys);
    EXPECT_EQ(mouse(0).dx, 0);
    EXPECT_TRUE(capture.lines().empty());
}

struct FailureCase {
    const char* name;
    Call call;
    const char* message;
    std::vector<DeviceHandle> mice; // after start and an arrival of mouse B
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

class HandlerFailureTest : public RawMouseHandlerTest,
                           public testing::WithParamInterface<FailureCase> {};

TEST_P(HandlerFailureTest, LogsTheCallsErrorAndGoesOn) {
    input.fail(GetParam().call, "the platform said no");
    start();
    input.arrive({mouseB, DeviceType::Mouse, "mouse-b", {}, {}});
    pump();
    EXPECT_EQ(capture.messages(spdlog::level::err),
              std::vector<std::string>{std::string(GetParam().message) + "the platform said no"});
    EXPECT_EQ(devices(), GetParam().mice);
    EXPECT_FALSE(input.isRegistered()) << "no arrival is heard without registration";
}

INSTANTIATE_TEST_SUITE_P(
    StartUp, HandlerFailureTest,
    testing::Values(
        // Without a listing there is no record and no registration: the count stays 0.
        FailureCase{"DeviceCount", Call::DeviceCount, "Failed to get raw input device count: ", {}},
        FailureCase{"DeviceList", Call::DeviceList, "Failed to get raw input device list: ", {}},
        FailureCase{"Register", Call::Register, "Failed to register for raw input updates: ",
                    {mouseA, 0}}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST_F(RawMouseHandlerTest, FailedLookUpsOnArrivalLogAndAddNothing) {
    const std::pair<Call, std::string> lookUps[] = {
        {Call::DeviceInfo, "Unable to determine raw device info: gone"},
        {Call::DeviceNameLength, "Unable to determine raw device name length: gone"},
        {Call::DeviceName, "Unable to determine raw device name: gone"},
    };
    start();
    for (const auto& [call, message] : lookUps) {
        input.fail(call, "gone");
        input.arrive({mouseB, DeviceType::Mouse, "mouse-b", {}, {}});
        pump();
        EXPECT_EQ(capture.count(message), 1u) << message;
        EXPECT_EQ(devices(), (std::vector<DeviceHandle>{mouseA, 0}));
        input.succeed(call);
        input.unplug(mouseB);
    }
    input.arrive({mouseB, DeviceType::Mouse, "mouse-b", {}, {}});
    pump();
    EXPECT_EQ(devices(), (std::vector<DeviceHandle>{mouseA, 0, mouseB}))
        << "a failed arrival does not make the device known";
}

TEST_F(RawMouseHandlerTest, FailedReportReadsLogAndDropTheReport) {
    start();
    input.fail(Call::ReportSize, "stale");
    report(relative(mouseA, 1, 1));
    input.succeed(Call::ReportSize);
    input.fail(Call::Report, "torn");
    report(relative(mouseA, 1, 1));
    input.succeed(Call::Report);
    input.queueReport(relative(mouseA, 1, 1), sizeof(RawMouseReport) - 8);
    pump();
    EXPECT_EQ(capture.messages(spdlog::level::err),
              (std::vector<std::string>{"Failed to get raw input data size: stale",
                                        "Failed to get raw input data: torn",
                                        "Failed to get raw input data: "}));
    EXPECT_EQ(mouse(0).dx, 0);
}

// The name look-up is checked and bounded: a platform that contradicts itself between the two
// calls gets no read past the buffer and no record.
TEST_F(RawMouseHandlerTest, DeviceNameReadsAreBounded) {
    start();
    input.arrive({mouseB, DeviceType::Mouse, "a rather long interface name", {}, 4});
    input.arrive({0x55, DeviceType::Mouse, "huge", {}, std::size_t{1} << 40});
    input.arrive({0x66, DeviceType::Mouse, std::string("cut\0tail", 8), {}, {}});
    pump();
    EXPECT_EQ(capture.count("Unable to determine raw device name: the name does not fit"), 1u);
    EXPECT_EQ(capture.count("Unable to determine raw device name length: "), 1u);
    EXPECT_EQ(devices(), (std::vector<DeviceHandle>{mouseA, 0, 0x66}));
    EXPECT_EQ(mouse(2).name, "cut") << "the name ends at its first zero";
}

TEST_F(RawMouseHandlerTest, DestructionUnregistersAndSaysSo) {
    start();
    handler.reset();
    EXPECT_FALSE(input.isRegistered());
    EXPECT_EQ(capture.messages(spdlog::level::info),
              std::vector<std::string>{"Destroyed raw mouse handler."});
}

TEST_F(RawMouseHandlerTest, AFailedUnregistrationIsLogged) {
    start();
    input.fail(Call::Unregister, "denied");
    handler.reset();
    EXPECT_EQ(capture.messages(spdlog::level::err),
              std::vector<std::string>{"Failed to unregister for raw input updates: denied"});
    EXPECT_EQ(capture.count("Destroyed raw mouse handler."), 0u);
}

// The player's look code asks every frame; one line per frame would be thousands a second.
TEST_F(RawMouseHandlerTest, AnInvalidIndexWarnsOnceWhileItStaysInvalid) {
    start();
    for (int frame = 0; frame < 1000; ++frame) {
        EXPECT_TRUE(handler->isInvalidMouseIndex(2));
    }
    EXPECT_FALSE(handler->isInvalidMouseIndex(1));
    EXPECT_EQ(capture.messages(spdlog::level::warn),
              std::vector<std::string>{"Invalid mouse index 3/2"});
}

TEST_F(RawMouseHandlerTest, AnIndexWarnsAgainWhenItBecomesInvalidAgain) {
    start();
    handler->isInvalidMouseIndex(2);
    handler->isInvalidMouseIndex(3);
    input.arrive({mouseB, DeviceType::Mouse, "mouse-b", {}, {}});
    pump();
    EXPECT_FALSE(handler->isInvalidMouseIndex(2));
    handler->isInvalidMouseIndex(3); // still invalid: no second line
    input.leave(mouseB);
    pump();
    handler->isInvalidMouseIndex(2);
    EXPECT_EQ(capture.messages(spdlog::level::warn),
              (std::vector<std::string>{"Invalid mouse index 3/2", "Invalid mouse index 4/2",
                                        "Invalid mouse index 3/2"}));
}

TEST_F(RawMouseHandlerTest, MouseNames) {
    input.plug({mouseB, DeviceType::Mouse, "mouse-b", {}, {}});
    start();
    EXPECT_EQ(handler->getMouseName(0), "Mouse A");
    EXPECT_EQ(handler->getMouseName(1), std::nullopt) << "no friendly name: the caller falls back";
    EXPECT_EQ(handler->getMouseName(2), "Virtual Mouse");
    EXPECT_TRUE(capture.lines().empty());
}

TEST_F(RawMouseHandlerTest, TheNameOfAnIndexWithoutMouseEndsTheProcess) {
    const ChildResult child = runInChild([this] {
        start();
        handler->getMouseName(5);
    });
    EXPECT_EQ(child.exitStatus, 1);
    EXPECT_NE(child.standardError.find("[warning] Invalid mouse index 6/2"), std::string::npos)
        << child.standardError;
    EXPECT_NE(child.standardError.find("[critical] Tried to access invalid mouse data."),
              std::string::npos);
}
} // namespace
