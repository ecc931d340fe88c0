// What the toolkit makes of X input: button and modifier masks, and which presses are clicks.
#pragma once

#include <cstdint>

namespace x11port {

// buttonLeft | buttonMiddle | buttonRight | modShift | modControl | modAlt of an X state mask.
int32_t buttonsFromMask(unsigned int mask);
// The state a press of X button `button` (1 left, 2 middle, 3 right) reports, given the state
// mask before it; 0 when the press is no click (the wheel's 4 to 7, side buttons), as the
// Windows port handles only left, middle and right presses.
int32_t pressButtons(unsigned int button, unsigned int stateBefore);

}  // namespace x11port
