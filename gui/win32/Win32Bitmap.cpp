// Bitmaps on GDI: resources of this module or blank screen-compatible bitmaps; plain and
// colour-keyed copies through a monochrome mask made once.
#include <windows.h>

#include "gui/ModuleInstance.h"
#include "gui/Port.h"
#include "gui/win32/GdiObjects.h"

struct BitmapPort {
    HBITMAP picture = nullptr;
    // White exactly where the picture has the colour key; made by the first colour-keyed draw.
    HBITMAP mask = nullptr;
};

void PortDeleter::operator()(BitmapPort* bitmap) const {
    if (bitmap != nullptr) {
        gdi::deleteObject(bitmap->picture);
        gdi::deleteObject(bitmap->mask);
        delete bitmap;
    }
}

namespace {

BitmapPort* holding(HBITMAP picture) {
    if (picture == nullptr) {
        return nullptr;
    }
    auto* bitmap = new BitmapPort;
    bitmap->picture = picture;
    return bitmap;
}

HBITMAP makeMask(HBITMAP pictureBitmap, HDC target, Color key) {
    HDC picture = gdi::createCompatibleDC(target);
    HGDIOBJ previousPicture = SelectObject(picture, pictureBitmap);
    BITMAP info;
    GetObject(pictureBitmap, sizeof info, &info);
    POINT size{info.bmWidth, info.bmHeight};
    DPtoLP(picture, &size, 1);

    HDC monochrome = gdi::createCompatibleDC(target);
    HBITMAP maskBitmap = gdi::createMonochromeBitmap(size.x, size.y);
    HGDIOBJ previousMask = SelectObject(monochrome, maskBitmap);

    SetMapMode(picture, GetMapMode(target));
    const COLORREF previousBack = SetBkColor(picture, gdi::colorRef(key.red, key.green, key.blue));
    BitBlt(monochrome, 0, 0, size.x, size.y, picture, 0, 0, SRCCOPY);
    SetBkColor(picture, previousBack);

    SelectObject(monochrome, previousMask);
    SelectObject(picture, previousPicture);
    gdi::deleteDC(picture);
    gdi::deleteDC(monochrome);
    return maskBitmap;
}

}  // namespace

namespace port {

BitmapPort* loadBitmap(int32_t id, int32_t& width, int32_t& height) {
    BitmapPort* bitmap = holding(gdi::loadBitmap(static_cast<HINSTANCE>(moduleInstance), id));
    BITMAP info;
    if (bitmap != nullptr && GetObject(bitmap->picture, sizeof info, &info) == sizeof info) {
        width = info.bmWidth;
        height = info.bmHeight;
    }
    return bitmap;
}

BitmapPort* createBitmap(int32_t width, int32_t height) {
    HDC screen = gdi::getDC(nullptr);
    HBITMAP picture = gdi::createCompatibleBitmap(screen, width, height);
    gdi::releaseDC(nullptr, screen);
    return holding(picture);
}

void* bitmapHandle(const BitmapPort& bitmap) { return bitmap.picture; }

bool bitmapHasMask(const BitmapPort& bitmap) { return bitmap.mask != nullptr; }

void drawBitmap(BitmapPort& bitmap, void* deviceContext, const Rect& destination, Point source) {
    auto* target = static_cast<HDC>(deviceContext);
    HDC memory = gdi::createCompatibleDC(target);
    HGDIOBJ previous = SelectObject(memory, bitmap.picture);
    BitBlt(target, destination.left, destination.top, destination.right - destination.left,
           destination.bottom - destination.top, memory, source.h, source.v, SRCCOPY);
    SelectObject(memory, previous);
    gdi::deleteDC(memory);
}

void drawBitmapScaled(BitmapPort& bitmap, void* deviceContext, const Rect& destination, const Rect& source) {
    auto* target = static_cast<HDC>(deviceContext);
    HDC memory = gdi::createCompatibleDC(target);
    HGDIOBJ previous = SelectObject(memory, bitmap.picture);
    // Averaged down rather than every n-th pixel picked.
    const int previousMode = SetStretchBltMode(target, HALFTONE);
    POINT previousOrigin{0, 0};
    SetBrushOrgEx(target, 0, 0, &previousOrigin);
    StretchBlt(target, destination.left, destination.top, destination.right - destination.left,
               destination.bottom - destination.top, memory, source.left, source.top, source.right - source.left,
               source.bottom - source.top, SRCCOPY);
    SetStretchBltMode(target, previousMode);
    SetBrushOrgEx(target, previousOrigin.x, previousOrigin.y, nullptr);
    SelectObject(memory, previous);
    gdi::deleteDC(memory);
}

void drawBitmapColorKeyed(BitmapPort& bitmap, void* deviceContext, const Rect& destination, Point source,
                          Color key) {
    auto* target = static_cast<HDC>(deviceContext);
    if (bitmap.mask == nullptr) {
        bitmap.mask = makeMask(bitmap.picture, target, key);
    }
    const int w = destination.right - destination.left;
    const int h = destination.bottom - destination.top;
    const int x = source.h;
    const int y = source.v;

    HDC picture = gdi::createCompatibleDC(target);
    HGDIOBJ oldPicture = SelectObject(picture, bitmap.picture);

    HDC inverse = gdi::createCompatibleDC(target);
    HBITMAP inverseBitmap = gdi::createMonochromeBitmap(w, h);
    HGDIOBJ oldInverse = SelectObject(inverse, inverseBitmap);
    HDC maskDc = gdi::createCompatibleDC(target);
    HGDIOBJ oldMask = SelectObject(maskDc, bitmap.mask);
    HDC compose = gdi::createCompatibleDC(target);
    HBITMAP composeBitmap = gdi::createCompatibleBitmap(target, w, h);
    HGDIOBJ oldCompose = SelectObject(compose, composeBitmap);
    HDC save = gdi::createCompatibleDC(target);
    HBITMAP saveBitmap = gdi::createCompatibleBitmap(target, w, h);
    HGDIOBJ oldSave = SelectObject(save, saveBitmap);

    BitBlt(save, 0, 0, w, h, picture, x, y, SRCCOPY);       // keep the picture's own pixels
    BitBlt(inverse, 0, 0, w, h, maskDc, x, y, NOTSRCCOPY);  // white where opaque
    BitBlt(compose, 0, 0, w, h, target, destination.left, destination.top, SRCCOPY);
    BitBlt(compose, 0, 0, w, h, maskDc, x, y, SRCAND);     // black where opaque
    BitBlt(picture, x, y, w, h, inverse, 0, 0, SRCAND);    // key pixels become black
    BitBlt(compose, 0, 0, w, h, picture, x, y, SRCPAINT);  // add the opaque pixels
    BitBlt(target, destination.left, destination.top, w, h, compose, 0, 0, SRCCOPY);
    BitBlt(picture, x, y, w, h, save, 0, 0, SRCCOPY);  // the picture gets its pixels back

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

}  // namespace port
