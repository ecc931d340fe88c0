// The host's window under Windows (Wine in the tests).
#ifdef _WIN32
#include "HostWindow.h"

#include <windows.h>

namespace {

const char* hostClass() {
    static const char* name = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "BrindleClapHost";
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassA(&windowClass);
        return "BrindleClapHost";
    }();
    return name;
}

}  // namespace

bool windowsAvailable() { return true; }

void* makeHostWindow(int32_t left, int32_t top, int32_t width, int32_t height) {
    HWND window = CreateWindowExA(WS_EX_TOPMOST, hostClass(), "brindleLoop CLAP host",
                                  WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, left, top, width, height, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    pumpHostEvents();
    return window;
}

void destroyHostWindow(void* window) {
    DestroyWindow(static_cast<HWND>(window));
    pumpHostEvents();
}

void pumpHostEvents() {
    for (int round = 0; round < 20; ++round) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    }
}

// The editor's own window (the host window's child) through its device context.
std::vector<uint32_t> hostWindowPixels(void* window, int32_t width, int32_t height) {
    std::vector<uint32_t> pixels;
    HWND child = GetWindow(static_cast<HWND>(window), GW_CHILD);
    HWND source = child != nullptr ? child : static_cast<HWND>(window);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC windowDc = GetDC(source);
    HDC memory = CreateCompatibleDC(windowDc);
    HBITMAP section = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory != nullptr && section != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(memory, section);
        BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* words = static_cast<const uint32_t*>(bits);
        pixels.assign(words, words + width * height);
        for (uint32_t& p : pixels) p &= 0xFFFFFF;
        SelectObject(memory, previous);
    }
    if (section != nullptr) DeleteObject(section);
    if (memory != nullptr) DeleteDC(memory);
    ReleaseDC(source, windowDc);
    return pixels;
}
#endif
