// The pointer polls of tracking loops: the press's own state first, then the window system's.
#include "gui/x11/PointerPolls.h"

#include "gui/PressMemory.h"

namespace x11port {

int32_t pollButtons(void* window) {
    int32_t buttons = 0;
    if (pressMemory::takePressButtons(buttons)) {
        return buttons;
    }
    windowSystem().pointer(window, buttons, true);
    return buttons;
}

Point pollPosition(void* window) {
    Point pressed;
    if (pressMemory::takePressPosition(pressed)) {
        return pressed;
    }
    int32_t buttons = 0;
    return windowSystem().pointer(window, buttons, false);
}

}  // namespace x11port
