#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

// What the raw mouse handler and the input manager need from the platform to tell several mice
// apart, and nothing more. Backends: XInput2RawInput (the real one, on the game's X display) and
// ScriptedRawInput (driven by the tests, in tests/support).
//
// Every call sets the text that getLastError returns: "" after a call that succeeded.

// One input device: its XInput device id on X11. 0 is no device: injected input (XTEST) carries
// none and lands in the handler's handle-less record.
using DeviceHandle = std::uint64_t;

// Names one queued input report. Valid from the message that carries it until the queue has been
// drained and is filled again; a stale handle makes getReportSize fail.
using ReportHandle = std::uint64_t;

enum class DeviceType : std::uint8_t { Mouse, Keyboard, Other };

struct DeviceListEntry {
    DeviceHandle device = 0;
    DeviceType type = DeviceType::Other;
};

struct DeviceInfo {
    DeviceType type = DeviceType::Other;
};

// The button transitions one report carries, one bit per button and direction, ordered left,
// right, middle. Both bits of one button may be set: it went down and up again.
struct RawButtonFlags {
    static constexpr std::uint16_t leftDown = 0x0001;
    static constexpr std::uint16_t leftUp = 0x0002;
    static constexpr std::uint16_t rightDown = 0x0004;
    static constexpr std::uint16_t rightUp = 0x0008;
    static constexpr std::uint16_t middleDown = 0x0010;
    static constexpr std::uint16_t middleUp = 0x0020;
};

struct RawMouseReport {
    DeviceType type = DeviceType::Mouse;
    DeviceHandle device = 0;
    std::uint16_t buttonFlags = 0;
    // Relative: x and y are the movement since the device's previous report, in device counts,
    // unaccelerated. Absolute (tablets, the pointer of a virtual machine): the position in the
    // device's own coordinates.
    bool absolute = false;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct RawInputMessage {
    enum class Kind : std::uint8_t { Input, DeviceArrival, DeviceRemoval };
    Kind kind = Kind::Input;
    DeviceHandle device = 0; // arrival and removal
    ReportHandle report = 0; // input
};

class RawInput {
public:
    virtual ~RawInput() = default;

    // The device list, asked for in two steps as the handler does: the count, then a list of at
    // most that many entries. nullopt is a failure; a list that no longer fits fails too.
    virtual std::optional<std::size_t> getDeviceCount() = 0;
    virtual std::optional<std::size_t> getDeviceList(std::span<DeviceListEntry> list) = 0;
    virtual std::optional<DeviceInfo> getDeviceInfo(DeviceHandle device) = 0;
    // The device's interface name: the buffer size it needs (terminating zero included), then
    // the name itself, written with its zero into at most name.size() characters. getDeviceName
    // returns the characters written, zero included, or 0 when the name does not fit or the
    // device is gone.
    virtual std::optional<std::size_t> getDeviceNameLength(DeviceHandle device) = 0;
    virtual std::size_t getDeviceName(DeviceHandle device, std::span<char> name) = 0;
    // A name to show a player; nullopt when the platform has none, which is not an error.
    virtual std::optional<std::string> getFriendlyName(DeviceHandle device) = 0;

    // Mouse reports, with arrival and removal notices of devices, flow into the queue from
    // registration until unregistration.
    virtual bool registerMice() = 0;
    virtual bool unregisterMice() = 0;

    // The next queued message, nullopt once the queue is drained. One drain ends: messages that
    // arrive while it runs wait for the next one, so a flood of reports cannot hold up a frame.
    virtual std::optional<RawInputMessage> nextMessage() = 0;
    // The report behind an input message: its size in bytes (sizeof(RawMouseReport) for a mouse
    // report), then its contents.
    virtual std::optional<std::size_t> getReportSize(ReportHandle report) = 0;
    virtual bool getReport(ReportHandle report, RawMouseReport& out) = 0;

    virtual const std::string& getLastError() const = 0;
};
