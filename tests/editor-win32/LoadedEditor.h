// The built DLL loaded through its entry point, as a host loads it, with its editor opened in a
// top-level window of ours; the host callback; what the tests read back: parameters, the bank
// chunk and the window's pixels.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include <gtest/gtest.h>
#include <windows.h>

#include "BankChunk.h"
#include "HostWindows.h"
#include "WindowPixels.h"
#include "vst2/VstApi.h"

// The host: answers the version, counts idle calls and lets a test act inside them.
extern std::atomic<int32_t> hostIdleCalls;
extern std::function<void()> onHostIdle;
intptr_t VSTCALL testHostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt);

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

public:
    // One idle call, as the host's loop makes it.
    void idleOnce() { idle(); }

protected:
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
