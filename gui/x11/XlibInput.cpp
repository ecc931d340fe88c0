// X button and modifier masks in the toolkit's terms.
#include "gui/x11/XlibInput.h"

#include <X11/X.h>

#include "gui/DrawContext.h"

namespace x11port {

int32_t buttonsFromMask(unsigned int mask) {
    int32_t buttons = 0;
    buttons |= (mask & Button1Mask) != 0 ? buttonLeft : 0;
    buttons |= (mask & Button2Mask) != 0 ? buttonMiddle : 0;
    buttons |= (mask & Button3Mask) != 0 ? buttonRight : 0;
    buttons |= (mask & ShiftMask) != 0 ? modShift : 0;
    buttons |= (mask & ControlMask) != 0 ? modControl : 0;
    buttons |= (mask & Mod1Mask) != 0 ? modAlt : 0;
    return buttons;
}

int32_t pressButtons(unsigned int button, unsigned int stateBefore) {
    // The event's state is the one before the press: the pressed button is not in it yet.
    switch (button) {
    case Button1: return buttonsFromMask(stateBefore | Button1Mask);
    case Button2: return buttonsFromMask(stateBefore | Button2Mask);
    case Button3: return buttonsFromMask(stateBefore | Button3Mask);
    default: return 0;
    }
}

}  // namespace x11port
