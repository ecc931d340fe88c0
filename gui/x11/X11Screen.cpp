// The screen's density on Linux.

#include "gui/Port.h"
#include "gui/x11/WindowSystem.h"

namespace port {

float screenScale(void* /*parentWindow*/) {
    // Desktop toolkits read the density the same way: 96 dots per inch is scale 1.
    const double dpi = x11port::windowSystem().screenDpi();
    return dpi > 0.0 ? static_cast<float>(dpi / 96.0) : 1.0f;
}

Point workArea(void* /*parentWindow*/) { return x11port::windowSystem().workArea(); }

}  // namespace port
