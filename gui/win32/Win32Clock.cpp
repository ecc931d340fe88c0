// The idle pump's clock and sleep on Windows.
#include <windows.h>

#include "gui/PaintPump.h"
#include "gui/Port.h"

uint32_t pumpTickCount() { return GetTickCount(); }

void pumpSleep(uint32_t milliseconds) { Sleep(milliseconds); }

// --- timers for hosts that make no idle calls: thread timers, found again by their id ---

namespace {

struct IdleTimer {
    UINT_PTR id;
    void (*tick)(void*);
    void* context;
};
// Few editors are open at once; a fixed table needs no allocation in the timer's call.
IdleTimer idleTimers[64];

void CALLBACK idleTimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    for (IdleTimer& timer : idleTimers)
        if (timer.id == id && timer.tick) timer.tick(timer.context);
}

}  // namespace

int eventConnectionFd() { return -1; }

void* startIdleTimer(uint32_t milliseconds, void (*tick)(void*), void* context) {
    for (IdleTimer& timer : idleTimers) {
        if (timer.id != 0) continue;
        const UINT_PTR id = SetTimer(nullptr, 0, milliseconds, idleTimerProc);
        if (id == 0) return nullptr;
        timer = IdleTimer{id, tick, context};
        return &timer;
    }
    return nullptr;
}

void stopIdleTimer(void* handle) {
    auto* timer = static_cast<IdleTimer*>(handle);
    if (!timer || timer->id == 0) return;
    KillTimer(nullptr, timer->id);
    *timer = IdleTimer{};
}
