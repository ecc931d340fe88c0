// The parts of DrawContext that both ports share: drawing made of the port's own primitives.
#include "gui/DrawContext.h"

void DrawContext::strokeRect(const Rect& rect) {
    moveTo(Point{rect.left, rect.top});
    lineTo(Point{rect.right, rect.top});
    lineTo(Point{rect.right, rect.bottom});
    lineTo(Point{rect.left, rect.bottom});
    lineTo(Point{rect.left, rect.top});
}
