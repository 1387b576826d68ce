#include "engine/input/RawMouseHandler.h"

#include "engine/Logging.h"

#include <algorithm>

namespace {
// Interface names are a few hundred characters at most; a platform that claims more is broken
// and gets no allocation of that size.
constexpr std::size_t longestDeviceName = 4096;

struct ButtonFlags {
    MouseButton button;
    std::uint16_t down;
    std::uint16_t up;
};

constexpr ButtonFlags buttonFlags[] = {
    {MouseButton::Left, RawButtonFlags::leftDown, RawButtonFlags::leftUp},
    {MouseButton::Right, RawButtonFlags::rightDown, RawButtonFlags::rightUp},
    {MouseButton::Middle, RawButtonFlags::middleDown, RawButtonFlags::middleUp},
};
} // namespace

RawMouseHandler::RawMouseHandler(RawInput& rawInput) : rawInput(&rawInput) {
    const std::optional<std::size_t> count = rawInput.getDeviceCount();
    if (!count) {
        getGeneralLogger()->error("Failed to get raw input device count: {}", rawInput.getLastError());
        return;
    }
    std::vector<DeviceListEntry> list(*count);
    const std::optional<std::size_t> listed = rawInput.getDeviceList(list);
    if (!listed || *listed != *count) {
        getGeneralLogger()->error("Failed to get raw input device list: {}", rawInput.getLastError());
        return;
    }
    for (const DeviceListEntry& entry : list) {
        if (entry.type == DeviceType::Mouse) {
            addMouse(entry.device);
        }
    }
    mice.push_back(std::make_unique<MouseData>());
    devices.emplace(DeviceHandle{0}, mice.back().get());
    if (!rawInput.registerMice()) {
        getGeneralLogger()->error("Failed to register for raw input updates: {}",
                                  rawInput.getLastError());
    }
}

RawMouseHandler::~RawMouseHandler() {
    if (rawInput->unregisterMice()) {
        getGeneralLogger()->info("Destroyed raw mouse handler.");
    } else {
        getGeneralLogger()->error("Failed to unregister for raw input updates: {}",
                                  rawInput->getLastError());
    }
}

void RawMouseHandler::onRawInput(ReportHandle report) {
    const std::optional<std::size_t> size = rawInput->getReportSize(report);
    if (!size) {
        getGeneralLogger()->error("Failed to get raw input data size: {}", rawInput->getLastError());
        return;
    }
    RawMouseReport data;
    if (*size != sizeof(RawMouseReport) || !rawInput->getReport(report, data)) {
        getGeneralLogger()->error("Failed to get raw input data: {}", rawInput->getLastError());
        return;
    }
    if (data.type != DeviceType::Mouse) {
        return;
    }
    // Looked up without filing the handle: a report that beats its device's arrival notice must
    // not leave the device without a record for the rest of the run.
    const auto found = devices.find(data.device);
    if (found == devices.end()) {
        getGeneralLogger()->error("Raw mouse data is null: {:#x}", data.device);
        return;
    }
    applyButtons(*found->second, data.buttonFlags);
    applyMovement(*found->second, data);
}

void RawMouseHandler::applyButtons(MouseData& mouse, std::uint16_t flags) {
    // Down before up: a button that went down and up within one report ends up.
    for (const ButtonFlags& button : buttonFlags) {
        if (flags & button.down) {
            mouse.buttons[indexOf(button.button)] = true;
        }
        if (flags & button.up) {
            mouse.buttons[indexOf(button.button)] = false;
        }
    }
}

void RawMouseHandler::applyMovement(MouseData& mouse, const RawMouseReport& report) {
    if (!report.absolute) {
        mouse.addMovement(report.x, report.y);
        return;
    }
    // A position is not movement: the look code would turn the camera by the pointer's place on
    // every frame. What moves is the difference from the device's previous position.
    mouse.absolute = true;
    const glm::ivec2 position(report.x, report.y);
    const glm::ivec2 previous = mouse.lastPosition.value_or(position);
    mouse.addMovement(std::int64_t{position.x} - previous.x, std::int64_t{position.y} - previous.y);
    mouse.lastPosition = position;
}

void RawMouseHandler::addMouse(DeviceHandle device) {
    if (devices.contains(device)) {
        return;
    }
    const std::optional<DeviceInfo> info = rawInput->getDeviceInfo(device);
    if (!info) {
        getGeneralLogger()->error("Unable to determine raw device info: {}", rawInput->getLastError());
        return;
    }
    if (info->type != DeviceType::Mouse) {
        return;
    }
    std::optional<std::string> name = readDeviceName(device);
    if (!name) {
        return;
    }
    auto mouse = std::make_unique<MouseData>();
    mouse->device = device;
    mouse->name = std::move(*name);
    devices.emplace(device, mouse.get());
    mice.push_back(std::move(mouse));
    forgetValidIndices();
}

std::optional<std::string> RawMouseHandler::readDeviceName(DeviceHandle device) {
    const std::optional<std::size_t> length = rawInput->getDeviceNameLength(device);
    if (!length || *length > longestDeviceName) {
        getGeneralLogger()->error("Unable to determine raw device name length: {}",
                                  rawInput->getLastError());
        return std::nullopt;
    }
    std::vector<char> buffer(*length);
    const std::size_t written = rawInput->getDeviceName(device, buffer);
    if (written == 0 || written > buffer.size()) {
        getGeneralLogger()->error("Unable to determine raw device name: {}", rawInput->getLastError());
        return std::nullopt;
    }
    // Up to the terminating zero, and never past what was written, zero or not.
    const auto end = std::find(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(written), '\0');
    return std::string(buffer.begin(), end);
}

void RawMouseHandler::removeMouse(DeviceHandle device) {
    // No platform sends a removal for "no device"; the handle-less record stays whatever comes.
    if (device == 0) {
        return;
    }
    devices.erase(device);
    const auto mouse = std::find_if(mice.begin(), mice.end(),
                                    [device](const auto& data) { return data->device == device; });
    if (mouse != mice.end()) {
        mice.erase(mouse);
    }
}

bool RawMouseHandler::isInvalidMouseIndex(std::uint64_t index) {
    if (index < mice.size()) {
        return false;
    }
    if (std::find(warnedIndices.begin(), warnedIndices.end(), index) == warnedIndices.end()) {
        getGeneralLogger()->warn("Invalid mouse index {}/{}", index + 1, mice.size());
        warnedIndices.push_back(index);
    }
    return true;
}

// An index that a new mouse made valid warns again when it next becomes invalid.
void RawMouseHandler::forgetValidIndices() {
    std::erase_if(warnedIndices, [this](std::uint64_t index) { return index < mice.size(); });
}

std::optional<std::string> RawMouseHandler::getMouseName(std::uint64_t index) {
    if (isInvalidMouseIndex(index)) {
        fatal(getGeneralLogger(), "Tried to access invalid mouse data.");
    }
    const MouseData& mouse = *mice[index];
    if (mouse.device == 0) {
        return "Virtual Mouse";
    }
    return rawInput->getFriendlyName(mouse.device);
}
