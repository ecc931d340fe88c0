// Helpers of the Windows port tests: a memory surface to draw into and read back with GetPixel,
// message pumping with a deadline, and a view that records what reaches it.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "gui/Color.h"
#include "gui/Control.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/ModuleInstance.h"
#include "gui/View.h"

inline bool operator==(const Color& a, const Color& b) { return sameRgb(a, b); }

inline std::ostream& operator<<(std::ostream& out, const Color& c) {
    return out << "(" << int(c.red) << "," << int(c.green) << "," << int(c.blue) << ")";
}

inline Color fromRef(COLORREF ref) { return Color{GetRValue(ref), GetGValue(ref), GetBValue(ref), 0}; }

// Every test loads bitmaps and registers window classes with the test program's own module.
class Win32Test : public ::testing::Test {
protected:
    void SetUp() override { moduleInstance = GetModuleHandleA(nullptr); }
};

// A screen-compatible memory surface filled with one colour, and a DrawContext on it.
class GdiCanvas {
public:
    GdiCanvas(int width, int height, Color paper = Color{10, 20, 30, 0}) : w(width), h(height) {
        HDC screen = GetDC(nullptr);
        memory = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        previous = SelectObject(memory, bitmap);
        HBRUSH brush = CreateSolidBrush(RGB(paper.red, paper.green, paper.blue));
        RECT all{0, 0, width, height};
        FillRect(memory, &all, brush);
        DeleteObject(brush);
        context = std::make_unique<DrawContext>(nullptr, memory, nullptr);
    }
    ~GdiCanvas() {
        context.reset();
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
    }
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    DrawContext* ctx() { return context.get(); }
    HDC dc() const { return memory; }
    Color at(int x, int y) const { return fromRef(GetPixel(memory, x, y)); }
    std::vector<Point> pixelsOf(Color color) const {
        std::vector<Point> found;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (at(x, y) == color) {
                    found.push_back(Point{x, y});
                }
            }
        }
        return found;
    }
    Rect inkBox(Color paper) const {
        Rect box{w, h, -1, -1};
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (!(at(x, y) == paper)) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x);
                    box.bottom = std::max(box.bottom, y);
                }
            }
        }
        return box;
    }
    std::string dump(Color color) const {
        std::string text;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                text += at(x, y) == color ? '#' : '.';
            }
            text += '\n';
        }
        return text;
    }

private:
    int w;
    int h;
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    std::unique_ptr<DrawContext> context;
};

// Dispatches this thread's messages until the condition holds or two seconds have passed.
template <typename Condition>
bool pumpUntil(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < deadline) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (condition()) {
            return true;
        }
        Sleep(5);
    }
    return false;
}

class RecordingView : public View {
public:
    RecordingView(const Rect& rect, std::vector<std::string>* journal, std::string viewName,
                  Color paint = colorGreen)
        : View(rect), log(journal), name(std::move(viewName)), color(paint) {}
    void draw(DrawContext* context) override {
        ++draws;
        context->setFillColor(color);
        context->fillRect(Rect{size.left - 1, size.top - 1, size.right, size.bottom});
    }
    void mouse(DrawContext* context, Point& where) override {
        ++clicks;
        lastClick = where;
        buttonsSeen = context->mouseButtons();
        context->mousePosition(pointerSeen);
        if (log != nullptr) {
            log->push_back(name + ".mouse");
        }
    }
    std::vector<std::string>* log;
    std::string name;
    Color color;
    int draws = 0;
    int clicks = 0;
    Point lastClick;
    Point pointerSeen;
    int32_t buttonsSeen = 0;
};

// The host's own window (a child of one visible top-level window at the screen's origin, so that
// window and screen coordinates agree). The top-level window lives as long as the program:
// without a window manager, unmapping a top-level window costs Wine two seconds.
inline HWND testDesktop() {
    static HWND desktop = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "BrindleTestHost";
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassA(&windowClass);
        HWND window = CreateWindowExA(WS_EX_TOPMOST, "BrindleTestHost", "desktop",
                                      WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 900, 700, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(window);
        return window;
    }();
    return desktop;
}

class HostWindow {
public:
    HostWindow(int x, int y, int width, int height) {
        handle = CreateWindowExA(0, "BrindleTestHost", "host", WS_CHILD | WS_VISIBLE, x, y, width, height,
                                 testDesktop(), nullptr, GetModuleHandleA(nullptr), nullptr);
        pumpUntil([] { return true; });
    }
    ~HostWindow() {
        if (handle != nullptr && IsWindow(handle)) {
            DestroyWindow(handle);
        }
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND get() const { return handle; }
    void destroy() {
        DestroyWindow(handle);
        handle = nullptr;
    }

private:
    HWND handle = nullptr;
};
