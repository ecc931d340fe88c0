// Counted GDI object creation: every object made here is counted until it is deleted here.
#include "gui/win32/GdiObjects.h"

#include "gui/GuiObjectCount.h"

namespace gdi {

namespace {

template <typename Handle>
Handle counted(Handle handle) {
    if (handle != nullptr) {
        guiObjects::created();
    }
    return handle;
}

}  // namespace

HPEN createPen(const LOGPEN& pen) { return counted(CreatePenIndirect(&pen)); }

HBRUSH createBrush(const LOGBRUSH& brush) { return counted(CreateBrushIndirect(&brush)); }

HFONT createFont(const LOGFONTA& font) { return counted(CreateFontIndirectA(&font)); }

HBITMAP createCompatibleBitmap(HDC dc, int width, int height) {
    return counted(CreateCompatibleBitmap(dc, width, height));
}

HBITMAP createMonochromeBitmap(int width, int height) {
    return counted(CreateBitmap(width, height, 1, 1, nullptr));
}

HBITMAP loadBitmap(HINSTANCE instance, int id) {
    return counted(LoadBitmapA(instance, MAKEINTRESOURCEA(id)));
}

HDC createCompatibleDC(HDC dc) { return counted(CreateCompatibleDC(dc)); }

void deleteObject(HGDIOBJ object) {
    if (object != nullptr) {
        DeleteObject(object);
        guiObjects::deleted();
    }
}

void deleteDC(HDC dc) {
    if (dc != nullptr) {
        DeleteDC(dc);
        guiObjects::deleted();
    }
}

HDC getDC(HWND window) { return counted(GetDC(window)); }

void releaseDC(HWND window, HDC dc) {
    if (dc != nullptr) {
        ReleaseDC(window, dc);
        guiObjects::deleted();
    }
}

COLORREF colorRef(unsigned char red, unsigned char green, unsigned char blue) {
    return RGB(red, green, blue);
}

}  // namespace gdi
