#pragma once

#include "engine/window/View.h"

// The rectangle of a view in units of T: pixels, or fractions of the window.
template <typename T>
class ViewportView : public View {
public:
    ViewportView(T x, T y, T width, T height) : x(x), y(y), width(width), height(height) {}

    T x;
    T y;
    T width;
    T height;
};
