// The built DLL loaded through its entry point, as a host loads it, with its editor opened in a
// top-level window of ours; what the tests read back: parameters, the bank chunk, windows and
// the window's pixels.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "host/VstApi.h"

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
std::ostream& operator<<(std::ostream& out, const Rgb& c);

// The host: answers the version, counts idle calls and lets a test act inside them.
extern std::atomic<int32_t> hostIdleCalls;
extern std::function<void()> onHostIdle;
intptr_t VSTCALL testHostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                  void* ptr, float opt);

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

// A window's client pixels, row by row.
struct WindowImage {
    int32_t width = 0, height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};
WindowImage capture(HWND window, int32_t width, int32_t height);
// Binary PPM (P6): what the native test writes too, for counting the pixels that differ.
bool writePpm(const WindowImage& image, const std::string& path);

// The bank chunk's fields that the editor edits (layout in engine/FreezeProgram.h).
struct Bank {
    std::vector<unsigned char> bytes;
    float step(int32_t i) const;
    float sequenceLength(int32_t program = 0) const;
    int32_t preFilterType(int32_t program = 0) const;
    int32_t postFilterType(int32_t program = 0) const;
    bool midiFlag(int32_t i) const;  // 0 note control, 1 record start, 2 repeat till note-off
    void setStep(int32_t i, float value);
    void setMidiFlag(int32_t i, bool on);
};

// One plug-in instance per test, through the dispatcher only.
class EditorHost : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f) {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    intptr_t open(HWND parent = hostWindow()) { return dispatch(effEditOpen, 0, 0, parent); }
    void idle() { dispatch(effEditIdle); }
    void close() { dispatch(effEditClose); }
    // The editor's child window in the host window (the only one), or null.
    HWND editorWindow() const;
    // Opens the editor, lets it paint and idles once: the state every other test starts from.
    void openAndShow();
    float parameter(int32_t index) { return effect->getParameter(effect, index); }
    void setParameter(int32_t index, float value) { effect->setParameter(effect, index, value); }
    Bank bank();
    void setBank(Bank& bank);
    // What the editor window shows at an editor pixel.
    Rgb pixel(int32_t x, int32_t y) const;

    AEffect* effect = nullptr;
};
