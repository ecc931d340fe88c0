// OffscreenContext on a GDI memory device context.
#include "gui/OffscreenContext.h"

#include <windows.h>

#include "gui/Bitmap.h"
#include "gui/win32/GdiObjects.h"

OffscreenContext::OffscreenContext(DrawContext* parent, Bitmap* bitmap, bool drawIntoBitmap)
    : DrawContext(parent != nullptr ? parent->getFrame() : nullptr, nullptr, nullptr),
      sourceBitmap(bitmap) {
    if (bitmap != nullptr) {
        width = bitmap->getWidth();
        height = bitmap->getHeight();
    }
    initialBrush = nullptr;
    initialPen = nullptr;
    initialFont = nullptr;
    HDC parentDc = parent != nullptr ? static_cast<HDC>(parent->getDeviceContext()) : nullptr;
    HDC memory = gdi::createCompatibleDC(parentDc);
    if (memory == nullptr) {
        return;
    }
    // Without a bitmap there is nothing of its own to draw into.
    const bool intoBitmap = drawIntoBitmap && bitmap != nullptr && bitmap->getHandle() != nullptr;
    if (intoBitmap) {
        previousBitmap = SelectObject(memory, static_cast<HBITMAP>(bitmap->getHandle()));
    } else {
        // A memory device context is monochrome: make the surface like the parent's instead.
        HDC screen = parentDc;
        HDC temporary = nullptr;
        if (screen == nullptr) {
            temporary = gdi::getDC(nullptr);
            screen = temporary;
        }
        HBITMAP surface = gdi::createCompatibleBitmap(screen, width, height);
        gdi::releaseDC(nullptr, temporary);
        memoryBitmap = surface;
        ownsBitmap = true;
        previousBitmap = SelectObject(memory, surface);
    }
    deviceContext = memory;
    if (drawIntoBitmap) {
        return;
    }
    paintCopyOrBlack();
}

OffscreenContext::~OffscreenContext() {
    HDC memory = static_cast<HDC>(deviceContext);
    if (memory != nullptr) {
        // Give the memory context its own bitmap back so that ours is free to be deleted or
        // selected elsewhere.
        SelectObject(memory, static_cast<HGDIOBJ>(previousBitmap));
        gdi::deleteDC(memory);
    }
    deviceContext = nullptr;
    if (ownsBitmap) {
        gdi::deleteObject(static_cast<HGDIOBJ>(memoryBitmap));
    }
    memoryBitmap = nullptr;
}

void OffscreenContext::blitTo(DrawContext* destination, const Rect& destinationRect, Point source) {
    HDC target = destination != nullptr ? static_cast<HDC>(destination->getDeviceContext()) : nullptr;
    HDC memory = static_cast<HDC>(deviceContext);
    if (target == nullptr || memory == nullptr) {
        return;
    }
    BitBlt(target, destinationRect.left, destinationRect.top,
           destinationRect.right - destinationRect.left, destinationRect.bottom - destinationRect.top,
           memory, source.h, source.v, SRCCOPY);
}
