#include "tests/engine/platform/XTestDriver.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <chrono>
#include <cstring>
#include <thread>

struct XTestDriver::State {
    Display* display = nullptr;
    XDevice* device = nullptr;
};

XTestDriver::XTestDriver() : state(std::make_unique<State>()) {
    state->display = XOpenDisplay(nullptr);
    if (state->display != nullptr) {
        int major = 2;
        int minor = 2;
        XIQueryVersion(state->display, &major, &minor);
    }
}

XTestDriver::~XTestDriver() {
    if (state->device != nullptr) {
        XCloseDevice(state->display, state->device);
    }
    if (state->display != nullptr) {
        XCloseDisplay(state->display);
    }
}

bool XTestDriver::isOpen() const { return state->display != nullptr; }

std::string XTestDriver::displayName() const { return DisplayString(state->display); }

void XTestDriver::sync() { XSync(state->display, False); }

unsigned long XTestDriver::createWindow() {
    Display* display = state->display;
    const ::Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 64, 64, 0, 0, 0);
    XMapWindow(display, window);
    // No window manager under Xvfb: the map takes effect at once, but only once processed.
    for (int tries = 0; tries < 500; ++tries) {
        XWindowAttributes attributes;
        XGetWindowAttributes(display, window, &attributes);
        if (attributes.map_state == IsViewable) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return window;
}

void XTestDriver::destroyWindow(unsigned long window) {
    XDestroyWindow(state->display, window);
    sync();
}

void XTestDriver::focus(unsigned long window) {
    XSetInputFocus(state->display, window == 0 ? None : window, RevertToNone, CurrentTime);
    sync();
}

std::string XTestDriver::windowTitle(unsigned long window) {
    char* name = nullptr;
    std::string title;
    if (XFetchName(state->display, window, &name) && name != nullptr) {
        title = name;
        XFree(name);
    }
    return title;
}

std::optional<std::pair<int, int>> XTestDriver::fixedSize(unsigned long window) {
    XSizeHints hints = {};
    long supplied = 0;
    if (!XGetWMNormalHints(state->display, window, &hints, &supplied) ||
        (hints.flags & (PMinSize | PMaxSize)) != (PMinSize | PMaxSize) ||
        hints.min_width != hints.max_width || hints.min_height != hints.max_height) {
        return std::nullopt;
    }
    return std::pair{hints.min_width, hints.min_height};
}

int XTestDriver::deviceId(const std::string& name) {
    int count = 0;
    XIDeviceInfo* info = XIQueryDevice(state->display, XIAllDevices, &count);
    int id = 0;
    for (int i = 0; i < count; ++i) {
        if (name == info[i].name) {
            id = info[i].deviceid;
        }
    }
    XIFreeDeviceInfo(info);
    return id;
}

bool XTestDriver::isEnabled(int device) {
    int count = 0;
    XIDeviceInfo* info = XIQueryDevice(state->display, device, &count);
    const bool enabled = info != nullptr && count > 0 && info[0].enabled;
    if (info != nullptr) {
        XIFreeDeviceInfo(info);
    }
    return enabled;
}

void XTestDriver::setEnabled(int device, bool enabled) {
    const Atom property = XInternAtom(state->display, "Device Enabled", False);
    unsigned char value = enabled ? 1 : 0;
    XIChangeProperty(state->display, device, property, XA_INTEGER, 8, PropModeReplace, &value, 1);
    sync();
}

int XTestDriver::addMaster(const std::string& name) {
    XIAddMasterInfo add = {XIAddMaster, const_cast<char*>(name.c_str()), True, True};
    XIChangeHierarchy(state->display, reinterpret_cast<XIAnyHierarchyChangeInfo*>(&add), 1);
    sync();
    return deviceId(name + " pointer");
}

void XTestDriver::attach(int slave, int master) {
    XIAttachSlaveInfo attach = {XIAttachSlave, slave, master};
    XIChangeHierarchy(state->display, reinterpret_cast<XIAnyHierarchyChangeInfo*>(&attach), 1);
    sync();
}

void XTestDriver::removeMaster(int masterPointer) {
    XIRemoveMasterInfo remove = {XIRemoveMaster, masterPointer, XIAttachToMaster,
                                 deviceId("Virtual core pointer"),
                                 deviceId("Virtual core keyboard")};
    XIChangeHierarchy(state->display, reinterpret_cast<XIAnyHierarchyChangeInfo*>(&remove), 1);
    sync();
}

void XTestDriver::moveCorePointer(int dx, int dy) {
    XTestFakeRelativeMotionEvent(state->display, dx, dy, CurrentTime);
}

void XTestDriver::pressCoreButton(unsigned button, bool down) {
    XTestFakeButtonEvent(state->display, button, down ? True : False, CurrentTime);
}

bool XTestDriver::openDevice(const std::string& name) {
    const int id = deviceId(name);
    if (id != 0) {
        state->device = XOpenDevice(state->display, static_cast<XID>(id));
    }
    return state->device != nullptr;
}

void XTestDriver::moveDevice(int dx, int dy) {
    int axes[2] = {dx, dy};
    XTestFakeDeviceMotionEvent(state->display, state->device, True, 0, axes, 2, CurrentTime);
}

void XTestDriver::pressDeviceButton(unsigned button, bool down) {
    XTestFakeDeviceButtonEvent(state->display, state->device, button, down ? True : False, nullptr,
                               0, CurrentTime);
}

void XTestDriver::pressKey(unsigned long keysym, bool down) {
    const KeyCode code = XKeysymToKeycode(state->display, keysym);
    XTestFakeKeyEvent(state->display, code, down ? True : False, CurrentTime);
    sync();
}
