// The colours and small drawing steps the editor's panels share.
#pragma once

#include "gui/DrawContext.h"

namespace panelPaint {

constexpr Color kPanel{234, 226, 205, 0};   // slider bank and step panel background
constexpr Color kTrough{200, 200, 220, 0};  // behind a bar that sets a value
constexpr Color kBar{135, 157, 214, 0};     // such a bar
constexpr Color kInk = colorBlack;          // outlines, numbers and labels

// Fills the inside of rect with fill, then outlines it with line.
inline void fillAndOutline(DrawContext* context, const Rect& rect, Color fill, Color line) {
    context->setFillColor(fill);
    context->fillRect(rect);
    context->setLineColor(line);
    context->strokeRect(rect);
}

}  // namespace panelPaint
