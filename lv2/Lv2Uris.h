// The URIs of the LV2 edition: the plug-in, its UI, its presets and its state. The plug-in URI
// is what hosts store in sessions; it never changes once released.
#pragma once

#define BRINDLE_LV2_URI "urn:fennelworks:brindleloop"
#define BRINDLE_LV2_UI_URI BRINDLE_LV2_URI "#ui"
#define BRINDLE_LV2_PRESET_PREFIX BRINDLE_LV2_URI ":preset:"
// State: the bank chunk (engine/ChunkLayout.h) under its own type, and the current program.
#define BRINDLE_LV2_STATE_BANK BRINDLE_LV2_URI "#bank"
#define BRINDLE_LV2_STATE_BANK_TYPE BRINDLE_LV2_URI "#BankChunk"
#define BRINDLE_LV2_STATE_PROGRAM BRINDLE_LV2_URI "#program"

// File names inside brindleLoop.lv2/.
#define BRINDLE_LV2_DSP_BINARY "brindleLoop_dsp.so"
#define BRINDLE_LV2_UI_BINARY "brindleLoop_ui.so"
