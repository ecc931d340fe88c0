// The host's windows: a top-level window of ours at a known screen place, the plug-in windows
// found in it, and message dispatching with a deadline.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include <windows.h>

// The host's window: a shown top-level window whose client area starts at kEditorOnScreen, so
// editor point (x, y) is screen point kEditorOnScreen + (x, y). Made once per program: without
// a window manager, Wine takes seconds to unmap a top-level window.
constexpr POINT kEditorOnScreen{100, 80};
HWND hostWindow();
// A top-level window of its own at the same place, for the test that destroys it.
HWND makeTopLevelWindow();

// Child windows whose class name starts with "Plugin".
std::vector<HWND> pluginWindowsIn(HWND parent);
// Windows of this thread, top-level and children.
int32_t threadWindowCount();

// Dispatches this thread's messages until the condition holds or the deadline passes.
template <typename Condition>
bool pumpUntil(Condition condition, int milliseconds = 3000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        Sleep(2);
    }
}
