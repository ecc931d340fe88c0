// Bitmap: reference counting, and pictures the port loads, makes and draws.
#include "gui/Bitmap.h"

#include <initializer_list>

#include "gui/DrawContext.h"
#include "gui/Frame.h"

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
        width = pixelWidth = loadedWidth;
        height = pixelHeight = loadedHeight;
    }
}

Bitmap::Bitmap(int32_t id, Scale wanted) : Bitmap(id) {
    if (wanted.isUnit() || picture == nullptr) {
        return;
    }
    // Finer artwork resized down stays sharp; coarser artwork blown up would not.
    for (const int32_t factor : {2, 3}) {
        if (wanted.percent() > factor * 100 && factor < 3) {
            continue;
        }
        int32_t loadedWidth = 0;
        int32_t loadedHeight = 0;
        std::unique_ptr<BitmapPort, PortDeleter> finer(
            port::loadBitmap((id + factor * 1000) & 0xffff, loadedWidth, loadedHeight));
        if (finer != nullptr && loadedWidth == width * factor && loadedHeight == height * factor) {
            picture = std::move(finer);
            pixelWidth = loadedWidth;
            pixelHeight = loadedHeight;
            scale = Scale::fromPercent(factor * 100);
            return;
        }
    }
}

Bitmap::Bitmap(Frame* frame, int32_t w, int32_t h) : scale(frame != nullptr ? frame->getScale() : Scale()) {
    // An empty size has no picture on either port (GDI would make a 1 x 1 monochrome one).
    if (w > 0 && h > 0) {
        picture.reset(port::createBitmap(scale.device(w), scale.device(h)));
    }
    if (picture != nullptr) {
        width = w;
        height = h;
        pixelWidth = scale.device(w);
        pixelHeight = scale.device(h);
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
    if (picture == nullptr || target == nullptr) {
        return;
    }
    const Scale targetScale = context->getScale();
    if (targetScale == scale) {
        port::drawBitmap(*picture, target, scale.device(destination), scale.device(source));
    } else {
        drawResized(target, targetScale.device(destination), destination, source);
    }
}

void Bitmap::drawColorKeyed(DrawContext* context, const Rect& destination, Point source) {
    void* target = deviceContextOf(context);
    if (picture == nullptr || target == nullptr) {
        return;
    }
    const Scale targetScale = context->getScale();
    if (targetScale == scale) {
        port::drawBitmapColorKeyed(*picture, target, scale.device(destination), scale.device(source), colorKey);
    } else {
        drawResized(target, targetScale.device(destination), destination, source);
    }
}

void Bitmap::drawResized(void* target, const Rect& deviceDestination, const Rect& destination, Point source) {
    const Rect from = scale.device(
        Rect{source.h, source.v, source.h + destination.width(), source.v + destination.height()});
    port::drawBitmapScaled(*picture, target, deviceDestination, from);
}
