// PopupPicture: a click area that shows a picture as the Frame's modal view until clicked again.
#pragma once

#include "gui/Control.h"

// GUI thread only. Value 0: closed (small, invisible); 1: shown (popup size, modal).
class PopupPicture : public Control {
public:
    // picture becomes the control's background (one reference added).
    PopupPicture(const Rect& size, ControlListener* listener, int32_t tag, Bitmap* picture,
                 const Rect& popupRect, Point source = {});

    void draw(DrawContext* context) override;
    // A left-button press toggles between shown and closed.
    void mouse(DrawContext* context, Point& where) override;

    const Rect& getPopupRect() const { return popupRect; }
    const Rect& getSavedRect() const { return savedRect; }

protected:
    Rect popupRect;
    Rect savedRect;
    Point source;
};
