// What an idle pump running inside a mouse-tracking loop needs from the port: one pending
// paint, a millisecond clock and a short sleep.
#pragma once

#include <cstdint>

// GUI thread. Dispatches one pending paint of any Frame window of this thread; true if there
// was one.
bool dispatchPendingPaint();
// Milliseconds since some start, wrapping at 2^32 (GetTickCount on Windows). Headless Linux
// tests may set it (headless::setClock).
uint32_t pumpTickCount();
// Gives the processor away for about that long (headless with a set clock: advances the clock).
void pumpSleep(uint32_t milliseconds);
