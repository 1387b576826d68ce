#include "engine/platform/XInput2RawInput.h"

#include "engine/platform/FractionalAxis.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <cmath>
#include <cstring>
#include <fmt/format.h>
#include <unordered_map>
#include <vector>

// GLFW's X11 native access, as glfw3native.h declares it. That header also wants the RandR
// headers for its monitor calls, which nothing here uses.
extern "C" {
Display* glfwGetX11Display(void);
::Window glfwGetX11Window(GLFWwindow* window);
}

namespace {
// Xlib's default error handler ends the process, and GLFW 3.3 puts the default back each time it
// lets go of its own. So ours is installed only around our own requests, and every trap ends
// with a round trip, so that the server's answers to them all arrive while it is installed.
struct ErrorTrapRecord {
    Display* display;
    XErrorHandler previous;
    int code = Success;
    int request = 0;
    int minor = 0;
};

ErrorTrapRecord* activeTrap = nullptr;

int onXError(Display* display, XErrorEvent* error) {
    if (activeTrap == nullptr || display != activeTrap->display) {
        // Another connection's error: its owner's handler decides, as if ours were not there.
        XErrorHandler previous = activeTrap != nullptr ? activeTrap->previous : nullptr;
        return previous != nullptr ? previous(display, error) : 0;
    }
    if (activeTrap->code == Success) {
        activeTrap->code = error->error_code;
        activeTrap->request = error->request_code;
        activeTrap->minor = error->minor_code;
    }
    return 0;
}

class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) : record{display, XSetErrorHandler(onXError)} {
        activeTrap = &record;
    }
    ~ErrorTrap() {
        if (!finished) {
            awaitAnswers();
        }
        XSetErrorHandler(record.previous);
        activeTrap = nullptr;
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // The first error among the requests sent inside the trap, "" when there was none.
    std::string finish() {
        awaitAnswers();
        finished = true;
        if (record.code == Success) {
            return {};
        }
        char text[256] = {};
        XGetErrorText(record.display, record.code, text, sizeof text);
        return fmt::format("X error {} (request {}.{})", text, record.request, record.minor);
    }

private:
    // A round trip only when a request is still unanswered: a drain that asked the server nothing
    // (the usual frame) costs none.
    void awaitAnswers() {
        if (XNextRequest(record.display) - 1 > LastKnownRequestProcessed(record.display)) {
            XSync(record.display, False);
        }
    }

    ErrorTrapRecord record;
    bool finished = false;
};

enum class DeviceKind { Mouse, Injector, Keyboard, Other };

// What the backend keeps per XI device between events.
struct DeviceState {
    DeviceKind kind = DeviceKind::Other;
    bool absolute = false; // the X axis decides; pointers do not mix modes between x and y
    FractionalAxis relativeX;
    FractionalAxis relativeY;
    std::int32_t positionX = 0;
    std::int32_t positionY = 0;
    std::uint16_t heldButtons = 0; // down flags of presses taken while focused
};

DeviceType typeOf(DeviceKind kind) {
    switch (kind) {
    case DeviceKind::Mouse:
        return DeviceType::Mouse;
    case DeviceKind::Keyboard:
        return DeviceType::Keyboard;
    default:
        return DeviceType::Other;
    }
}

// XI buttons 1, 2, 3 are left, middle, right; 0 for the wheel and the rest.
std::uint16_t downFlagOf(int button) {
    switch (button) {
    case 1:
        return RawButtonFlags::leftDown;
    case 2:
        return RawButtonFlags::middleDown;
    case 3:
        return RawButtonFlags::rightDown;
    default:
        return 0;
    }
}

// Each button's up flag is the bit above its down flag.
std::uint16_t upFlagsOf(std::uint16_t downFlags) { return static_cast<std::uint16_t>(downFlags << 1); }

