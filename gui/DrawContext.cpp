// DrawContext: the context's state, kept here and applied through the port's primitives.
#include "gui/DrawContext.h"

#include <cstdlib>


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
    // The line over unscaled pixels (gui/LineRuns.h), each run one block of the port: the
    // blocks along the line, one line width across it.
    const bool across = std::abs(to.h - from.h) > std::abs(to.v - from.v);  // x steps every pixel
    const int32_t width = scale.lineWidth();
    forEachLineRun(from, to, lineStyle == lineDotted, [&](const Rect& run) {
        Rect block = scale.device(run);
        if (across) {
            block.bottom = block.top + width;
        } else {
            block.right = block.left + width;
        }
        port::fillSolid(*portState, block, lineColor);
    });
}

void DrawContext::strokeRect(const Rect& rect) {
    if (!scale.isUnit() && lineStyle != lineDotted && deviceContext != nullptr) {
        // Four edges of one line width; the outline ends with its right and bottom lines as at
        // 1x, without the ends of the bottom and left lines reaching past them.
        const Rect outer = scale.device(rect);
        const int32_t width = scale.lineWidth();
        const int32_t right = outer.right + width;
        const int32_t bottom = outer.bottom + width;
        port::fillSolid(*portState, Rect{outer.left, outer.top, right, outer.top + width}, lineColor);
        port::fillSolid(*portState, Rect{outer.left, outer.bottom, right, bottom}, lineColor);
        port::fillSolid(*portState, Rect{outer.left, outer.top, outer.left + width, bottom}, lineColor);
        port::fillSolid(*portState, Rect{outer.right, outer.top, right, bottom}, lineColor);
        pen = Point{rect.left, rect.top};
        return;
    }
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
    // Everything inside an outline of one line width (gui/Scale.h); nothing inside an outline
    // with no pixel between its edges, as at 1x.
    if (rect.right - rect.left < 2 || rect.bottom - rect.top < 2) {
        return;
    }
    const Rect outer = scale.device(rect);
    const Rect inside{outer.left + scale.lineWidth(), outer.top + scale.lineWidth(), outer.right, outer.bottom};
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
