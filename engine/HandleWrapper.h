#pragma once

#include "engine/Logging.h"
#include "engine/NonCopyable.h"

#include <utility>

// True while GLFW is initialised (set and cleared by GLLibraries). Owners that outlive it (the
// process-wide shader set and screen quad, destroyed at exit) then drop their handles instead of
// calling into a library that is gone.
inline bool gGlContextAlive = false;

// The one owner of one handle (a GL name, a window pointer). Null is the empty value: 0 for most
// GL names, all bits set for framebuffers (0 is the window's own framebuffer), null for a window.
template <typename T, T Null>
class HandleWrapper : public NonCopyable {
public:
    static constexpr T nullHandle = Null;

    explicit HandleWrapper(T handle = Null) : handle(handle) {}
    HandleWrapper(HandleWrapper&& other) noexcept : handle(std::exchange(other.handle, Null)) {}
    HandleWrapper& operator=(HandleWrapper&&) = delete;

    // The release operation. Each owner overrides it and calls releaseHandle() from its own
    // destructor, so the override of the class being destroyed is the one that runs.
    virtual void destroy() {}

    // Logs "Accessing invalid handle." when empty and goes on: GL's handling of the empty value
    // decides what happens next.
    void checkValid() const {
        if (handle == Null) {
            getGeneralLogger()->error("Accessing invalid handle.");
        }
    }

    T getHandle() const {
        checkValid();
        return handle;
    }

    bool isEmpty() const { return handle == Null; }

protected:
    ~HandleWrapper() = default;

    // The release rule on destruction: an empty owner makes no call and logs nothing.
    void releaseHandle() {
        if (handle != Null && gGlContextAlive) {
            destroy();
        }
        handle = Null;
    }

    T handle;
};