// An absolute axis's new position, or the one it had when the event leaves it out or is broken.
std::int32_t positionOf(const std::optional<double>& value, std::int32_t previous) {
    if (!value || !std::isfinite(*value)) {
        return previous;
    }
    return FractionalAxis::clampToCounts(std::round(*value));
}

constexpr DeviceHandle largestDeviceId = 0xFFFF; // XI device ids are 16 bits on the wire

// Some seconds of a 1000 Hz mouse: far more than a frame ever sees.
constexpr int mostEventsPerDrain = 8192;
} // namespace

struct XInput2RawInput::State {
    struct Pending {
        RawInputMessage message;
        RawMouseReport report;
    };

    Display* display = nullptr;
    ::Window window = 0;
    int opcode = 0;
    Atom injectorProperty = None;
    // Why this display offers no raw input; "" when it does.
    std::string unavailable;
    std::string lastError;
    bool focused = false;
    std::unordered_map<int, DeviceState> devices;
    // One drain's messages. A report handle is the drain's generation above its position, so a
    // handle kept past its drain is recognised as stale.
    std::vector<Pending> pending;
    std::size_t next = 0;
    std::uint32_t generation = 0;
    bool draining = false;

    State(const std::string& displayName, ::Window window);
    ~State();

    bool available();
    bool succeeded(ErrorTrap& trap);
    std::optional<int> deviceId(DeviceHandle device);
    bool isInjector(int id);
    DeviceState describe(const XIDeviceInfo& info);
    DeviceState* deviceState(int id);
    std::optional<std::string> queryName(DeviceHandle device);

    void refill();
    void handle(XEvent& event);
    void onFocus(const XFocusChangeEvent& focus);
    void onButton(const XIRawEvent& raw, bool pressed);
    void onMotion(const XIRawEvent& raw);
    void onHierarchy(const XIHierarchyEvent& hierarchy);
    std::optional<DeviceHandle> reportingDevice(int sourceId, DeviceState*& state);
    void queue(RawInputMessage::Kind kind, DeviceHandle device);
    void queueReport(const RawMouseReport& report);
    void releaseHeldButtons();
    const Pending* findReport(ReportHandle report);
};

XInput2RawInput::State::State(const std::string& displayName, ::Window window) : window(window) {
    display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (display == nullptr) {
        unavailable = fmt::format("cannot open display \"{}\"", displayName);
        return;
    }
    int event = 0;
    int error = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error)) {
        unavailable = "the X server has no XInput extension";
        return;
    }
    // 2.1 fills in sourceid for raw events and keeps them coming while another client grabs
    // the pointer.
    int major = 2;
    int minor = 1;
    ErrorTrap trap(display);
    const Status status = XIQueryVersion(display, &major, &minor);
    if (!trap.finish().empty() || status != Success || major < 2 || (major == 2 && minor < 1)) {
        unavailable = fmt::format("the X server offers XInput {}.{}, 2.1 or newer is needed",
                                  major, minor);
        return;
    }
    injectorProperty = XInternAtom(display, "XTEST Device", False);
}

XInput2RawInput::State::~State() {
    if (display != nullptr) {
        XCloseDisplay(display);
    }
}

bool XInput2RawInput::State::available() {
    lastError = unavailable;
    return unavailable.empty();
}

bool XInput2RawInput::State::succeeded(ErrorTrap& trap) {
    lastError = trap.finish();
    return lastError.empty();
}

std::optional<int> XInput2RawInput::State::deviceId(DeviceHandle device) {
    if (device == 0 || device > largestDeviceId) {
        lastError = fmt::format("no XI device has the handle {}", device);
        return std::nullopt;
    }
    return static_cast<int>(device);
}

bool XInput2RawInput::State::isInjector(int id) {
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const Status status = XIGetProperty(display, id, injectorProperty, 0, 1, False,
                                        AnyPropertyType, &type, &format, &items, &remaining, &data);
    const bool injector = status == Success && format == 8 && items > 0 && data[0] != 0;
    if (data != nullptr) {
        XFree(data);
    }
    return injector;
}

