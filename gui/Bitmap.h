// Bitmap: a reference-counted picture, loaded from the module's resources or blank.
#pragma once

#include <cstdint>
#include <memory>

#include "gui/Color.h"
#include "gui/Geometry.h"
#include "gui/Port.h"
#include "gui/Scale.h"

class DrawContext;
class Frame;

// GUI thread only; reference counts are plain integers.
class Bitmap {
public:
    // Loads bitmap resource number (resourceId & 0xffff) of this module; 0 x 0 when missing.
    explicit Bitmap(int32_t resourceId);
    // The artwork of that resource drawn for a scale: the 2x or 3x picture beside the 1x one
    // (resource numbers id + 2000 and id + 3000), the smallest that is at least as fine as
    // the scale, or the finest there is; sizes stay the 1x picture's.
    Bitmap(int32_t resourceId, Scale scale);
    // A blank picture compatible with the screen, at the frame's scale (1 without one); pixels
    // undefined until drawn. width and height are unscaled pixels.
    Bitmap(Frame* frame, int32_t width, int32_t height);
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    virtual ~Bitmap();

    void addRef() { ++referenceCount; }
    // Drops one reference and deletes the object at zero; does nothing at zero or below.
    void release();
    int32_t refCount() const { return referenceCount; }

    // Unscaled pixels.
    int32_t getWidth() const { return width; }
    int32_t getHeight() const { return height; }
    // The picture's own pixels, and how many of them an unscaled pixel holds.
    int32_t getPixelWidth() const { return pixelWidth; }
    int32_t getPixelHeight() const { return pixelHeight; }
    Scale getScale() const { return scale; }
    int32_t getResourceId() const { return resourceId; }
    Color getColorKey() const { return colorKey; }
    // The port's picture handle (Win32 HBITMAP, Linux cairo_surface_t), or none.
    void* getHandle() const;
    // True once a colour-keyed draw has made the mask; kept until destruction.
    bool hasMask() const;

    // Copies destination.width() x destination.height() pixels from source to
    // (destination.left, destination.top). The source is not clipped to the picture. A picture of
    // another scale than the context's is resized smoothly on the way.
    void draw(DrawContext* context, const Rect& destination, Point source = {});
    // The same copy, leaving the target unchanged where the picture has the colour key (at
    // another scale than the context's: a plain resized copy).
    void drawColorKeyed(DrawContext* context, const Rect& destination, Point source = {});

protected:
    // The picture's area for destination from source, at the target's scale: copied from the
    // whole picture resized once for that scale, so that a copy of any part equals that part of
    // a copy of the whole (each area resized on its own differs where the filter reaches past
    // its edges); resized directly when no such picture can be made.
    void drawResized(void* target, Scale targetScale, const Rect& destination, Point source);
    // The whole picture resized for a scale, made at the first use and kept until another
    // scale is asked for; none when it cannot be made.
    BitmapPort* resizedFor(Scale targetScale, void* target);

    int32_t resourceId = -1;
    int32_t referenceCount = 1;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pixelWidth = 0;
    int32_t pixelHeight = 0;
    Scale scale;
    Color colorKey = colorKeyDefault;
    // The port's picture and mask; none when loading or making it failed.
    std::unique_ptr<BitmapPort, PortDeleter> picture;
    std::unique_ptr<BitmapPort, PortDeleter> resized;
    Scale resizedScale;
};
