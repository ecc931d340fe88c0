// The plug-in's signal path with a time source of the caller's: the run loop inlined into the
// caller's process entry (the VST 2 adapter's), as it was before there was a neutral plug-in.
#pragma once

#include "engine/CoreObserver.h"
#include "engine/FreezeCoreBlock.h"
#include "plugin/FreezePlugin.h"

template <bool Accumulate, class Time>
void FreezePlugin::processWithTime(const float* const* inputs, float* const* outputs, int32_t frames, Time& time) {
    signal.processBlock<Accumulate>(inputs, outputs, frames, time, NoObserver{});
}
