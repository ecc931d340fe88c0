// The contract between the portable toolkit and a port (gui/win32: USER32 and GDI; gui/x11: Xlib
// and Cairo, or headless): everything a port defines. Portable classes keep their port state
// behind one pointer to a struct declared here and defined by the port; handles passed as void*
// are the port's own (Win32 HWND, HDC, HBITMAP; Linux window ids, cairo_t, cairo_surface_t).
// Everything here runs on the GUI thread.
#pragma once

#include <cstdint>
#include <string>

#include "gui/Color.h"
#include "gui/FontTable.h"
#include "gui/Geometry.h"

class Frame;

// What a drawing context has selected into its device context, and what it made (Win32: pens,
// brushes, fonts and those it replaced; Linux: pen position, colours, font).
struct DrawContextPort;
// An off-screen context's memory surface (Win32: memory DC and bitmap; Linux: image surface).
struct OffscreenPort;
// A picture and its colour-key mask (Win32: HBITMAPs; Linux: Cairo image surfaces).
struct BitmapPort;
// A Frame's window, its default cursor and its thread's set-up (OLE on Windows).
struct FramePort;

// Lets std::unique_ptr hold the port structs where they are incomplete; each port defines these.
struct PortDeleter {
    // Puts back what the context replaced in its device context and deletes what it made.
    void operator()(DrawContextPort* state) const;
    // Gives the memory surface its own objects back and frees it.
    void operator()(OffscreenPort* state) const;
    void operator()(BitmapPort* state) const;
    // Destroys the window (unregistering the shared window class with the last) and gives back
    // the thread's set-up.
    void operator()(FramePort* state) const;
};

namespace port {

// Drawing contexts. deviceContext may be none: then nothing is drawn.
DrawContextPort* openContext(void* deviceContext);
// Solid or dotted (lineDotted) lines of one pixel.
void setLine(DrawContextPort& context, Color color, int32_t style);
void setFill(DrawContextPort& context, Color color);
void setTextColor(DrawContextPort& context, Color color);
void setFont(DrawContextPort& context, const FontChoice& font);
void moveTo(DrawContextPort& context, Point point);
// From the pen position to point, leaving point itself out; the pen moves to point.
void lineTo(DrawContextPort& context, Point point);
// Fills device pixels left .. right - 1, top .. bottom - 1 in color, leaving the context's fill,
// pen and brush as they were (lines drawn at a scale are made of such blocks).
void fillSolid(DrawContextPort& context, const Rect& rect, Color color);
// Exactly the pixels inside the outline of rect (left + 1 .. right - 1, top + 1 .. bottom - 1).
void fillInside(DrawContextPort& context, const Rect& rect);
// One line, vertically centred in rect, never outside it; opaque backs the cells with the fill.
void drawText(DrawContextPort& context, const char* text, const Rect& rect, bool opaque, int32_t alignment);

// Off-screen surfaces: width x height like the parent's device context, or the bitmap's own
// pixels (drawIntoBitmap). deviceContext receives the surface's device context (none on failure).
OffscreenPort* openOffscreen(void* parentDeviceContext, void* bitmapHandle, bool drawIntoBitmap,
                             int32_t width, int32_t height, void*& deviceContext);
// Copies destination.width() x destination.height() pixels from source to destination.
void copyPixels(void* sourceDeviceContext, void* destinationDeviceContext, const Rect& destination,
                Point source);

// Bitmaps: resource number id of this module (none when missing), or blank (none when empty).
BitmapPort* loadBitmap(int32_t id, int32_t& width, int32_t& height);
BitmapPort* createBitmap(int32_t width, int32_t height);
// The picture's handle (HBITMAP, cairo_surface_t).
void* bitmapHandle(const BitmapPort& bitmap);
bool bitmapHasMask(const BitmapPort& bitmap);
void drawBitmap(BitmapPort& bitmap, void* deviceContext, const Rect& destination, Point source);
// Copies the picture's source area onto destination, resized smoothly (a picture drawn for
// another density than the target's).
void drawBitmapScaled(BitmapPort& bitmap, void* deviceContext, const Rect& destination, const Rect& source);
// Leaves the target alone where the picture has colour key; the mask is made at the first call.
void drawBitmapColorKeyed(BitmapPort& bitmap, void* deviceContext, const Rect& destination, Point source,
                          Color key);

// The pointer: buttonLeft | ... | modAlt and the screen position, as a tracking loop polls them
// through a context on window (none: no window).
int32_t mouseButtons(void* window);
Point mousePosition(void* window);
// The pointer's screen position for the Frame (viewUnderMouse, drops, the wheel).
Point cursorPosition();

// Frame windows. attachFrame sets the thread up for a Frame (OLE, before any drop target).
FramePort* attachFrame(Frame* frame);
// A visible child window of parent covering size, registering the shared window class (counted);
// its events reach the Frame. False on failure.
bool createWindow(FramePort& state, void* parent, const Rect& size);
// Unmaps the window (it stays until the Frame goes); nothing without a window.
void hideWindow(FramePort& state);
// The window's handle, none before createWindow succeeded.
void* windowHandle(const FramePort& state);
// A device context on the window and its release; none without a window.
void* acquireDeviceContext(void* window);
void releaseDeviceContext(void* window, void* deviceContext);
// Screen position of the window's top-left corner.
Point windowPosition(void* window);
// Sets a cursor kind over the window; the first call remembers the cursor then current.
void setCursor(FramePort& state, int32_t kind);
// Registers (enabled) or revokes the window's drop target serving the Frame; true when done.
bool setDropTarget(FramePort& state, Frame* frame, bool enabled);
// Processes the window's pending events (Linux); window messages arrive on their own on Windows.
void pumpEvents(void* window);

// The screen's scale factor for a window of the host's (or the screen's without one): Linux the
// X resources' Xft.dpi / 96, else 1; Windows the window's DPI / 96 when the host's thread is
// DPI-aware, else 1 (Windows then enlarges the window itself).
float screenScale(void* parentWindow);
// The folder for the user's own settings of this plug-in, with a trailing separator (made when
// missing if create is set); empty when there is none. Linux: $XDG_CONFIG_HOME/brindleLoop or
// ~/.config/brindleLoop; Windows: %APPDATA%\brindleLoop.
std::string userSettingsFolder(bool create);
// The file descriptor a host's event loop watches for the toolkit's window events: the X
// connection's while a toolkit window is open (Linux), else -1 (headless, no window, Windows).
int eventFileDescriptor();

}  // namespace port

// The idle pump that runs inside a mouse-tracking loop. Dispatches one pending paint of any
// Frame window of this thread; true if there was one.
bool dispatchPendingPaint();
// Milliseconds since some start, wrapping at 2^32 (GetTickCount on Windows). Headless Linux
// tests may set it (headless::setClock).
uint32_t pumpTickCount();
// Gives the processor away for about that long (headless with a set clock: advances the clock).
void pumpSleep(uint32_t milliseconds);
