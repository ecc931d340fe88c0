// Point and Rect: the integer pixel geometry shared by the whole toolkit.
#pragma once

#include <cstdint>

// Window or surface coordinates: origin top-left, v grows downwards.
struct Point {
    int32_t h = 0;
    int32_t v = 0;
};

// Whether right and bottom are inside depends on the operation: fills, text boxes and copies
// treat them as outside; outlines and hit tests include all four edges.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    Rect offset(int32_t dh, int32_t dv) const { return {left + dh, top + dv, right + dh, bottom + dv}; }
};

inline bool operator==(const Point& a, const Point& b) { return a.h == b.h && a.v == b.v; }
inline bool operator!=(const Point& a, const Point& b) { return !(a == b); }
inline bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }
