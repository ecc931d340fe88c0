// ValueDisplay: formatting and drawing of the value text.
#include "gui/ValueDisplay.h"

#include <cstdio>

#include "gui/Bitmap.h"

ValueDisplay::ValueDisplay(const Rect& rect, Bitmap* bitmap, int32_t displayStyle)
    : Control(rect, nullptr, 0, bitmap), style(displayStyle) {
    if ((style & kDisplayNoDrawing) != 0) {
        setDirty(false);
    }
}

void ValueDisplay::formatValue(char (&text)[kDisplayTextSize]) {
    text[0] = 0;
    if (formatterWithData != nullptr) {
        formatterWithData(value, text, userData);
    } else if (formatter != nullptr) {
        formatter(value, text);
    } else {
        std::snprintf(text, sizeof text, "%2.2f", static_cast<double>(value));
    }
    // A formatter that overruns its 255 characters must not take the drawing with it.
    text[kDisplayTextSize - 1] = 0;
}

void ValueDisplay::draw(DrawContext* context) {
    char text[kDisplayTextSize];
    formatValue(text);
    drawValueText(context, text, nullptr);
}

void ValueDisplay::drawValueText(DrawContext* context, const char* text, Bitmap* bitmap) {
    setDirty(false);
    if ((style & kDisplayNoDrawing) != 0) {
        return;
    }
    const bool bevel = (style & (kDisplayBevelDown | kDisplayBevelUp)) != 0;
    Bitmap* picture = bitmap != nullptr ? bitmap : background;
    if (picture != nullptr) {
        if (transparent) {
            picture->drawColorKeyed(context, size, backgroundOffset);
        } else {
            picture->draw(context, size, backgroundOffset);
        }
    } else if (!transparent) {
        context->setFillColor(backColor);
        context->fillRect(size);
        if (!bevel) {
            context->setLineColor(lineColor);
            context->strokeRect(size);
        }
    }
    if (bevel) {
        const bool down = (style & kDisplayBevelDown) != 0;
        context->setLineColor(down ? backColor : lineColor);
        context->moveTo(Point{size.left, size.bottom});
        context->lineTo(Point{size.left, size.top});
        context->lineTo(Point{size.right + 1, size.top});
        context->setLineColor(down ? lineColor : backColor);
        context->moveTo(Point{size.right, size.top + 1});
        context->lineTo(Point{size.right, size.bottom});
        context->lineTo(Point{size.left, size.bottom});
    }
    if ((style & kDisplayNoText) != 0) {
        return;
    }
    context->setFont(fontId, 0, fontFace);
    if ((style & kDisplayShadowText) != 0) {
        context->setTextColor(shadowColor);
        context->drawText(text, size.offset(1, 1), !textTransparent, alignment);
    }
    context->setTextColor(textColor);
    context->drawText(text, size, !textTransparent, alignment);
}

void ValueDisplay::setFontId(int32_t id) {
    if (fontId != id) {
        setDirty(true);
    }
    fontId = id;
}

void ValueDisplay::setTextColor(Color color) {
    if (!sameRgb(textColor, color)) {
        setDirty(true);
    }
    textColor = color;
}

void ValueDisplay::setBackColor(Color color) {
    if (!sameRgb(backColor, color)) {
        setDirty(true);
    }
    backColor = color;
}

void ValueDisplay::setLineColor(Color color) {
    if (!sameRgb(lineColor, color)) {
        setDirty(true);
    }
    lineColor = color;
}

void ValueDisplay::setShadowColor(Color color) {
    if (!sameRgb(shadowColor, color)) {
        setDirty(true);
    }
    shadowColor = color;
}

void ValueDisplay::setAlignment(int32_t newAlignment) {
    if (alignment != newAlignment) {
        setDirty(true);
    }
    alignment = newAlignment;
}

void ValueDisplay::setBackgroundOffset(Point offset) { backgroundOffset = offset; }

void ValueDisplay::setFormatterWithData(ValueFormatterWithData function, void* data) {
    formatterWithData = function;
    userData = data;
}

void ValueDisplay::setFormatter(ValueFormatter function) { formatter = function; }

void ValueDisplay::setParser(ValueParser function) { parser = function; }

void ValueDisplay::setStyle(int32_t newStyle) {
    if (style != newStyle) {
        setDirty(true);
    }
    style = newStyle;
}

void ValueDisplay::setFontFace(int32_t face) {
    if (fontFace != face) {
        setDirty(true);
    }
    fontFace = face;
}

void ValueDisplay::setTextTransparent(bool state) { textTransparent = state; }
