// The time information of the host's record, asked for when a block needs it: what the
// effect's process entries hand to the signal path.
#pragma once

#include "engine/FreezeCore.h"
#include "host/HostEffectX.h"

class HostTimeRequest final : public TimeSource {
public:
    explicit HostTimeRequest(HostEffectX& host) : effect(host) {}
    const HostTime* blockTime() override {
        const VstTimeInfo* info = effect.hostGetTime(kVstPpqPosValid | kVstTempoValid);
        if (!info) return nullptr;
        time.sampleRate = info->sampleRate;
        time.tempo = info->tempo;
        return &time;
    }

private:
    HostEffectX& effect;
    HostTime time{};
};
