// Vst3Effect::process: the host's parameter points and note events become the plug-in's
// timed events, its process context the plug-in's transport, and its buses the stereo pair.
// Nothing here allocates or locks.
#include <algorithm>
#include <cmath>

#include "vst3/Vst3Effect.h"

using namespace v3;

namespace {

Transport transportOf(const ProcessContext* context) {
    Transport transport;
    if (!context) return transport;
    if ((context->state & kTempoValid) && std::isfinite(context->tempo) && context->tempo > 0.0) {
        transport.hasTempo = true;
        transport.tempo = context->tempo;
    }
    if ((context->state & kProjectTimeMusicValid) && std::isfinite(context->projectTimeMusic)) {
        transport.hasPosition = true;
        transport.beatPosition = context->projectTimeMusic;
    }
    transport.playing = (context->state & kPlaying) != 0;
    return transport;
}

// The stereo pair of a bus, or false when the host gave less.
bool stereoOf(const AudioBusBuffers* buses, int32 count, float* const*& channels) {
    if (count < 1 || !buses || buses[0].numChannels < 2 || !buses[0].channelBuffers32) return false;
    channels = buses[0].channelBuffers32;
    return channels[0] && channels[1];
}

bool hasEvents(ProcessData& data) {
    return (data.inputParameterChanges && data.inputParameterChanges->getParameterCount() > 0) ||
           (data.inputEvents && data.inputEvents->getEventCount() > 0);
}

}  // namespace

void Vst3Effect::gatherEvents(ProcessData& data, int32_t frames) {
    blockEventCount = 0;
    lateEventCount = 0;
    pendingProgram = -1;
    blockTouches = 0;
    const int32_t last = frames > 0 ? frames - 1 : 0;
    if (IParameterChanges* changes = data.inputParameterChanges) {
        const int32 queues = changes->getParameterCount();
        for (int32 q = 0; q < queues; ++q) {
            IParamValueQueue* queue = changes->getParameterData(q);
            if (!queue) continue;
            const ParamID id = queue->getParameterId();
            const int32 points = queue->getPointCount();
            if (id == static_cast<ParamID>(kProgramParamId)) {
                // Programs change before the block: the last point wins.
                int32 offset = 0;
                ParamValue value = 0.0;
                if (points > 0 && queue->getPoint(points - 1, offset, value) == kResultOk)
                    pendingProgram = programOfNormalised(value);
                continue;
            }
            if (id >= static_cast<ParamID>(kNumControls)) continue;
            const int32_t control = static_cast<int32_t>(id);
            if (points > 0) blockTouches |= 1u << control;
            for (int32 p = 0; p < points; ++p) {
                int32 offset = 0;
                ParamValue value = 0.0;
                if (queue->getPoint(p, offset, value) != kResultOk) continue;
                const float plain = FreezePlugin::valueOfNormalised(control, value);
                // A point at the block's end or later is the value the next block starts with.
                if (offset >= frames && frames > 0) {
                    if (lateEventCount < kNumControls) lateEvents[lateEventCount++] = {0, EventType::control, control, plain};
                    continue;
                }
                // Without room the point still acts, before the block.
                if (blockEventCount == kMaxEvents) {
                    neutral.setControl(control, plain);
                    continue;
                }
                blockEvents[blockEventCount++] = {std::clamp<int32_t>(offset, 0, last), EventType::control, control, plain};
            }
        }
    }
    if (IEventList* list = data.inputEvents) {
        const int32 count = list->getEventCount();
        for (int32 i = 0; i < count && blockEventCount < kMaxEvents; ++i) {
            Event event{};
            if (list->getEvent(i, event) != kResultOk || event.busIndex != 0) continue;
            const int32_t frame = std::clamp<int32_t>(event.sampleOffset, 0, last);
            if (event.type == kNoteOnEvent && event.noteOn.pitch >= 0 && event.noteOn.pitch <= 127) {
                // A note-on without velocity is a note-off, as in MIDI.
                const bool silent = !(event.noteOn.velocity > 0.0f);
                blockEvents[blockEventCount++] = {frame, silent ? EventType::noteOff : EventType::noteOn,
                                                  event.noteOn.pitch, event.noteOn.velocity * 127.0f};
            } else if (event.type == kNoteOffEvent) {
                blockEvents[blockEventCount++] = {frame, EventType::noteOff, event.noteOff.pitch, 0.0f};
            }
        }
    }
    // Queues come one parameter after another: order the points by frame, keeping each
    // queue's order (insertion sort: already sorted lists cost one pass).
    for (int32_t i = 1; i < blockEventCount; ++i) {
        const TimedEvent event = blockEvents[i];
        int32_t j = i;
        for (; j > 0 && blockEvents[j - 1].frame > event.frame; --j) blockEvents[j] = blockEvents[j - 1];
        blockEvents[j] = event;
    }
}

void Vst3Effect::markHostTouches() {
    for (uint32_t touched = blockTouches; touched != 0; touched &= touched - 1) {
        int32_t control = 0;
        while (!((touched >> control) & 1u)) ++control;
        hostTouches[control].fetch_add(1);
    }
}

tresult V3CALL Vst3Effect::process(ProcessData& data) {
    if (data.symbolicSampleSize != kSample32) return kInvalidArgument;
    const int32_t frames = data.numSamples > 0 ? data.numSamples : 0;
    float* const* in = nullptr;
    float* const* out = nullptr;
    const bool haveIn = stereoOf(data.inputs, data.numInputs, in);
    const bool haveOut = stereoOf(data.outputs, data.numOutputs, out);
    const Transport transport = transportOf(data.processContext);
    // Nearly every block: audio, and neither a parameter point nor an event.
    if (haveIn && haveOut && !hasEvents(data)) {
        neutral.process(in, out, frames, EventList{}, transport);
        data.outputs[0].silenceFlags = 0;
        return kResultOk;
    }
    gatherEvents(data, frames);
    if (pendingProgram >= 0) blockTouches = (1u << kNumControls) - 1;
    markHostTouches();
    if (pendingProgram >= 0) neutral.setProgram(pendingProgram);
    const EventList events{blockEvents, blockEventCount};
    if (haveIn && haveOut) {
        neutral.process(in, out, frames, events, transport);
        data.outputs[0].silenceFlags = 0;
    } else {
        // Only parameters (a flush) or buses the plug-in cannot play: the controls and notes
        // still take effect, all before the next block; outputs there are silent.
        for (int32_t i = 0; i < blockEventCount; ++i) blockEvents[i].frame = 0;
        neutral.process(nullptr, nullptr, 0, events, transport);
        if (haveOut) {
            std::fill(out[0], out[0] + frames, 0.0f);
            std::fill(out[1], out[1] + frames, 0.0f);
        }
    }
    for (int32_t i = 0; i < lateEventCount; ++i) neutral.setControl(lateEvents[i].number, lateEvents[i].value);
    markHostTouches();
    return kResultOk;
}
