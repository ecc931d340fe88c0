// Off-screen surfaces on GDI memory device contexts.
#include <windows.h>

#include "gui/Port.h"
#include "gui/win32/GdiObjects.h"

struct OffscreenPort {
    HDC memory = nullptr;
    // The memory context's own bitmap, put back before the context is deleted.
    HGDIOBJ previousBitmap = nullptr;
    // A surface of our own, none when drawing into a Bitmap's pixels.
    HBITMAP ownSurface = nullptr;
};

void PortDeleter::operator()(OffscreenPort* surface) const {
    if (surface == nullptr) {
        return;
    }
    if (surface->memory != nullptr) {
        // Our bitmap leaves the context, free to be deleted or selected elsewhere.
        SelectObject(surface->memory, surface->previousBitmap);
        gdi::deleteDC(surface->memory);
    }
    gdi::deleteObject(surface->ownSurface);
    delete surface;
}

namespace port {

OffscreenPort* openOffscreen(void* parentDeviceContext, void* bitmapHandle, bool drawIntoBitmap,
                             int32_t width, int32_t height, void*& deviceContext) {
    deviceContext = nullptr;
    auto* parentDc = static_cast<HDC>(parentDeviceContext);
    HDC memory = gdi::createCompatibleDC(parentDc);
    if (memory == nullptr) {
        return nullptr;
    }
    auto* surface = new OffscreenPort;
    surface->memory = memory;
    // Without a bitmap there is nothing of its own to draw into.
    if (drawIntoBitmap && bitmapHandle != nullptr) {
        surface->previousBitmap = SelectObject(memory, static_cast<HBITMAP>(bitmapHandle));
    } else {
        // A memory device context is monochrome: make the surface like the parent's instead.
        HDC screen = parentDc;
        HDC temporary = nullptr;
        if (screen == nullptr) {
            temporary = gdi::getDC(nullptr);
            screen = temporary;
        }
        surface->ownSurface = gdi::createCompatibleBitmap(screen, width, height);
        gdi::releaseDC(nullptr, temporary);
        surface->previousBitmap = SelectObject(memory, surface->ownSurface);
    }
    deviceContext = memory;
    return surface;
}

void copyPixels(void* sourceDeviceContext, void* destinationDeviceContext, const Rect& destination,
                Point source) {
    auto* from = static_cast<HDC>(sourceDeviceContext);
    auto* to = static_cast<HDC>(destinationDeviceContext);
    if (from == nullptr || to == nullptr) {
        return;
    }
    BitBlt(to, destination.left, destination.top, destination.right - destination.left,
           destination.bottom - destination.top, from, source.h, source.v, SRCCOPY);
}

}  // namespace port
