// The host's windows and the plug-in windows found in them.
#include "HostWindows.h"

#include <cstring>

namespace {

const char* hostClass() {
    static const char* name = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "BrindleEditorHost";
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassA(&windowClass);
        return "BrindleEditorHost";
    }();
    return name;
}

BOOL CALLBACK collectPluginWindow(HWND window, LPARAM found) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::strncmp(name, "Plugin", 6) == 0) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

BOOL CALLBACK countWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int32_t*>(count);
    return TRUE;
}

// A top-level window and all its descendants.
BOOL CALLBACK countTree(HWND window, LPARAM count) {
    ++*reinterpret_cast<int32_t*>(count);
    EnumChildWindows(window, countWindow, count);
    return TRUE;
}

}  // namespace

HWND makeTopLevelWindow() {
    HWND window = CreateWindowExA(
        WS_EX_TOPMOST, hostClass(), "brindleLoop host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
        kEditorOnScreen.x, kEditorOnScreen.y, 600, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(window);
    pumpUntil([] { return true; });
    return window;
}

HWND hostWindow() {
    static HWND window = makeTopLevelWindow();
    return window;
}

std::vector<HWND> pluginWindowsIn(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, collectPluginWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

int32_t threadWindowCount() {
    int32_t count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countTree, reinterpret_cast<LPARAM>(&count));
    return count;
}
