// The LV2 state of an instance: what a VST 2 host's bank chunk and current program hold.
#pragma once

#include <lv2/state/state.h>

class Lv2Effect;

// Both need the host's URID map (LV2_STATE_ERR_NO_FEATURE without it).
// Stores the bank chunk (its own type, 1476 bytes) and the current program.
LV2_State_Status saveState(Lv2Effect& effect, LV2_State_Store_Function store, LV2_State_Handle handle);
// Refuses, before changing anything, a state without both properties, a bank of another type or
// size, or a program that is not an Int; the rest is the bank chunk loader's and program
// selection's own checking.
LV2_State_Status restoreState(Lv2Effect& effect, LV2_State_Retrieve_Function retrieve,
                              LV2_State_Handle handle);
