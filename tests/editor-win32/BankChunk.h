// The fields of the bank chunk (effGetChunk with index 0) that the editor edits; the layout is
// the plug-in's own (engine/FreezeProgram.h).
#pragma once

#include <cstdint>
#include <vector>

struct Bank {
    std::vector<unsigned char> bytes;
    float step(int32_t i) const;
    float sequenceLength(int32_t program = 0) const;
    int32_t preFilterType(int32_t program = 0) const;
    int32_t postFilterType(int32_t program = 0) const;
    bool midiFlag(int32_t i) const;  // 0 note control, 1 record start, 2 repeat till note-off
    void setStep(int32_t i, float value);
    void setMidiFlag(int32_t i, bool on);
};
