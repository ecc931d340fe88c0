// The headless screen of the Linux port: windows without a display, pixels in memory and a
// pointer that tests script. Used by tests and by anything that runs without an X server.
#pragma once

#include <cstdint>
#include <vector>

#include "gui/Color.h"
#include "gui/DrawContext.h"
#include "gui/Geometry.h"

namespace headless {

// One pointer sample: screen position and buttonLeft | ... | modAlt.
struct PointerState {
    Point screen;
    int32_t buttons = 0;
};

// Makes every later window, context and pointer query use the headless screen, display or not.
// Call before the first Frame is made.
void enable();
bool enabled();
// The screen's Xft.dpi as the headless screen reports it; 0 (the start) when not set.
void setScreenDpi(double dotsPerInch);
// The work area the headless screen reports; 0, 0 (the start): unknown.
void setWorkArea(int32_t width, int32_t height);

// A stand-in for the host's window with its top-left corner at a screen position.
void* createHostWindow(int32_t screenLeft, int32_t screenTop, int32_t width, int32_t height);
// Destroys a host window: its children are destroyed too and learn it at their next event pass.
void destroyHostWindow(void* window);

// Sets the pointer; it stays there until changed.
void setPointer(Point screen, int32_t buttons);
// Each later button poll (DrawContext::mouseButtons) takes the next sample; position queries read
// the sample taken last. The last one then stays. With a press (postButtonPress), the press's
// first button and position polls read the press itself, so a press held over n polls is the
// press followed by n - 1 held samples and a released one.
void scriptPointer(const std::vector<PointerState>& samples);
// Pointer queries made so far.
int64_t pointerQueries();

// Queues events for a window as the X server would.
void postExpose(void* window, const Rect& area);
// A press at a window point; buttons: the pressed button and the modifiers held (buttonLeft |
// modShift ...), what the tracking loop's first poll of the press reads. time: the press's
// milliseconds (double-clicks); -1: a second after the last press posted.
void postButtonPress(void* window, Point where, int32_t buttons = buttonLeft, int32_t time = -1);
// A move with buttons held, and a release leaving buttons held (0: the last one released).
void postMotion(void* window, Point where, int32_t buttons = buttonLeft);
void postButtonRelease(void* window, Point where, int32_t buttons = 0);
// A wheel turn of distance notches over a window point, with the buttons and modifiers held.
void postWheel(void* window, Point where, float distance, int32_t buttons = 0);
// Wheel turns the window sent on to its parent (no view used them).
int32_t forwardedWheels(void* window);
void discardEvents(void* window);
int32_t pendingEvents(void* window);

bool isWindow(void* window);
// A window's width and height in pixels (0, 0 for none).
Point windowSize(void* window);
// A window that exists, was not destroyed and was not hidden.
bool isVisible(void* window);
// Toolkit windows (Frame children) alive; the last one's destruction releases the screen.
int32_t childWindowCount();
// Paints an area of a window's pixels (what a test wants to see painted over, or not).
void paintWindow(void* window, const Rect& area, Color color);
// What the screen shows at a window pixel; colorBlack outside the window.
Color pixel(void* window, int32_t x, int32_t y);
// Last cursor kind set over a window.
int32_t cursorOf(void* window);

// The idle pump's clock (pumpTickCount) reads this value from now on, and its sleep advances
// it, until useRealClock.
void setClock(uint32_t milliseconds);
void useRealClock();

}  // namespace headless