DeviceState XInput2RawInput::State::describe(const XIDeviceInfo& info) {
    DeviceState state;
    if (info.use == XISlavePointer) {
        state.kind = isInjector(info.deviceid) ? DeviceKind::Injector : DeviceKind::Mouse;
    } else if (info.use == XISlaveKeyboard) {
        state.kind = isInjector(info.deviceid) ? DeviceKind::Injector : DeviceKind::Keyboard;
    }
    for (int i = 0; i < info.num_classes; ++i) {
        const XIAnyClassInfo* any = info.classes[i];
        if (any->type != XIValuatorClass) {
            continue;
        }
        const auto* valuator = reinterpret_cast<const XIValuatorClassInfo*>(any);
        if (valuator->number == 0) {
            state.absolute = valuator->mode == XIModeAbsolute;
        }
    }
    return state;
}

// The device's state, queried from the server the first time it is met. Null when the device is
// gone, which an error of the trap around the caller tells.
DeviceState* XInput2RawInput::State::deviceState(int id) {
    if (const auto known = devices.find(id); known != devices.end()) {
        return &known->second;
    }
    int count = 0;
    XIDeviceInfo* info = XIQueryDevice(display, id, &count);
    if (info == nullptr) {
        return nullptr;
    }
    DeviceState* state = nullptr;
    if (count > 0) {
        state = &devices.emplace(id, describe(info[0])).first->second;
    }
    XIFreeDeviceInfo(info);
    return state;
}

std::optional<std::string> XInput2RawInput::State::queryName(DeviceHandle device) {
    const std::optional<int> id = deviceId(device);
    if (!id || !available()) {
        return std::nullopt;
    }
    ErrorTrap trap(display);
    int count = 0;
    XIDeviceInfo* info = XIQueryDevice(display, *id, &count);
    std::optional<std::string> name;
    if (info != nullptr && count > 0 && info[0].name != nullptr) {
        name = info[0].name;
    }
    if (info != nullptr) {
        XIFreeDeviceInfo(info);
    }
    if (!succeeded(trap) || !name) {
        if (lastError.empty()) {
            lastError = fmt::format("XI device {} has no name", device);
        }
        return std::nullopt;
    }
    return name;
}

void XInput2RawInput::State::refill() {
    pending.clear();
    next = 0;
    ++generation;
    ErrorTrap trap(display);
    // Everything that has arrived, read by as many socket reads as it takes (one read holds a
    // few hundred events), up to a bound: a drain must end even under a flood of reports.
    for (int handled = 0; handled < mostEventsPerDrain && XPending(display) > 0; ++handled) {
        XEvent event;
        XNextEvent(display, &event);
        handle(event);
    }
    // A device that vanished between its event and our question about it; its removal follows.
    lastError = trap.finish();
}

void XInput2RawInput::State::handle(XEvent& event) {
    if (event.type == FocusIn || event.type == FocusOut) {
        onFocus(event.xfocus);
        return;
    }
    XGenericEventCookie& cookie = event.xcookie;
    if (cookie.type != GenericEvent || cookie.extension != opcode ||
        !XGetEventData(display, &cookie)) {
        return;
    }
    switch (cookie.evtype) {
    case XI_RawMotion:
        onMotion(*static_cast<const XIRawEvent*>(cookie.data));
        break;
    case XI_RawButtonPress:
    case XI_RawButtonRelease:
        onButton(*static_cast<const XIRawEvent*>(cookie.data), cookie.evtype == XI_RawButtonPress);
        break;
    case XI_HierarchyChanged:
        onHierarchy(*static_cast<const XIHierarchyEvent*>(cookie.data));
        break;
    default:
        break;
    }
    XFreeEventData(display, &cookie);
}

