// Bitmap: reference counting, and pictures the port loads, makes and draws.
#include "gui/Bitmap.h"

#include "gui/DrawContext.h"

namespace {

void* deviceContextOf(DrawContext* context) {
    return context != nullptr ? context->getDeviceContext() : nullptr;
}

}  // namespace

Bitmap::Bitmap(int32_t id) : resourceId(id) {
    int32_t loadedWidth = 0;
    int32_t loadedHeight = 0;
    picture.reset(port::loadBitmap(id & 0xffff, loadedWidth, loadedHeight));
    if (picture != nullptr) {
        width = loadedWidth;
        height = loadedHeight;
    }
}

Bitmap::Bitmap(Frame* /*frame*/, int32_t w, int32_t h) {
    // An empty size has no picture on either port (GDI would make a 1 x 1 monochrome one).
    if (w > 0 && h > 0) {
        picture.reset(port::createBitmap(w, h));
    }
    if (picture != nullptr) {
        width = w;
        height = h;
    }
}

Bitmap::~Bitmap() = default;

void Bitmap::release() {
    if (referenceCount <= 0) {
        return;
    }
    if (--referenceCount == 0) {
        delete this;
    }
}

void* Bitmap::getHandle() const { return picture != nullptr ? port::bitmapHandle(*picture) : nullptr; }

bool Bitmap::hasMask() const { return picture != nullptr && port::bitmapHasMask(*picture); }

void Bitmap::draw(DrawContext* context, const Rect& destination, Point source) {
    void* target = deviceContextOf(context);
    if (picture != nullptr && target != nullptr) {
        port::drawBitmap(*picture, target, destination, source);
    }
}

void Bitmap::drawColorKeyed(DrawContext* context, const Rect& destination, Point source) {
    void* target = deviceContextOf(context);
    if (picture != nullptr && target != nullptr) {
        port::drawBitmapColorKeyed(*picture, target, destination, source, colorKey);
    }
}
