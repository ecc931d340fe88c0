// Placement of one line of text in its box.
#include "gui/TextLayout.h"

#include "gui/DrawContext.h"

TextPlacement placeText(const Rect& rect, int32_t alignment, const TextMetrics& metrics) {
    TextPlacement place;
    place.clip = rect;
    if (alignment != alignCenter && alignment != alignRight) {
        place.clip.left += 1;
    }
    const Rect& box = place.clip;
    if (alignment == alignCenter) {
        place.origin.h = box.left + (box.width() - metrics.width) / 2;
    } else if (alignment == alignRight) {
        place.origin.h = box.right - metrics.width;
    } else {
        place.origin.h = box.left;
    }
    // Halves rounded separately, as the Windows DrawText does: an odd spare row goes below.
    place.origin.v = box.top + box.height() / 2 - metrics.height / 2;
    return place;
}