void XInput2RawInput::State::onFocus(const XFocusChangeEvent& focus) {
    // Grab and ungrab notices leave the focus where it is; NotifyPointer means the focus follows
    // the pointer (no window has it), which is not focus on the window.
    if (focus.window != window || focus.mode == NotifyGrab || focus.mode == NotifyUngrab ||
        focus.detail == NotifyPointer) {
        return;
    }
    const bool nowFocused = focus.type == FocusIn;
    if (focused && !nowFocused) {
        releaseHeldButtons();
    }
    focused = nowFocused;
}

// Which record a raw event belongs to: the slave's own for a mouse, the handle-less one (0) for
// an injector; nullopt for anything else (a keyboard's mouse keys, a master, a vanished device).
std::optional<DeviceHandle> XInput2RawInput::State::reportingDevice(int sourceId,
                                                                    DeviceState*& state) {
    state = deviceState(sourceId);
    if (state == nullptr) {
        return std::nullopt;
    }
    if (state->kind == DeviceKind::Mouse) {
        return static_cast<DeviceHandle>(sourceId);
    }
    if (state->kind == DeviceKind::Injector) {
        return DeviceHandle{0};
    }
    return std::nullopt;
}

void XInput2RawInput::State::onButton(const XIRawEvent& raw, bool pressed) {
    const std::uint16_t down = downFlagOf(raw.detail);
    if (!focused || down == 0) {
        return;
    }
    DeviceState* state = nullptr;
    const std::optional<DeviceHandle> device = reportingDevice(raw.sourceid, state);
    if (!device) {
        return;
    }
    if (pressed) {
        state->heldButtons |= down;
    } else {
        state->heldButtons &= static_cast<std::uint16_t>(~down);
    }
    RawMouseReport report;
    report.device = *device;
    report.buttonFlags = pressed ? down : upFlagsOf(down);
    queueReport(report);
}

void XInput2RawInput::State::onMotion(const XIRawEvent& raw) {
    if (!focused) {
        return;
    }
    // raw_values holds one value per set bit of the mask, lowest bit first: axes 0 and 1 lead.
    std::optional<double> axis[2];
    const double* value = raw.raw_values;
    for (int bit = 0; bit < 2 && bit < raw.valuators.mask_len * 8; ++bit) {
        if (XIMaskIsSet(raw.valuators.mask, bit)) {
            axis[bit] = *value++;
        }
    }
    DeviceState* state = nullptr;
    const std::optional<DeviceHandle> device =
        axis[0] || axis[1] ? reportingDevice(raw.sourceid, state) : std::nullopt;
    if (!device) {
        return;
    }
    RawMouseReport report;
    report.device = *device;
    report.absolute = state->absolute;
    if (state->absolute) {
        state->positionX = positionOf(axis[0], state->positionX);
        state->positionY = positionOf(axis[1], state->positionY);
        report.x = state->positionX;
        report.y = state->positionY;
    } else {
        report.x = state->relativeX.add(axis[0].value_or(0.0));
        report.y = state->relativeY.add(axis[1].value_or(0.0));
        if (report.x == 0 && report.y == 0) {
            return; // a fraction of a count, carried to the next event
        }
    }
    queueReport(report);
}

void XInput2RawInput::State::onHierarchy(const XIHierarchyEvent& hierarchy) {
    for (int i = 0; i < hierarchy.num_info; ++i) {
        const XIHierarchyInfo& info = hierarchy.info[i];
        const auto device = static_cast<DeviceHandle>(info.deviceid);
        // Ids are reused: what was known about the id no longer holds either way.
        if (info.flags & (XISlaveRemoved | XIDeviceDisabled)) {
            devices.erase(info.deviceid);
            queue(RawInputMessage::Kind::DeviceRemoval, device);
        } else if (info.flags & (XISlaveAdded | XIDeviceEnabled)) {
            devices.erase(info.deviceid);
            queue(RawInputMessage::Kind::DeviceArrival, device);
        }
    }
}

