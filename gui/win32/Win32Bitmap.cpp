// Bitmap on GDI: resources of this module or blank screen-compatible bitmaps; plain and
// colour-keyed copies through a monochrome mask made once.
#include "gui/Bitmap.h"

#include <windows.h>

#include "gui/DrawContext.h"
#include "gui/ModuleInstance.h"
#include "gui/win32/GdiObjects.h"

namespace {

HDC dcOf(DrawContext* context) {
    return context != nullptr ? static_cast<HDC>(context->getDeviceContext()) : nullptr;
}

}  // namespace

Bitmap::Bitmap(int32_t id) : resourceId(id) {
    HBITMAP bitmap = gdi::loadBitmap(static_cast<HINSTANCE>(moduleInstance), id & 0xffff);
    handle = bitmap;
    BITMAP info;
    if (bitmap != nullptr && GetObject(bitmap, sizeof info, &info) == sizeof info) {
        width = info.bmWidth;
        height = info.bmHeight;
    }
}

Bitmap::Bitmap(Frame* /*frame*/, int32_t w, int32_t h) {
    // GDI would make a 1 x 1 monochrome bitmap for an empty size: keep none, as on Linux.
    if (w <= 0 || h <= 0) {
        return;
    }
    HDC screen = gdi::getDC(nullptr);
    handle = gdi::createCompatibleBitmap(screen, w, h);
    gdi::releaseDC(nullptr, screen);
    if (handle != nullptr) {
        width = w;
        height = h;
    }
}

Bitmap::~Bitmap() {
    gdi::deleteObject(static_cast<HGDIOBJ>(handle));
    gdi::deleteObject(static_cast<HGDIOBJ>(mask));
}

void Bitmap::draw(DrawContext* context, const Rect& destination, Point source) {
    HDC target = dcOf(context);
    if (handle == nullptr || target == nullptr) {
        return;
    }
    HDC memory = gdi::createCompatibleDC(target);
    HGDIOBJ previous = SelectObject(memory, static_cast<HBITMAP>(handle));
    BitBlt(target, destination.left, destination.top, destination.right - destination.left,
           destination.bottom - destination.top, memory, source.h, source.v, SRCCOPY);
    SelectObject(memory, previous);
    gdi::deleteDC(memory);
}

// The mask is white exactly where the picture has the colour key.
void Bitmap::makeMask(DrawContext* context) {
    HDC target = dcOf(context);
    HDC picture = gdi::createCompatibleDC(target);
    HGDIOBJ previousPicture = SelectObject(picture, static_cast<HBITMAP>(handle));
    BITMAP info;
    GetObject(static_cast<HBITMAP>(handle), sizeof info, &info);
    POINT size{info.bmWidth, info.bmHeight};
    DPtoLP(picture, &size, 1);

    HDC monochrome = gdi::createCompatibleDC(target);
    HBITMAP maskBitmap = gdi::createMonochromeBitmap(size.x, size.y);
    HGDIOBJ previousMask = SelectObject(monochrome, maskBitmap);

    SetMapMode(picture, GetMapMode(target));
    const COLORREF previousBack =
        SetBkColor(picture, gdi::colorRef(colorKey.red, colorKey.green, colorKey.blue));
    BitBlt(monochrome, 0, 0, size.x, size.y, picture, 0, 0, SRCCOPY);
    SetBkColor(picture, previousBack);

    SelectObject(monochrome, previousMask);
    SelectObject(picture, previousPicture);
    gdi::deleteDC(picture);
    gdi::deleteDC(monochrome);
    mask = maskBitmap;
}

void Bitmap::drawColorKeyed(DrawContext* context, const Rect& destination, Point source) {
    HDC target = dcOf(context);
    if (handle == nullptr || target == nullptr) {
        return;
    }
    if (mask == nullptr) {
        makeMask(context);
    }
    const int w = destination.right - destination.left;
    const int h = destination.bottom - destination.top;
    const int x = source.h;
    const int y = source.v;

    HDC picture = gdi::createCompatibleDC(target);
    HGDIOBJ oldPicture = SelectObject(picture, static_cast<HBITMAP>(handle));

    HDC inverse = gdi::createCompatibleDC(target);
    HBITMAP inverseBitmap = gdi::createMonochromeBitmap(w, h);
    HGDIOBJ oldInverse = SelectObject(inverse, inverseBitmap);
    HDC maskDc = gdi::createCompatibleDC(target);
    HGDIOBJ oldMask = SelectObject(maskDc, static_cast<HBITMAP>(mask));
    HDC compose = gdi::createCompatibleDC(target);
    HBITMAP composeBitmap = gdi::createCompatibleBitmap(target, w, h);
    HGDIOBJ oldCompose = SelectObject(compose, composeBitmap);
    HDC save = gdi::createCompatibleDC(target);
    HBITMAP saveBitmap = gdi::createCompatibleBitmap(target, w, h);
    HGDIOBJ oldSave = SelectObject(save, saveBitmap);

    BitBlt(save, 0, 0, w, h, picture, x, y, SRCCOPY);           // keep the picture's own pixels
    BitBlt(inverse, 0, 0, w, h, maskDc, x, y, NOTSRCCOPY);      // white where opaque
    BitBlt(compose, 0, 0, w, h, target, destination.left, destination.top, SRCCOPY);
    BitBlt(compose, 0, 0, w, h, maskDc, x, y, SRCAND);          // black where opaque
    BitBlt(picture, x, y, w, h, inverse, 0, 0, SRCAND);         // key pixels become black
    BitBlt(compose, 0, 0, w, h, picture, x, y, SRCPAINT);       // add the opaque pixels
    BitBlt(target, destination.left, destination.top, w, h, compose, 0, 0, SRCCOPY);
    BitBlt(picture, x, y, w, h, save, 0, 0, SRCCOPY);           // the picture gets its pixels back

    SelectObject(inverse, oldInverse);
    SelectObject(compose, oldCompose);
    SelectObject(save, oldSave);
    SelectObject(maskDc, oldMask);
    SelectObject(picture, oldPicture);
    gdi::deleteObject(inverseBitmap);
    gdi::deleteObject(composeBitmap);
    gdi::deleteObject(saveBitmap);
    gdi::deleteDC(inverse);
    gdi::deleteDC(maskDc);
    gdi::deleteDC(compose);
    gdi::deleteDC(save);
    gdi::deleteDC(picture);
}
