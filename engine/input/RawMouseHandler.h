#pragma once

#include "engine/input/MouseData.h"
#include "engine/platform/RawInput.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// Tells several mice apart: one MouseData per mouse, its position in mice being the mouse index.
// Behind the mice found at start sits the handle-less record, which takes input that carries no
// device (injected input) and stays for the handler's life. Mice that arrive take the next
// index; a mouse that leaves moves every later one down by one.
class RawMouseHandler {
public:
    // Lists the mice, appends the handle-less record and registers for mouse input with device
    // notices. A failed listing leaves no record and no registration: the count stays 0.
    explicit RawMouseHandler(RawInput& rawInput);
    ~RawMouseHandler();
    RawMouseHandler(const RawMouseHandler&) = delete;
    RawMouseHandler& operator=(const RawMouseHandler&) = delete;

    void onRawInput(ReportHandle report);
    void addMouse(DeviceHandle device);
    void removeMouse(DeviceHandle device);

    // False for an index below the mouse count. An index that is not warns once, when it becomes
    // invalid, and not again on every frame's poll while it stays so.
    bool isInvalidMouseIndex(std::uint64_t index);
    // "Virtual Mouse" for the handle-less record, the platform's name for a device, or nullopt
    // when it has none. An index without a record ends the process.
    std::optional<std::string> getMouseName(std::uint64_t index);

    std::vector<std::unique_ptr<MouseData>> mice;

private:
    void applyButtons(MouseData& mouse, std::uint16_t flags);
    void applyMovement(MouseData& mouse, const RawMouseReport& report);
    std::optional<std::string> readDeviceName(DeviceHandle device);
    void forgetValidIndices();

    std::unordered_map<DeviceHandle, MouseData*> devices;
    RawInput* rawInput;
    std::vector<std::uint64_t> warnedIndices; // invalid ones already warned about
};