void XInput2RawInput::State::queue(RawInputMessage::Kind kind, DeviceHandle device) {
    pending.push_back({{kind, device, 0}, {}});
}

void XInput2RawInput::State::queueReport(const RawMouseReport& report) {
    const ReportHandle handle = (ReportHandle{generation} << 32) | pending.size();
    pending.push_back({{RawInputMessage::Kind::Input, 0, handle}, report});
}

void XInput2RawInput::State::releaseHeldButtons() {
    for (auto& [id, state] : devices) {
        if (state.heldButtons == 0) {
            continue;
        }
        RawMouseReport report;
        report.device = state.kind == DeviceKind::Injector ? 0 : static_cast<DeviceHandle>(id);
        report.buttonFlags = upFlagsOf(state.heldButtons);
        state.heldButtons = 0;
        queueReport(report);
    }
}

const XInput2RawInput::State::Pending* XInput2RawInput::State::findReport(ReportHandle report) {
    const std::size_t index = report & 0xFFFFFFFFu;
    if (report >> 32 != generation || index >= pending.size() ||
        pending[index].message.kind != RawInputMessage::Kind::Input) {
        lastError = fmt::format("the report {:#x} is gone: reports live for one drain", report);
        return nullptr;
    }
    lastError.clear();
    return &pending[index];
}

XInput2RawInput::XInput2RawInput(const std::string& displayName, unsigned long window)
    : state(std::make_unique<State>(displayName, window)) {}

XInput2RawInput::~XInput2RawInput() = default;

std::unique_ptr<RawInput> XInput2RawInput::forWindow(GLFWwindow* window) {
    // GLFW's own connection is only asked for its name: its events stay GLFW's.
    Display* glfwDisplay = glfwGetX11Display();
    const std::string displayName = glfwDisplay != nullptr ? XDisplayString(glfwDisplay) : "";
    return std::make_unique<XInput2RawInput>(displayName, glfwGetX11Window(window));
}

std::optional<std::size_t> XInput2RawInput::getDeviceCount() {
    if (!state->available()) {
        return std::nullopt;
    }
    ErrorTrap trap(state->display);
    int count = 0;
    XIDeviceInfo* info = XIQueryDevice(state->display, XIAllDevices, &count);
    if (info != nullptr) {
        XIFreeDeviceInfo(info);
    }
    if (!state->succeeded(trap) || info == nullptr) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(count);
}

std::optional<std::size_t> XInput2RawInput::getDeviceList(std::span<DeviceListEntry> list) {
    if (!state->available()) {
        return std::nullopt;
    }
    ErrorTrap trap(state->display);
    int count = 0;
    XIDeviceInfo* info = XIQueryDevice(state->display, XIAllDevices, &count);
    const auto devices = static_cast<std::size_t>(count);
    if (info != nullptr && devices <= list.size()) {
        for (std::size_t i = 0; i < devices; ++i) {
            const auto known = state->devices.try_emplace(info[i].deviceid, state->describe(info[i]));
            list[i] = {static_cast<DeviceHandle>(info[i].deviceid), typeOf(known.first->second.kind)};
        }
    }
    if (info != nullptr) {
        XIFreeDeviceInfo(info);
    }
    if (!state->succeeded(trap) || info == nullptr) {
        return std::nullopt;
    }
    if (devices > list.size()) {
        state->lastError = fmt::format("{} devices do not fit a list of {}", devices, list.size());
        return std::nullopt;
    }
    return devices;
}

std::optional<DeviceInfo> XInput2RawInput::getDeviceInfo(DeviceHandle device) {
    const std::optional<int> id = state->deviceId(device);
    if (!id || !state->available()) {
        return std::nullopt;
    }
    ErrorTrap trap(state->display);
    const DeviceState* known = state->deviceState(*id);
    if (!state->succeeded(trap) || known == nullptr) {
        state->devices.erase(*id);
        if (state->lastError.empty()) {
            state->lastError = fmt::format("no XI device {}", device);
        }
        return std::nullopt;
    }
    return DeviceInfo{typeOf(known->kind)};
}

