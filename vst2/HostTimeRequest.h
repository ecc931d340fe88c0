// The time information of the host's record, asked for when a block needs it: what the
// effect's process entries hand to the signal path.
#pragma once

#include "engine/FreezeCore.h"
#include "vst2/HostEffectX.h"

// Not a TimeSource: processBlock takes it as its Time type, and an object without a table of
// virtual functions (and with its answer not cleared first) costs the block no stores.
class HostTimeRequest {
public:
    explicit HostTimeRequest(HostEffectX& host) : effect(host) {}
    const HostTime* blockTime() {
        const VstTimeInfo* info = effect.hostGetTime(kVstPpqPosValid | kVstTempoValid);
        if (!info) return nullptr;
        time.sampleRate = info->sampleRate;
        time.tempo = info->tempo;
        return &time;
    }

private:
    HostEffectX& effect;
    HostTime time;  // written before it is handed out
};
