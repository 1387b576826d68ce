#pragma once

#include "engine/Logging.h"
#include "graphics/gl/GLHandleWrapper.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

// The name of a buffer target's GL constant for the buffer log lines; "UNKNOWN" for the rest.
std::string bufferTargetName(GLenum target);

// Owner of one GL buffer with a CPU copy of what it last uploaded (a mesh reads its index count
// from that copy when it draws). Every operation traces on "GL"; those lines are formatted only
// while trace is on, so a per-frame bind costs one level test.
template <typename T>
class VertexBufferObject : public GLHandleWrapper<0> {
public:
    explicit VertexBufferObject(GLenum target = GL_ARRAY_BUFFER) : target(target) {
        glGenBuffers(1, &handle);
        trace("Created {} Buffer {}");
    }
    VertexBufferObject(VertexBufferObject&&) noexcept = default;
    ~VertexBufferObject() { releaseHandle(); }

    void destroy() override {
        checkValid();
        glDeleteBuffers(1, &handle);
        trace("Deleted {} Buffer {}");
    }

    void bind() const {
        checkValid();
        trace("Binding {} Buffer {}");
        glBindBuffer(target, handle);
    }

    void unbind() const {
        trace("Unbinding {} Buffer {}");
        glBindBuffer(target, 0);
    }

    // Static geometry: uploaded once. The buffer stays bound.
    void setData(std::vector<T> values) {
        data = std::move(values);
        bind();
        trace("Uploading data to {} Buffer {}");
        glBufferData(target, static_cast<GLsizeiptr>(data.size() * sizeof(T)), data.data(),
                     GL_STATIC_DRAW);
    }

    void setData(const T* first, const T* last) { setData(std::vector<T>(first, last)); }

    // Storage for a buffer rewritten with update() while it lives (the text quads), on the buffer
    // the caller has bound. New elements are zero.
    void allocate(std::size_t count) {
        data.assign(count, T{});
        glBufferData(target, static_cast<GLsizeiptr>(count * sizeof(T)), nullptr, GL_DYNAMIC_DRAW);
    }

    // Overwrites the whole allocated range from values, which holds at least that many elements.
    void update(const T* values) {
        std::copy_n(values, data.size(), data.begin());
        bind();
        trace("Uploading data to {} Buffer {}");
        glBufferSubData(target, 0, static_cast<GLsizeiptr>(data.size() * sizeof(T)), data.data());
    }

    const std::vector<T>& getData() const { return data; }

private:
    void trace(fmt::format_string<std::string, GLuint> format) const {
        const Logger& logger = getGlLogger();
        if (logger->should_log(spdlog::level::trace)) {
            logger->trace(format, bufferTargetName(target), GLuint{handle});
        }
    }

    GLenum target;
    std::vector<T> data;
};
