// Prints an effect's identity, parameters and programs as a host reads them from the record.
#pragma once

#include <cstdio>

#include "vst2/VstApi.h"

// Asks through the record's dispatcher and parameter entries only; leaves the current
// program as it found it. Returns false when the record is unusable.
bool printEffectReport(AEffect* effect, std::FILE* out);

// 'BRLP' for 0x42524C50; characters outside printable ASCII show as '?'.
void fourCharText(int32_t code, char text[5]);
