// Small drawing steps the editor's panels share.
#pragma once

#include "gui/DrawContext.h"

namespace panelPaint {

// Fills the inside of rect with fill, then outlines it with line.
inline void fillAndOutline(DrawContext* context, const Rect& rect, Color fill, Color line) {
    context->setFillColor(fill);
    context->fillRect(rect);
    context->setLineColor(line);
    context->strokeRect(rect);
}

}  // namespace panelPaint
