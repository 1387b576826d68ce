#pragma once

#include "engine/platform/RawInput.h"

#include <deque>
#include <map>
#include <vector>

// A raw-input platform that tests drive: devices plugged and unplugged, arrival and removal
// notices, reports with any flags, and any call made to fail with an error text, so that every
// road of the raw mouse handler can be walked without a display.
class ScriptedRawInput : public RawInput {
public:
    enum class Call {
        DeviceCount,
        DeviceList,
        DeviceInfo,
        DeviceNameLength,
        DeviceName,
        FriendlyName,
        Register,
        Unregister,
        ReportSize,
        Report,
    };

    struct Device {
        DeviceHandle handle = 0;
        DeviceType type = DeviceType::Mouse;
        std::string name;
        std::optional<std::string> friendlyName;
        // What getDeviceNameLength answers when set, in place of the name's own size: a platform
        // that contradicts itself between the two name calls.
        std::optional<std::size_t> nameLength;
    };

    // The device set that the list, info and name calls answer from. No notice is queued.
    void plug(Device device);
    void unplug(DeviceHandle handle);
    // A device that comes or goes while the game runs: the set changes and the notice is queued.
    void arrive(Device device);
    void leave(DeviceHandle handle);

    // Queued messages are delivered while the mice are registered, as the platform's are.
    void queueArrival(DeviceHandle handle);
    void queueRemoval(DeviceHandle handle);
    // size is what getReportSize answers: anything but sizeof(RawMouseReport) is a report of
    // another shape.
    ReportHandle queueReport(const RawMouseReport& report,
                             std::size_t size = sizeof(RawMouseReport));

    // From now on every call of that kind fails with the error text, until succeed.
    void fail(Call call, std::string errorText);
    void succeed(Call call);

    bool isRegistered() const { return registered; }
    std::size_t queuedMessages() const { return messages.size(); }

    std::optional<std::size_t> getDeviceCount() override;
    std::optional<std::size_t> getDeviceList(std::span<DeviceListEntry> list) override;
    std::optional<DeviceInfo> getDeviceInfo(DeviceHandle device) override;
    std::optional<std::size_t> getDeviceNameLength(DeviceHandle device) override;
    std::size_t getDeviceName(DeviceHandle device, std::span<char> name) override;
    std::optional<std::string> getFriendlyName(DeviceHandle device) override;
    bool registerMice() override;
    bool unregisterMice() override;
    std::optional<RawInputMessage> nextMessage() override;
    std::optional<std::size_t> getReportSize(ReportHandle report) override;
    bool getReport(ReportHandle report, RawMouseReport& out) override;
    const std::string& getLastError() const override { return lastError; }

private:
    struct QueuedReport {
        RawMouseReport report;
        std::size_t size;
    };

    // Sets the last error as the call's outcome: true when the call is scripted to fail.
    bool failing(Call call);
    bool setError(std::string text);
    const Device* find(DeviceHandle handle) const;
    // The device a call of that kind asks about; null, with the error set, when the call is
    // scripted to fail or no such device is plugged in.
    const Device* answering(Call call, DeviceHandle handle);

    std::vector<Device> devices;
    std::deque<RawInputMessage> messages;
    std::vector<QueuedReport> reports; // a report's handle is its position + 1
    std::map<Call, std::string> failures;
    std::string lastError;
    bool registered = false;
};
