// Scale: how the toolkit's unscaled pixels (the editor's 525 x 300 space) map to the device
// pixels of a window or surface drawn at a screen's density.
#pragma once

#include <cmath>
#include <cstdint>

#include "gui/Geometry.h"

// A factor from 1 to 3 kept in hundredths, so that every mapping is exact integer arithmetic and
// scale 1 is the identity. Unscaled pixel x covers device pixels device(x) .. device(x + 1) - 1.
class Scale {
public:
    static constexpr int32_t kMinPercent = 100;
    static constexpr int32_t kMaxPercent = 300;

    Scale() = default;
    // Any float is kept in range: NaN and anything below 1 give 1, anything above 3 gives 3.
    static Scale fromFactor(float factor) {
        if (!(factor > 1.0f)) return Scale(kMinPercent);
        if (!(factor < 3.0f)) return Scale(kMaxPercent);
        return Scale(static_cast<int32_t>(std::lround(static_cast<double>(factor) * 100.0)));
    }
    static Scale fromPercent(int32_t percent) {
        return Scale(percent < kMinPercent ? kMinPercent : (percent > kMaxPercent ? kMaxPercent : percent));
    }

    int32_t percent() const { return value; }
    float factor() const { return static_cast<float>(value) / 100.0f; }
    bool isUnit() const { return value == 100; }

    // Rounded to the nearest device pixel (halves up).
    int32_t device(int32_t x) const { return floorDiv(static_cast<int64_t>(x) * value + 50, 100); }
    Point device(Point p) const { return Point{device(p.h), device(p.v)}; }
    Rect device(const Rect& r) const { return Rect{device(r.left), device(r.top), device(r.right), device(r.bottom)}; }
    // The unscaled pixel whose device pixels include x.
    int32_t unscaled(int32_t x) const { return floorDiv(static_cast<int64_t>(x) * 100 + 49, value); }
    Point unscaled(Point p) const { return Point{unscaled(p.h), unscaled(p.v)}; }
    // The unscaled pixels a device area touches (right and bottom outside in both).
    Rect covering(const Rect& r) const {
        return Rect{unscaled(r.left), unscaled(r.top), unscaled(r.right - 1) + 1, unscaled(r.bottom - 1) + 1};
    }
    // The width of a one-pixel line at this scale, the same wherever it lies: the fewest device
    // pixels an unscaled pixel covers (at 125 % and 150 % some cover one, some two).
    int32_t lineWidth() const { return value / 100; }
    // A font's pixel size at this scale (at least 1).
    int32_t fontSize(int32_t size) const {
        const int32_t scaled = floorDiv(static_cast<int64_t>(size) * value + 50, 100);
        return scaled < 1 && size > 0 ? 1 : scaled;
    }

    bool operator==(const Scale& other) const { return value == other.value; }
    bool operator!=(const Scale& other) const { return value != other.value; }

private:
    explicit Scale(int32_t percent) : value(percent) {}
    static int32_t floorDiv(int64_t a, int64_t b) {
        const int64_t q = a / b;
        const int64_t r = a % b;
        const int64_t result = (r != 0 && ((r < 0) != (b < 0))) ? q - 1 : q;
        // Coordinates stay far inside 32 bits for any window; keep the conversion defined anyway.
        return static_cast<int32_t>(result < INT32_MIN ? INT32_MIN : (result > INT32_MAX ? INT32_MAX : result));
    }

    int32_t value = 100;
};
