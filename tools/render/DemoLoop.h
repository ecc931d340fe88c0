// A synthesised drum loop, so that the offline host needs no input file.
#pragma once

#include "tools/render/AudioData.h"

// Kick, snare and hi-hats at the given tempo, two bars repeated for `seconds`, 44.1 kHz.
// The same on every platform up to the last bits of the sine function.
AudioData makeDemoLoop(double seconds, double tempo);
