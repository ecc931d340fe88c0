// ValueDisplay: a control showing its value as one line of text in a box; ignores the mouse.
#pragma once

#include <cstdint>

#include "gui/Color.h"
#include "gui/Control.h"
#include "gui/DrawContext.h"

// Style bits; others have no effect on drawing.
constexpr int32_t kDisplayShadowText = 0x4;
constexpr int32_t kDisplayBevelDown = 0x80;  // top-left back colour, bottom-right line colour
constexpr int32_t kDisplayBevelUp = 0x100;   // top-left line colour, bottom-right back colour
constexpr int32_t kDisplayNoText = 0x800;
constexpr int32_t kDisplayNoDrawing = 0x1000;  // also created clean

// Formatters write a NUL-terminated text of at most 255 characters into a 256-byte buffer whose
// first byte is already 0.
using ValueFormatter = void (*)(float value, char* text);
using ValueFormatterWithData = void (*)(float value, char* text, void* userData);
using ValueParser = float (*)(const char* text);

constexpr int32_t kDisplayTextSize = 256;

// GUI thread only.
class ValueDisplay : public Control {
public:
    ValueDisplay(const Rect& size, Bitmap* background = nullptr, int32_t style = 0);

    // Formats the value ("%2.2f" without a formatter) and draws it.
    void draw(DrawContext* context) override;

    // Setters mark the display dirty only when what they change is drawn differently.
    virtual void setFontId(int32_t id);
    virtual void setTextColor(Color color);
    virtual void setBackColor(Color color);
    virtual void setLineColor(Color color);
    virtual void setShadowColor(Color color);
    virtual void setAlignment(int32_t newAlignment);
    virtual void setBackgroundOffset(Point offset);
    virtual void setFormatterWithData(ValueFormatterWithData function, void* data);
    virtual void setFormatter(ValueFormatter function);
    virtual void setParser(ValueParser function);
    virtual void setStyle(int32_t newStyle);
    virtual void setFontFace(int32_t face);
    virtual void setTextTransparent(bool state);

    // Background, edge and text; bitmap (or else the control's background) behind the text.
    void drawValueText(DrawContext* context, const char* text, Bitmap* bitmap);

    int32_t getStyle() const { return style; }
    int32_t getAlignment() const { return alignment; }
    int32_t getFontId() const { return fontId; }
    int32_t getFontFace() const { return fontFace; }
    Color getTextColor() const { return textColor; }
    Color getBackColor() const { return backColor; }
    Color getLineColor() const { return lineColor; }
    Color getShadowColor() const { return shadowColor; }
    Point getBackgroundOffset() const { return backgroundOffset; }
    bool getTextTransparent() const { return textTransparent; }
    ValueParser getParser() const { return parser; }
    // The text draw would show for the current value.
    void formatValue(char (&text)[kDisplayTextSize]);

protected:
    ValueFormatter formatter = nullptr;
    ValueFormatterWithData formatterWithData = nullptr;
    ValueParser parser = nullptr;
    void* userData = nullptr;
    int32_t alignment = alignCenter;
    int32_t style = 0;
    int32_t fontId = 3;
    int32_t fontFace = 0;
    Color textColor = colorWhite;
    Color backColor = colorBlack;
    Color lineColor = colorBlack;
    Color shadowColor = colorRed;
    Point backgroundOffset;
    bool textTransparent = true;
};
