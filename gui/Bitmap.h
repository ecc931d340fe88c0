// Bitmap: a reference-counted picture, loaded from the module's resources or blank.
#pragma once

#include <cstdint>
#include <memory>

#include "gui/Color.h"
#include "gui/Geometry.h"
#include "gui/Port.h"

class DrawContext;
class Frame;

// GUI thread only; reference counts are plain integers.
class Bitmap {
public:
    // Loads bitmap resource number (resourceId & 0xffff) of this module; 0 x 0 when missing.
    explicit Bitmap(int32_t resourceId);
    // A blank picture compatible with the screen; pixels undefined until drawn. frame is unused.
    Bitmap(Frame* frame, int32_t width, int32_t height);
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    virtual ~Bitmap();

    void addRef() { ++referenceCount; }
    // Drops one reference and deletes the object at zero; does nothing at zero or below.
    void release();
    int32_t refCount() const { return referenceCount; }

    int32_t getWidth() const { return width; }
    int32_t getHeight() const { return height; }
    int32_t getResourceId() const { return resourceId; }
    Color getColorKey() const { return colorKey; }
    // The port's picture handle (Win32 HBITMAP, Linux cairo_surface_t), or none.
    void* getHandle() const;
    // True once a colour-keyed draw has made the mask; kept until destruction.
    bool hasMask() const;

    // Copies destination.width() x destination.height() pixels from source to
    // (destination.left, destination.top). The source is not clipped to the picture.
    void draw(DrawContext* context, const Rect& destination, Point source = {});
    // The same copy, leaving the target unchanged where the picture has the colour key.
    void drawColorKeyed(DrawContext* context, const Rect& destination, Point source = {});

protected:
    int32_t resourceId = -1;
    int32_t referenceCount = 1;
    int32_t width = 0;
    int32_t height = 0;
    Color colorKey = colorKeyDefault;
    // The port's picture and mask; none when loading or making it failed.
    std::unique_ptr<BitmapPort, PortDeleter> picture;
};
