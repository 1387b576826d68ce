#pragma once

#include <memory>
#include <optional>
#include <string>

// Drives the tests' X display through a connection of its own: XTEST input on the core pointer,
// on a named device and on keys, the keyboard focus, plain windows and the device hierarchy.
// X's headers stay in its .cpp: their Window would clash with the game's.
class XTestDriver {
public:
    XTestDriver(); // on $DISPLAY
    ~XTestDriver();
    XTestDriver(const XTestDriver&) = delete;
    XTestDriver& operator=(const XTestDriver&) = delete;

    bool isOpen() const;
    std::string displayName() const;
    // Waits until everything sent has been processed by the server.
    void sync();

    // A small mapped window, ready to take the focus.
    unsigned long createWindow();
    void destroyWindow(unsigned long window);
    void focus(unsigned long window); // 0: no window has the focus
    std::string windowTitle(unsigned long window);
    // The size the window tells the window manager it must keep (minimum equals maximum), if any.
    std::optional<std::pair<int, int>> fixedSize(unsigned long window);

    // The XI id of the device of that name, 0 when there is none.
    int deviceId(const std::string& name);
    bool isEnabled(int device);
    void setEnabled(int device, bool enabled);
    // Adds a master "<name> pointer" with its keyboard and XTEST slaves; 0 when it fails.
    int addMaster(const std::string& name);
    void attach(int slave, int master);
    // The master goes; its slaves return to the core master.
    void removeMaster(int masterPointer);

    void moveCorePointer(int dx, int dy);
    void pressCoreButton(unsigned button, bool down);
    // Device-specific XTEST input on one device, opened by name (the XInput 1 way XTEST takes).
    bool openDevice(const std::string& name);
    void moveDevice(int dx, int dy);
    void pressDeviceButton(unsigned button, bool down);
    void pressKey(unsigned long keysym, bool down);

private:
    struct State;
    std::unique_ptr<State> state;
};
