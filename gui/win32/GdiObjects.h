// Counted creation and deletion of the GDI objects and device contexts the toolkit makes.
#pragma once

#include <windows.h>

namespace gdi {

HPEN createPen(const LOGPEN& pen);
HBRUSH createBrush(const LOGBRUSH& brush);
HFONT createFont(const LOGFONTA& font);
HBITMAP createCompatibleBitmap(HDC dc, int width, int height);
HBITMAP createMonochromeBitmap(int width, int height);
HBITMAP loadBitmap(HINSTANCE instance, int id);
HDC createCompatibleDC(HDC dc);
// Pens, brushes, fonts and bitmaps; none is ignored.
void deleteObject(HGDIOBJ object);
void deleteDC(HDC dc);
// GetDC and ReleaseDC, counted as a pair.
HDC getDC(HWND window);
void releaseDC(HWND window, HDC dc);

// The COLORREF of a toolkit colour: red in the lowest byte.
COLORREF colorRef(unsigned char red, unsigned char green, unsigned char blue);

}  // namespace gdi
