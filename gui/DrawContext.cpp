// DrawContext: the context's state, kept here and applied through the port's primitives.
#include "gui/DrawContext.h"


#include "gui/Frame.h"
#include "gui/LineRuns.h"

DrawContext::DrawContext(Frame* owner, void* context, void* windowHandle)
    : deviceContext(context), window(windowHandle), frame(owner), scale(owner != nullptr ? owner->getScale() : Scale()),
      portState(port::openContext(context)) {
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

void DrawContext::moveTo(Point point) {
    pen = point;
    if (scale.isUnit()) {
        port::moveTo(*portState, point);
    }
}

void DrawContext::lineTo(Point point) {
    if (scale.isUnit()) {
        port::lineTo(*portState, point);
    } else {
        scaledLine(pen, point);
    }
    pen = point;
}

void DrawContext::scaledLine(Point from, Point to) {
    if (deviceContext == nullptr) {
        return;
    }
    // The line over unscaled pixels (gui/LineRuns.h), each run one block of the port.
    forEachLineRun(from, to, lineStyle == lineDotted,
                   [&](const Rect& run) { port::fillSolid(*portState, scale.device(run), lineColor); });
}

void DrawContext::strokeRect(const Rect& rect) {
    moveTo(Point{rect.left, rect.top});
    lineTo(Point{rect.right, rect.top});
    lineTo(Point{rect.right, rect.bottom});
    lineTo(Point{rect.left, rect.bottom});
    lineTo(Point{rect.left, rect.top});
}

void DrawContext::fillRect(const Rect& rect) {
    if (scale.isUnit()) {
        port::fillInside(*portState, rect);
        return;
    }
    // The blocks of the unscaled pixels inside the outline.
    const Rect inside = scale.device(Rect{rect.left + 1, rect.top + 1, rect.right, rect.bottom});
    if (inside.right > inside.left && inside.bottom > inside.top) {
        port::fillInside(*portState, Rect{inside.left - 1, inside.top - 1, inside.right, inside.bottom});
    }
}

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
    FontChoice built = fontChoice;
    built.size = scale.fontSize(fontChoice.size);
    port::setFont(*portState, built);
}

void DrawContext::drawText(const char* text, const Rect& rect, bool opaque, int32_t alignment) {
    if (text != nullptr) {
        port::drawText(*portState, text, scale.device(rect), opaque, alignment);
    }
}

int32_t DrawContext::mouseButtons() { return port::mouseButtons(window); }

void DrawContext::mousePosition(Point& where) {
    const Point screen = port::mousePosition(window);
    where = scale.unscaled(Point{screen.h - windowLeft, screen.v - windowTop});
}
