// The press a window event reports, read by the first polls of its tracking loop.
#include "gui/PressMemory.h"

namespace pressMemory {

namespace {

struct PressState {
    bool buttonsUnread = false;
    bool positionUnread = false;
    int32_t buttons = 0;
    Point screen;
};

PressState current;

}  // namespace

PressScope::PressScope(int32_t buttons, Point screen) { current = PressState{true, true, buttons, screen}; }

PressScope::~PressScope() { current = PressState{}; }

bool takePressButtons(int32_t& buttons) {
    if (!current.buttonsUnread) return false;
    current.buttonsUnread = false;
    buttons = current.buttons;
    return true;
}

bool takePressPosition(Point& screen) {
    if (!current.positionUnread) return false;
    current.positionUnread = false;
    screen = current.screen;
    return true;
}

}  // namespace pressMemory
