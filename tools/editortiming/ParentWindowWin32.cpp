// The timing host's parent window on Windows.
#include <cstdint>

#include <windows.h>

#include "tools/editortiming/ParentWindow.h"

ParentWindow::ParentWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "brindleTimingHost";
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, "brindleTimingHost", "timing host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                             600, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    pump();
}

ParentWindow::~ParentWindow() {
    if (window != nullptr) DestroyWindow(static_cast<HWND>(window));
}

void ParentWindow::resize(int width, int height) {
    if (window == nullptr) return;
    RECT outer{0, 0, width, height};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(static_cast<HWND>(window), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    pump();
}

void ParentWindow::pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

namespace {

DWORD WINAPI releaseLater(LPVOID milliseconds) {
    Sleep(static_cast<DWORD>(reinterpret_cast<uintptr_t>(milliseconds)));
    INPUT up{};
    up.type = INPUT_MOUSE;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &up, sizeof up);
    return 0;
}

}  // namespace

bool ParentWindow::holdButton(int x, int y, double seconds) {
    if (window == nullptr) return false;
    POINT screen{x, y};
    ClientToScreen(static_cast<HWND>(window), &screen);
    SetCursorPos(screen.x, screen.y);
    INPUT down{};
    down.type = INPUT_MOUSE;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &down, sizeof down);
    const auto milliseconds = static_cast<uintptr_t>(seconds * 1000.0);
    HANDLE thread = CreateThread(nullptr, 0, releaseLater, reinterpret_cast<LPVOID>(milliseconds), 0, nullptr);
    if (thread == nullptr) return false;
    CloseHandle(thread);
    return true;
}

double processCpuSeconds() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0.0;
    auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) *
               1e-7;
    };
    return seconds(kernel) + seconds(user);
}
