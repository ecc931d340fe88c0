// A host's window for an editor (an X window on Linux, a top-level window under Windows), its
// event pump and its pixels, so that the editor tests read the same on both systems.
#pragma once

#include <cstdint>
#include <vector>

// Whether windows can be made here (an X display; always on Windows).
bool windowsAvailable();
// A shown window at a screen place, as a host's editor frame; its handle as the host hands it on
// (X window id or HWND).
void* makeHostWindow(int32_t left, int32_t top, int32_t width, int32_t height);
void destroyHostWindow(void* window);
// Lets the window system deliver what is pending (Windows: this thread's messages; X: a sync).
void pumpHostEvents();
// The pixels of the window's area (children included) as 0xRRGGBB, row by row.
std::vector<uint32_t> hostWindowPixels(void* window, int32_t width, int32_t height);