std::optional<std::size_t> XInput2RawInput::getDeviceNameLength(DeviceHandle device) {
    const std::optional<std::string> name = state->queryName(device);
    if (!name) {
        return std::nullopt;
    }
    return name->size() + 1;
}

std::size_t XInput2RawInput::getDeviceName(DeviceHandle device, std::span<char> name) {
    const std::optional<std::string> text = state->queryName(device);
    if (!text) {
        return 0;
    }
    if (text->size() + 1 > name.size()) {
        state->lastError = fmt::format("the name of XI device {} needs {} characters, not {}",
                                       device, text->size() + 1, name.size());
        return 0;
    }
    std::memcpy(name.data(), text->c_str(), text->size() + 1);
    return text->size() + 1;
}

std::optional<std::string> XInput2RawInput::getFriendlyName(DeviceHandle device) {
    // XI names are the ones people know their devices by already ("Logitech USB Optical Mouse").
    std::optional<std::string> name = state->queryName(device);
    state->lastError.clear();
    return name;
}

bool XInput2RawInput::registerMice() {
    if (!state->available()) {
        return false;
    }
    unsigned char rawMask[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(rawMask, XI_RawMotion);
    XISetMask(rawMask, XI_RawButtonPress);
    XISetMask(rawMask, XI_RawButtonRelease);
    unsigned char hierarchyMask[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(hierarchyMask, XI_HierarchyChanged);
    // The hierarchy can only be selected for every device: for the masters the server answers
    // BadValue.
    XIEventMask masks[] = {{XIAllMasterDevices, sizeof rawMask, rawMask},
                           {XIAllDevices, sizeof hierarchyMask, hierarchyMask}};
    ErrorTrap trap(state->display);
    XISelectEvents(state->display, DefaultRootWindow(state->display), masks, 2);
    // Focus changes of the window, selected before the focus is asked, so that none is missed.
    XSelectInput(state->display, state->window, FocusChangeMask);
    ::Window focus = None;
    int revertTo = 0;
    XGetInputFocus(state->display, &focus, &revertTo);
    if (!state->succeeded(trap)) {
        return false;
    }
    state->focused = focus == state->window;
    return true;
}

bool XInput2RawInput::unregisterMice() {
    if (!state->available()) {
        return false;
    }
    unsigned char none[XIMaskLen(XI_LASTEVENT)] = {};
    XIEventMask masks[] = {{XIAllMasterDevices, sizeof none, none},
                           {XIAllDevices, sizeof none, none}};
    ErrorTrap trap(state->display);
    XISelectEvents(state->display, DefaultRootWindow(state->display), masks, 2);
    XSelectInput(state->display, state->window, NoEventMask);
    return state->succeeded(trap);
}

std::optional<RawInputMessage> XInput2RawInput::nextMessage() {
    state->lastError.clear();
    if (state->next == state->pending.size()) {
        if (state->draining || !state->unavailable.empty()) {
            state->draining = false; // this drain is over; the next one reads the connection
            return std::nullopt;
        }
        state->refill();
        if (state->pending.empty()) {
            return std::nullopt;
        }
        state->draining = true;
    }
    return state->pending[state->next++].message;
}

std::optional<std::size_t> XInput2RawInput::getReportSize(ReportHandle report) {
    if (state->findReport(report) == nullptr) {
        return std::nullopt;
    }
    return sizeof(RawMouseReport);
}

bool XInput2RawInput::getReport(ReportHandle report, RawMouseReport& out) {
    const State::Pending* pending = state->findReport(report);
    if (pending == nullptr) {
        return false;
    }
    out = pending->report;
    return true;
}

const std::string& XInput2RawInput::getLastError() const { return state->lastError; }
