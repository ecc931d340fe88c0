// The idle pump's clock and sleep on Linux; headless tests may run it on a clock they set.
#include <ctime>

#include "gui/PaintPump.h"
#include "gui/Port.h"
#include "gui/x11/HeadlessScreen.h"

namespace {

bool testClockSet = false;
uint32_t testClock = 0;

}  // namespace

uint32_t pumpTickCount() {
    if (testClockSet && headless::enabled()) {
        return testClock;
    }
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Wraps as GetTickCount does: the pump compares ticks as unsigned values.
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                                 static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

void pumpSleep(uint32_t milliseconds) {
    if (testClockSet && headless::enabled()) {
        testClock += milliseconds;
        return;
    }
    timespec pause{static_cast<time_t>(milliseconds / 1000u),
                   static_cast<long>(milliseconds % 1000u) * 1000000L};
    nanosleep(&pause, nullptr);
}

// Linux hosts give timers through their run loop.
void* startIdleTimer(uint32_t, void (*)(void*), void*) { return nullptr; }
void stopIdleTimer(void*) {}

namespace headless {

void setClock(uint32_t milliseconds) {
    testClockSet = true;
    testClock = milliseconds;
}

void useRealClock() { testClockSet = false; }

}  // namespace headless
