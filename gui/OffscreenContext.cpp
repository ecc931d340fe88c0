// The parts of OffscreenContext that both ports share; the surfaces themselves are the port's.
#include "gui/OffscreenContext.h"

#include "gui/Bitmap.h"

void OffscreenContext::paintCopyOrBlack() {
    if (sourceBitmap != nullptr) {
        sourceBitmap->draw(this, Rect{0, 0, width, height}, Point{0, 0});
    } else {
        setFillColor(colorBlack);
        fillRect(Rect{0, 0, width, height});
    }
}
