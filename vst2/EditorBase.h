// The editor interface the opcode dispatcher talks to; portable, no window system.
#pragma once

#include <atomic>
#include <cstdint>

#include "vst2/VstApi.h"

class HostEffect;

// Operations run on the host's user-interface thread, except requestRefresh and setParameter,
// which any thread that sets parameters may call.
class EditorBase {
public:
    explicit EditorBase(HostEffect* effect);
    EditorBase(const EditorBase&) = delete;
    EditorBase& operator=(const EditorBase&) = delete;
    virtual ~EditorBase();

    // Stores a pointer to the editor rectangle through rect; answers 1, or 0 when there is none.
    virtual int32_t getRect(ERect** rect);
    virtual int32_t open(void* parent);
    virtual void close();
    virtual void idle();
    virtual void refresh();
    virtual void requestRefresh();
    // -1: key not used.
    virtual int32_t keyDown(VstKeyCode& key);
    virtual int32_t keyUp(VstKeyCode& key);
    virtual int32_t setKnobMode(int32_t mode);
    virtual bool onWheel(float distance);
    // A parameter changed in the effect; the editor shows it at its next idle.
    virtual void setParameter(int32_t index, float value);
    // User-interface thread. The host's scale factor for the window (high-density screens);
    // false when the editor does not scale.
    virtual bool setScaleFactor(float factor);

    bool isRefreshRequested() const { return refreshRequested.load(std::memory_order_relaxed) != 0; }

protected:
    HostEffect* effect;
    void* parentWindow = nullptr;
    // Set by host threads, cleared at idle on the user-interface thread.
    std::atomic<int32_t> refreshRequested{0};
};
