// A window's pixels read back through GDI, and written as a PPM file.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include <windows.h>

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
std::ostream& operator<<(std::ostream& out, const Rgb& c);

// A window's client pixels, row by row.
struct WindowImage {
    int32_t width = 0, height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};
WindowImage capture(HWND window, int32_t width, int32_t height);
// Binary PPM (P6): what the native test writes too, for counting the pixels that differ.
bool writePpm(const WindowImage& image, const std::string& path);
