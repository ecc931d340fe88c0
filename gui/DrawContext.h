// DrawContext: a short-lived, stateful drawing surface with integer pixel rules, and the mouse.
#pragma once

#include <cstdint>
#include <memory>

#include "gui/Color.h"
#include "gui/FontTable.h"
#include "gui/Geometry.h"
#include "gui/Port.h"
#include "gui/Scale.h"

class Frame;

constexpr int32_t lineSolid = 0;
constexpr int32_t lineDotted = 1;  // any other value draws solid

constexpr int32_t alignLeft = 0;  // also every value other than alignCenter and alignRight
constexpr int32_t alignCenter = 1;
constexpr int32_t alignRight = 2;

// Bits of mouseButtons; several may be set at once.
constexpr int32_t buttonLeft = 1;
constexpr int32_t buttonMiddle = 2;
constexpr int32_t buttonRight = 4;
constexpr int32_t modShift = 8;
constexpr int32_t modControl = 16;
constexpr int32_t modAlt = 32;

// GUI thread only. Pixel rules: strokeRect covers both ends of both edges; fillRect paints exactly
// the inside of that outline; lineTo leaves its end point out; text boxes exclude right and bottom.
// Every coordinate is in unscaled pixels. At a scale other than 1 (the Frame's) each unscaled
// pixel is drawn as its block of device pixels (Scale::device), lines are as wide as a block,
// fonts are built at the scaled size (text is rendered there, not enlarged) and the pointer is
// read back in unscaled pixels. At scale 1 every operation is the port's own, pixel for pixel.
class DrawContext {
public:
    // deviceContext: the port's drawing handle (Win32 HDC, Linux cairo_t), not owned; window: the
    // port's window handle or none. Either may be absent.
    DrawContext(Frame* frame, void* deviceContext, void* window);
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;
    virtual ~DrawContext();

    void moveTo(Point point);
    // Line from the pen position to point in the line colour and style; point itself is not painted.
    void lineTo(Point point);
    void strokeRect(const Rect& rect);
    void fillRect(const Rect& rect);

    void setLineStyle(int32_t style);
    void setLineColor(Color color);
    void setFillColor(Color color);
    void setTextColor(Color color);
    // id 0..7 (others give 0), size in pixels (0 = the table's), face bits faceBold | faceItalic | ...
    void setFont(int32_t id, int32_t size = 0, int32_t face = 0);
    // One line, vertically centred; opaque backs the character cells with the fill colour.
    void drawText(const char* text, const Rect& rect, bool opaque = false, int32_t alignment = alignCenter);

    // buttonLeft | buttonMiddle | buttonRight | modShift | modControl | modAlt, sampled now.
    int32_t mouseButtons();
    // Pointer position relative to the window given at construction (screen position without one).
    void mousePosition(Point& where);

    Scale getScale() const { return scale; }
    Frame* getFrame() const { return frame; }
    void* getDeviceContext() const { return deviceContext; }
    void* getWindow() const { return window; }
    int32_t getFontId() const { return fontId; }
    int32_t getFontSize() const { return fontSize; }
    // The font the last setFont built (face, weight, italic ...).
    const FontChoice& getFontChoice() const { return fontChoice; }
    Color getTextColor() const { return textColor; }
    Color getLineColor() const { return lineColor; }
    Color getFillColor() const { return fillColor; }
    int32_t getLineStyle() const { return lineStyle; }

protected:
    // Screen position of the window's top-left corner at construction; used by mousePosition only.
    int32_t windowLeft = 0;
    int32_t windowTop = 0;
    void* deviceContext = nullptr;
    void* window = nullptr;
    Frame* frame = nullptr;
    int32_t fontSize = 0;
    int32_t fontId = 0;
    Color textColor = colorWhite;
    int32_t lineWidth = 1;
    Color lineColor = colorWhite;
    Color fillColor = colorBlack;
    int32_t lineStyle = lineSolid;
    FontChoice fontChoice;
    Scale scale;
    // The pen position in unscaled pixels (the port keeps its own at scale 1).
    Point pen;
    // What the port selected into the device context and made for it; released first when a
    // subclass gives its device context up.
    std::unique_ptr<DrawContextPort, PortDeleter> portState;

    // Applies line colour, style, fill and text colour to a fresh device context.
    void applyInitialState();

private:
    // A line at a scale: the pixels a line of one pixel would paint, each as its block.
    void scaledLine(Point from, Point to);
};
