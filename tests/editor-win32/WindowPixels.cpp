// Window pixels through a DIB section, and the PPM writer.
#include "WindowPixels.h"

#include <cstdio>

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

WindowImage capture(HWND window, int32_t width, int32_t height) {
    WindowImage image;
    image.width = width;
    image.height = height;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC windowDc = GetDC(window);
    HDC memory = CreateCompatibleDC(windowDc);
    HBITMAP section = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory != nullptr && section != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(memory, section);
        BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* words = static_cast<const uint32_t*>(bits);
        image.pixels.reserve(static_cast<size_t>(width * height));
        for (int32_t i = 0; i < width * height; ++i) {
            const uint32_t p = words[i];
            image.pixels.push_back(Rgb{uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
        }
        SelectObject(memory, previous);
    }
    if (section != nullptr) DeleteObject(section);
    if (memory != nullptr) DeleteDC(memory);
    ReleaseDC(window, windowDc);
    if (image.pixels.empty()) image.pixels.assign(static_cast<size_t>(width * height), Rgb{});
    return image;
}

bool writePpm(const WindowImage& image, const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    std::fprintf(file, "P6\n%d %d\n255\n", image.width, image.height);
    for (const Rgb& p : image.pixels) {
        const unsigned char rgb[3] = {p.r, p.g, p.b};
        std::fwrite(rgb, 1, 3, file);
    }
    return std::fclose(file) == 0;
}
