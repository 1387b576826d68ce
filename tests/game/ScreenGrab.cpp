#include "tests/game/ScreenGrab.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>


namespace {
// A window that goes away between two requests must fail the request, not end the test.
int ignoreError(Display*, XErrorEvent*) { return 0; }

// The tests poll the screen while the game draws: the common 32-bit layout is read straight from
// the image's rows, which leaves the game the processor time that a call a pixel would take.
unsigned long pixelAt(XImage& image, int x, int y) {
    if (image.bits_per_pixel == 32 && image.byte_order == LSBFirst) {
        const auto* bytes =
            reinterpret_cast<const unsigned char*>(image.data + y * image.bytes_per_line + x * 4);
        return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
               (static_cast<unsigned long>(bytes[3]) << 24);
    }
    return XGetPixel(&image, x, y);
}
} // namespace

struct ScreenGrab::State {
    Display* display = nullptr;
};

ScreenGrab::ScreenGrab() : state(std::make_unique<State>()) {
    state->display = XOpenDisplay(nullptr);
    XSetErrorHandler(ignoreError);
}

ScreenGrab::~ScreenGrab() {
    if (state->display != nullptr) {
        XCloseDisplay(state->display);
    }
}

bool ScreenGrab::isOpen() const { return state->display != nullptr; }

unsigned long ScreenGrab::findWindow(const std::string& title) {
    Display* display = state->display;
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* children = nullptr;
    unsigned count = 0;
    unsigned long found = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0) {
        return 0;
    }
    for (unsigned i = 0; i < count && found == 0; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes;
        if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
            if (title == name && XGetWindowAttributes(display, children[i], &attributes) != 0 &&
                attributes.map_state == IsViewable) {
                found = children[i];
            }
            XFree(name);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

std::optional<Picture> ScreenGrab::grab(unsigned long window) {
    Display* display = state->display;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0 || attributes.map_state != IsViewable) {
        return std::nullopt;
    }
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return std::nullopt;
    }
    Picture picture;
    picture.width = attributes.width;
    picture.height = attributes.height;
    picture.rgb.resize(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 3);
    std::size_t offset = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const unsigned long pixel = pixelAt(*image, x, y);
            picture.rgb[offset++] = static_cast<std::uint8_t>((pixel & image->red_mask) >> 16);
            picture.rgb[offset++] = static_cast<std::uint8_t>((pixel & image->green_mask) >> 8);
            picture.rgb[offset++] = static_cast<std::uint8_t>(pixel & image->blue_mask);
        }
    }
    XDestroyImage(image);
    return picture;
}
