// PopupPicture: opening, closing and drawing the picture.
#include "gui/PopupPicture.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"

PopupPicture::PopupPicture(const Rect& rect, ControlListener* controlListener, int32_t controlTag,
                           Bitmap* picture, const Rect& popup, Point sourcePoint)
    : Control(rect, controlListener, controlTag, picture), popupRect(popup), source(sourcePoint) {}

void PopupPicture::draw(DrawContext* context) {
    if (value != 0.0f && background != nullptr) {
        if (transparent) {
            background->drawColorKeyed(context, popupRect, source);
        } else {
            background->draw(context, popupRect, source);
        }
    }
    setDirty(false);
}

void PopupPicture::mouse(DrawContext* context, Point& /*where*/) {
    if (!mouseEnabled || (context->mouseButtons() & buttonLeft) == 0) {
        return;
    }
    value = value == 0.0f ? 1.0f : 0.0f;
    if (value != 0.0f) {
        // Without a Frame that accepts it as the modal view the picture cannot be shown. Stay
        // closed: a value of 1 here would make the next click "restore" the never-saved size.
        if (frame == nullptr || frame->setModalView(this) == 0) {
            value = 0.0f;
            setDirty(true);
            return;
        }
        savedRect = size;
        size = popupRect;
        draw(context);
    } else {
        size = savedRect;
        if (frame != nullptr) {
            frame->setModalView(nullptr);
            frame->draw(context);
        }
    }
    if (listener != nullptr) {
        listener->valueChanged(context, this);
    }
    setDirty(true);
}
