// DrawContext: the context's state, kept here and applied through the port's primitives.
#include "gui/DrawContext.h"

#include <cstdlib>

#include "gui/Frame.h"

namespace {

// Dotted lines: three pixels on, three off.
constexpr int32_t kDotRun = 3;

}  // namespace

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
    // Bresenham over unscaled pixels, the end point left out, with the rounding of Windows' own
    // lines at scale 1: where a line passes exactly between two pixels, lines heading into octants
    // 3, 5, 6 and 8 (numbered from east turning towards +y) take the minor step early. Runs along
    // the major axis go to the port as one block each.
    const int32_t dx = to.h - from.h;
    const int32_t dy = to.v - from.v;
    int32_t octant = 0;
    if (dy > 0) {
        octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
    } else {
        octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
    }
    const bool major = octant == 1 || octant == 4 || octant == 5 || octant == 8;  // x steps every pixel
    const int32_t bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
    const int32_t majorLength = major ? std::abs(dx) : std::abs(dy);
    const int32_t minorLength = major ? std::abs(dy) : std::abs(dx);
    const int32_t stepX = dx > 0 ? 1 : -1;
    const int32_t stepY = dy > 0 ? 1 : -1;
    int32_t error = 2 * minorLength - majorLength;
    int32_t x = from.h;
    int32_t y = from.v;
    int32_t runLength = 0;
    Point runStart;
    auto flush = [&] {
        if (runLength > 0) {
            Rect run;
            if (major) {
                const int32_t first = stepX > 0 ? runStart.h : runStart.h - runLength + 1;
                run = Rect{first, runStart.v, first + runLength, runStart.v + 1};
            } else {
                const int32_t first = stepY > 0 ? runStart.v : runStart.v - runLength + 1;
                run = Rect{runStart.h, first, runStart.h + 1, first + runLength};
            }
            port::fillSolid(*portState, scale.device(run), lineColor);
        }
        runLength = 0;
    };
    for (int32_t i = 0; i < majorLength; ++i) {
        if (lineStyle != lineDotted || (i / kDotRun) % 2 == 0) {
            if (runLength == 0) {
                runStart = Point{x, y};
            }
            ++runLength;
        } else {
            flush();
        }
        const bool minorStep = error + bias > 0;
        error += minorStep ? 2 * minorLength - 2 * majorLength : 2 * minorLength;
        if (major) {
            x += stepX;
            y += minorStep ? stepY : 0;
        } else {
            y += stepY;
            x += minorStep ? stepX : 0;
        }
        if (minorStep) flush();
    }
    flush();
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
