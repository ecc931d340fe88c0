// The timing host's parent window on Windows.
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

void ParentWindow::pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
