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
        drawResized(target, targetScale, destination, source);
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
        drawResized(target, targetScale, destination, source);
    }
}

void Bitmap::drawResized(void* target, Scale targetScale, const Rect& destination, Point source) {
    BitmapPort* whole = resizedFor(targetScale, target);
    if (whole != nullptr) {
        port::drawBitmap(*whole, target, targetScale.device(destination), targetScale.device(source));
        return;
    }
    const Rect from = scale.device(
        Rect{source.h, source.v, source.h + destination.width(), source.v + destination.height()});
    port::drawBitmapScaled(*picture, target, targetScale.device(destination), from);
}

BitmapPort* Bitmap::resizedFor(Scale targetScale, void* target) {
    if (resized != nullptr && resizedScale == targetScale) {
        return resized.get();
    }
    resized.reset();
    const int32_t resizedWidth = targetScale.device(width);
    const int32_t resizedHeight = targetScale.device(height);
    if (resizedWidth <= 0 || resizedHeight <= 0) {
        return nullptr;
    }
    std::unique_ptr<BitmapPort, PortDeleter> made(port::createBitmap(resizedWidth, resizedHeight));
    if (made == nullptr) {
        return nullptr;
    }
    void* surfaceContext = nullptr;
    std::unique_ptr<OffscreenPort, PortDeleter> surface(port::openOffscreen(
        target, port::bitmapHandle(*made), true, resizedWidth, resizedHeight, surfaceContext));
    if (surfaceContext == nullptr) {
        return nullptr;
    }
    port::drawBitmapScaled(*picture, surfaceContext, Rect{0, 0, resizedWidth, resizedHeight},
                           Rect{0, 0, pixelWidth, pixelHeight});
    surface.reset();
    resized = std::move(made);
    resizedScale = targetScale;
    return resized.get();
}
