// The idle pump's clock and sleep on Windows.
#include <windows.h>

#include "gui/PaintPump.h"

uint32_t pumpTickCount() { return GetTickCount(); }

void pumpSleep(uint32_t milliseconds) { Sleep(milliseconds); }
