// OffscreenContext: a DrawContext over a memory surface, copied to the screen in one block.
#pragma once

#include "gui/DrawContext.h"

class Bitmap;

// GUI thread only. Must be destroyed before the Bitmap it draws into.
class OffscreenContext : public DrawContext {
public:
    // Surface compatible with parent's device context, the bitmap's size or 20 x 20 without one,
    // at the bitmap's scale (the parent's without one).
    // drawIntoBitmap: draw straight into the bitmap's pixels; otherwise a private copy of them
    // (or a black fill that leaves row 0 and column 0 unpainted when there is no bitmap).
    OffscreenContext(DrawContext* parent, Bitmap* bitmap, bool drawIntoBitmap);
    ~OffscreenContext() override;

    // Copies destination.width() x destination.height() pixels from source to
    // (destination.left, destination.top) of the destination context.
    void blitTo(DrawContext* destination, const Rect& destinationRect, Point source);

    // Unscaled pixels.
    int32_t getWidth() const { return width; }
    int32_t getHeight() const { return height; }
    // False when the memory surface could not be made; drawing then does nothing useful.
    bool isValid() const { return deviceContext != nullptr; }

protected:
    Bitmap* sourceBitmap = nullptr;
    int32_t height = 20;
    int32_t width = 20;
    // The memory surface the device context draws into.
    std::unique_ptr<OffscreenPort, PortDeleter> surface;

private:
    // The starting contents of a private surface: the source bitmap's pixels, or black.
    void paintCopyOrBlack();
};
