#pragma once

#include "engine/platform/RawInput.h"

#include <memory>

struct GLFWwindow;

// Raw mouse input on X11 through XInput 2.1 or newer.
// - Its own connection to the window's display: draining GLFW's connection would eat GLFW's
//   events. Nothing of X shows outside XInput2RawInput.cpp.
// - Raw motion and buttons from every master pointer, attributed to the slave that produced them
//   (sourceid): the slave pointers are the mice and a device handle is its XI device id.
//   Selecting for every device instead would deliver each event twice, once per level.
// - Unaccelerated valuators of axes 0 and 1; relative axes keep their fractions per device,
//   absolute axes report the position.
// - Buttons 1, 2, 3 are left, middle, right; the wheel (4 to 7) and further buttons are ignored.
// - XTEST devices inject: their input carries no device (handle 0), and they are not mice.
// - Slaves added or enabled arrive, slaves removed or disabled leave.
// - Input is taken only while the window has the keyboard focus, like the foreground window's;
//   buttons held when the focus goes are reported released, so none stays stuck down.
// - X errors of ours go to a handler of ours and become the last error, never the default
//   handler that ends the process.
class XInput2RawInput : public RawInput {
public:
    // displayName as XOpenDisplay takes it ("" for $DISPLAY); window is the X window whose
    // focus gates the input. A display that cannot be opened or lacks XInput 2.1 leaves every
    // call failing with the reason.
    XInput2RawInput(const std::string& displayName, unsigned long window);
    ~XInput2RawInput() override;
    XInput2RawInput(const XInput2RawInput&) = delete;
    XInput2RawInput& operator=(const XInput2RawInput&) = delete;

    // The backend for a GLFW window, on the display GLFW uses.
    static std::unique_ptr<RawInput> forWindow(GLFWwindow* window);

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
    const std::string& getLastError() const override;

private:
    struct State;
    std::unique_ptr<State> state;
};
