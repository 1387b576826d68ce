#include "tests/support/ScriptedRawInput.h"

#include <algorithm>
#include <cstring>

void ScriptedRawInput::plug(Device device) { devices.push_back(std::move(device)); }

void ScriptedRawInput::unplug(DeviceHandle handle) {
    std::erase_if(devices, [handle](const Device& device) { return device.handle == handle; });
}

void ScriptedRawInput::arrive(Device device) {
    const DeviceHandle handle = device.handle;
    plug(std::move(device));
    queueArrival(handle);
}

void ScriptedRawInput::leave(DeviceHandle handle) {
    unplug(handle);
    queueRemoval(handle);
}

void ScriptedRawInput::queueArrival(DeviceHandle handle) {
    messages.push_back({RawInputMessage::Kind::DeviceArrival, handle, 0});
}

void ScriptedRawInput::queueRemoval(DeviceHandle handle) {
    messages.push_back({RawInputMessage::Kind::DeviceRemoval, handle, 0});
}

ReportHandle ScriptedRawInput::queueReport(const RawMouseReport& report, std::size_t size) {
    reports.push_back({report, size});
    const ReportHandle handle = reports.size();
    messages.push_back({RawInputMessage::Kind::Input, 0, handle});
    return handle;
}

void ScriptedRawInput::fail(Call call, std::string errorText) {
    failures[call] = std::move(errorText);
}

void ScriptedRawInput::succeed(Call call) { failures.erase(call); }

bool ScriptedRawInput::failing(Call call) {
    const auto failure = failures.find(call);
    return setError(failure == failures.end() ? std::string() : failure->second);
}

bool ScriptedRawInput::setError(std::string text) {
    lastError = std::move(text);
    return !lastError.empty();
}

const ScriptedRawInput::Device* ScriptedRawInput::find(DeviceHandle handle) const {
    const auto device = std::find_if(devices.begin(), devices.end(),
                                     [handle](const Device& d) { return d.handle == handle; });
    return device == devices.end() ? nullptr : &*device;
}

const ScriptedRawInput::Device* ScriptedRawInput::answering(Call call, DeviceHandle handle) {
    if (failing(call)) {
        return nullptr;
    }
    const Device* device = find(handle);
    if (device == nullptr) {
        setError("no such device");
    }
    return device;
}

std::optional<std::size_t> ScriptedRawInput::getDeviceCount() {
    if (failing(Call::DeviceCount)) {
        return std::nullopt;
    }
    return devices.size();
}

std::optional<std::size_t> ScriptedRawInput::getDeviceList(std::span<DeviceListEntry> list) {
    if (failing(Call::DeviceList)) {
        return std::nullopt;
    }
    if (list.size() < devices.size()) {
        setError("the device list does not fit");
        return std::nullopt;
    }
    for (std::size_t i = 0; i < devices.size(); ++i) {
        list[i] = {devices[i].handle, devices[i].type};
    }
    return devices.size();
}

std::optional<DeviceInfo> ScriptedRawInput::getDeviceInfo(DeviceHandle handle) {
    const Device* device = answering(Call::DeviceInfo, handle);
    if (device == nullptr) {
        return std::nullopt;
    }
    return DeviceInfo{device->type};
}

std::optional<std::size_t> ScriptedRawInput::getDeviceNameLength(DeviceHandle handle) {
    const Device* device = answering(Call::DeviceNameLength, handle);
    if (device == nullptr) {
        return std::nullopt;
    }
    return device->nameLength.value_or(device->name.size() + 1);
}

std::size_t ScriptedRawInput::getDeviceName(DeviceHandle handle, std::span<char> name) {
    const Device* device = answering(Call::DeviceName, handle);
    if (device == nullptr) {
        return 0;
    }
    if (device->name.size() + 1 > name.size()) {
        setError("the name does not fit");
        return 0;
    }
    std::memcpy(name.data(), device->name.c_str(), device->name.size() + 1);
    return device->name.size() + 1;
}

std::optional<std::string> ScriptedRawInput::getFriendlyName(DeviceHandle handle) {
    if (failing(Call::FriendlyName)) {
        return std::nullopt;
    }
    const Device* device = find(handle);
    return device == nullptr ? std::nullopt : device->friendlyName;
}

bool ScriptedRawInput::registerMice() {
    if (failing(Call::Register)) {
        return false;
    }
    registered = true;
    return true;
}

bool ScriptedRawInput::unregisterMice() {
    if (failing(Call::Unregister)) {
        return false;
    }
    registered = false;
    return true;
}

std::optional<RawInputMessage> ScriptedRawInput::nextMessage() {
    setError({});
    if (!registered || messages.empty()) {
        return std::nullopt;
    }
    const RawInputMessage message = messages.front();
    messages.pop_front();
    return message;
}

std::optional<std::size_t> ScriptedRawInput::getReportSize(ReportHandle report) {
    if (failing(Call::ReportSize)) {
        return std::nullopt;
    }
    if (report == 0 || report > reports.size()) {
        setError("no such report");
        return std::nullopt;
    }
    return reports[report - 1].size;
}

bool ScriptedRawInput::getReport(ReportHandle report, RawMouseReport& out) {
    if (failing(Call::Report)) {
        return false;
    }
    if (report == 0 || report > reports.size()) {
        return !setError("no such report");
    }
    out = reports[report - 1].report;
    return true;
}
