// DrawContext: the context's state, kept here and applied through the port's primitives.
#include "gui/DrawContext.h"

DrawContext::DrawContext(Frame* owner, void* context, void* windowHandle)
    : deviceContext(context), window(windowHandle), frame(owner), portState(port::openContext(context)) {
    if (window != nullptr) {
        const Point origin = port::windowPosition(window);
        windowLeft = origin.h;
        windowTop = origin.v;
    }
    if (deviceContext != nullptr) {
        applyInitialState();
    }
}

DrawContext::~DrawContext() = default;

void DrawContext::applyInitialState() {
    setLineColor(lineColor);
    setLineStyle(lineStyle);
    setFillColor(fillColor);
    setTextColor(textColor);
}

void DrawContext::moveTo(Point point) { port::moveTo(*portState, point); }

void DrawContext::lineTo(Point point) { port::lineTo(*portState, point); }

void DrawContext::strokeRect(const Rect& rect) {
    moveTo(Point{rect.left, rect.top});
    lineTo(Point{rect.right, rect.top});
    lineTo(Point{rect.right, rect.bottom});
    lineTo(Point{rect.left, rect.bottom});
    lineTo(Point{rect.left, rect.top});
}

void DrawContext::fillRect(const Rect& rect) { port::fillInside(*portState, rect); }

void DrawContext::setLineStyle(int32_t style) {
    lineStyle = style;
    port::setLine(*portState, lineColor, lineStyle);
}

void DrawContext::setLineColor(Color color) {
    lineColor = color;
    port::setLine(*portState, lineColor, lineStyle);
}

void DrawContext::setFillColor(Color color) {
    fillColor = color;
    port::setFill(*portState, color);
}

void DrawContext::setTextColor(Color color) {
    textColor = color;
    port::setTextColor(*portState, color);
}

void DrawContext::setFont(int32_t id, int32_t size, int32_t face) {
    fontChoice = chooseFont(id, size, face);
    fontId = fontChoice.id;
    fontSize = fontChoice.size;
    port::setFont(*portState, fontChoice);
}

void DrawContext::drawText(const char* text, const Rect& rect, bool opaque, int32_t alignment) {
    if (text != nullptr) {
        port::drawText(*portState, text, rect, opaque, alignment);
    }
}

int32_t DrawContext::mouseButtons() { return port::mouseButtons(window); }

void DrawContext::mousePosition(Point& where) {
    const Point screen = port::mousePosition(window);
    where.h = screen.h - windowLeft;
    where.v = screen.v - windowTop;
}
