// The screen's density and the user's settings folder on Windows.
#include <cstdlib>
#include <string>

#include <windows.h>

#include "gui/Port.h"

namespace {

// Looked up at run time: Windows before 10 (version 1607) has neither.
using DpiForWindow = UINT(WINAPI*)(HWND);
using ThreadAwareness = HANDLE(WINAPI*)();
using AwarenessOf = int(WINAPI*)(HANDLE);

FARPROC user32Function(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
}

// Whether the calling (host's) thread gets real pixels: otherwise Windows enlarges its windows
// itself and the editor must stay at scale 1.
bool threadIsDpiAware() {
    const auto threadAwareness = reinterpret_cast<ThreadAwareness>(
        reinterpret_cast<void*>(user32Function("GetThreadDpiAwarenessContext")));
    const auto awarenessOf = reinterpret_cast<AwarenessOf>(
        reinterpret_cast<void*>(user32Function("GetAwarenessFromDpiAwarenessContext")));
    if (threadAwareness != nullptr && awarenessOf != nullptr) {
        return awarenessOf(threadAwareness()) > 0;  // DPI_AWARENESS_UNAWARE is 0
    }
    using ProcessAware = BOOL(WINAPI*)();
    const auto processAware =
        reinterpret_cast<ProcessAware>(reinterpret_cast<void*>(user32Function("IsProcessDPIAware")));
    return processAware != nullptr && processAware() != FALSE;
}

}  // namespace

namespace port {

float screenScale(void* parentWindow) {
    if (!threadIsDpiAware()) {
        return 1.0f;
    }
    auto* window = static_cast<HWND>(parentWindow);
    const auto dpiForWindow =
        reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(user32Function("GetDpiForWindow")));
    UINT dpi = 0;
    if (dpiForWindow != nullptr && window != nullptr) {
        dpi = dpiForWindow(window);
    }
    if (dpi == 0) {
        HDC dc = GetDC(window);
        if (dc != nullptr) {
            dpi = static_cast<UINT>(GetDeviceCaps(dc, LOGPIXELSX));
            ReleaseDC(window, dc);
        }
    }
    return dpi > 0 ? static_cast<float>(dpi) / 96.0f : 1.0f;
}

std::string userSettingsFolder(bool create) {
    const char* appData = std::getenv("APPDATA");
    if (appData == nullptr || appData[0] == 0) {
        return {};
    }
    std::string folder = std::string(appData) + "\\brindleLoop";
    if (create && !CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return {};
    }
    return folder + "\\";
}

int eventFileDescriptor() { return -1; }

}  // namespace port
