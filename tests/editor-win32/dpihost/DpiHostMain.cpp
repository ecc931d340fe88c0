// editor_dpi_host PLUGIN RESULT [unaware]: a host of its own process (so that it reads the
// screen's density as set when it starts): DPI-aware unless told otherwise, it opens the
// plug-in's editor in a window of its own and writes "rectWidth rectHeight windowWidth
// windowHeight" to RESULT.
#include <cstdio>
#include <cstring>
#include <string>

#include <windows.h>

#include "tools/loader/PluginLoader.h"

namespace {

intptr_t VSTCALL host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

BOOL CALLBACK firstChild(HWND window, LPARAM found) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void becomeDpiAware() {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    using SetThreadAwareness = HANDLE(WINAPI*)(HANDLE);
    const auto setThread = reinterpret_cast<SetThreadAwareness>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")));
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE is (HANDLE)-3.
    if (setThread == nullptr || setThread(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-3))) == nullptr) {
        SetProcessDPIAware();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    if (argc < 4 || std::strcmp(argv[3], "unaware") != 0) becomeDpiAware();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "BrindleDpiHost";
    RegisterClassA(&windowClass);
    HWND parent = CreateWindowExA(0, "BrindleDpiHost", "dpi host", WS_POPUP | WS_VISIBLE, 0, 0, 1700, 1000,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    PluginLoader loader;
    if (parent == nullptr || !loader.load(argv[1]) || loader.entry() == nullptr) return 3;
    AEffect* effect = loader.entry()(host);
    if (effect == nullptr) return 4;
    ERect* rect = nullptr;
    effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f);
    effect->dispatcher(effect, effEditOpen, 0, 0, parent, 0.0f);
    ERect* openRect = nullptr;
    effect->dispatcher(effect, effEditGetRect, 0, 0, &openRect, 0.0f);
    HWND editor = nullptr;
    EnumChildWindows(parent, firstChild, reinterpret_cast<LPARAM>(&editor));
    RECT client{0, 0, 0, 0};
    if (editor != nullptr) GetClientRect(editor, &client);
    std::FILE* result = std::fopen(argv[2], "w");
    if (result == nullptr) return 5;
    std::fprintf(result, "%d %d %d %d\n", rect != nullptr ? rect->right - rect->left : 0,
                 rect != nullptr ? rect->bottom - rect->top : 0, static_cast<int>(client.right),
                 static_cast<int>(client.bottom));
    std::fclose(result);
    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    DestroyWindow(parent);
    return 0;
}
