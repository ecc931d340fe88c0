// FreezePlugin: construction, the rate, and the block with its events, transport and bypass.
#include "plugin/FreezePlugin.h"

#include <algorithm>
#include <cmath>

#include "engine/CoreObserver.h"
#include "engine/FreezeCoreBlock.h"

namespace {

constexpr double kUnknownTempo = 120.0;  // what a VST 2 host without time information plays at
// Bypass fades the effect out and in over this long, so the switch does not click.
constexpr double kBypassFadeSeconds = 0.01;
// A bypassed or fading stretch is handled this many frames at a time (the kept input's size).
constexpr int32_t kBypassChunk = 256;

// A time source that answers the block's one record.
class FixedTime {
public:
    explicit FixedTime(const HostTime& record) : time(record) {}
    const HostTime* blockTime() { return &time; }

private:
    const HostTime& time;
};

}  // namespace

FreezePlugin::FreezePlugin()
    : programs(new FreezeProgram[kNumPrograms]), chunkBuffer(new unsigned char[kBankChunkSize]()),
      setChunkScratch(new unsigned char[kBankChunkSize]()), fadeInput(new float[2 * kBypassChunk]()) {
    resetPrograms();
    setProgram(0);
    clearBuffers();
}

FreezePlugin::~FreezePlugin() = default;

void FreezePlugin::setSampleRate(double rate) {
    if (rate > 0.0 && std::isfinite(rate)) sampleRate = rate;
}

// Switched on or off: nothing plays yet, so bypass starts where it is, without a fade.
void FreezePlugin::clearBuffers() {
    signal.clearBuffers();
    bypassGain = bypassed.load() ? 0.0f : 1.0f;
}

void FreezePlugin::setBypass(bool on) { bypassed = on; }

void FreezePlugin::playBlock(const float* const* inputs, float* const* outputs, int32_t frames,
                             const Transport& transport) {
    takeTransport(transport);
    FixedTime time(blockTime);
    signal.processBlock<false>(inputs, outputs, frames, time, NoObserver{});
}

void FreezePlugin::takeTransport(const Transport& transport) {
    blockTime.sampleRate = sampleRate;
    blockTime.tempo = transport.hasTempo && std::isfinite(transport.tempo) ? transport.tempo : kUnknownTempo;
}

void FreezePlugin::processEvents(const float* const* inputs, float* const* outputs, int32_t frames,
                                 const EventList& events, const Transport& transport) {
    takeTransport(transport);
    const TimedEvent* list = events.count > 0 ? events.events : nullptr;
    const int32_t count = list ? events.count : 0;
    // As a VST 2 host orders them: parameters set before the block, then its event list.
    for (int32_t i = 0; i < count; ++i)
        if (list[i].type == EventType::control && list[i].frame <= 0) setControl(list[i].number, list[i].value);
    for (int32_t i = 0; i < count; ++i) {
        if (list[i].type == EventType::noteOn)
            noteOn(list[i].number, std::min(list[i].frame, frames > 0 ? frames - 1 : 0));
        else if (list[i].type == EventType::noteOff)
            noteOff();
    }
    if (frames <= 0 || !inputs || !outputs || !inputs[0] || !inputs[1] || !outputs[0] || !outputs[1]) {
        playBlock(inputs, outputs, frames, transport);  // the events only: nothing to play
        return;
    }
    int32_t done = 0;
    for (int32_t i = 0; i < count; ++i) {
        const TimedEvent& event = list[i];
        if (event.type != EventType::control || event.frame <= 0) continue;
        const int32_t at = std::min(event.frame, frames - 1);
        if (at > done) {
            runSignal(inputs, outputs, done, at - done);
            done = at;
        }
        setControl(event.number, event.value);
    }
    runSignal(inputs, outputs, done, frames - done);
}

void FreezePlugin::runSignal(const float* const* inputs, float* const* outputs, int32_t start, int32_t frames) {
    if (frames <= 0) return;
    const float* in[2] = {inputs[0] + start, inputs[1] + start};
    float* out[2] = {outputs[0] + start, outputs[1] + start};
    if (!bypassed.load() && bypassGain == 1.0f) {
        FixedTime time(blockTime);
        signal.processBlock<false>(in, out, frames, time, NoObserver{});
        return;
    }
    for (int32_t done = 0; done < frames;) {
        const int32_t n = std::min(frames - done, kBypassChunk);
        const float* chunkIn[2] = {in[0] + done, in[1] + done};
        float* chunkOut[2] = {out[0] + done, out[1] + done};
        runBypassed(chunkIn, chunkOut, n);
        done += n;
    }
}

// The signal path goes on hearing the input (a freeze may start the moment bypass ends); what
// it plays is faded against the input, and once faded out the output is the input exactly.
void FreezePlugin::runBypassed(const float* const* in, float* const* out, int32_t frames) {
    FixedTime time(blockTime);
    float* kept[2] = {fadeInput.get(), fadeInput.get() + kBypassChunk};
    std::copy(in[0], in[0] + frames, kept[0]);
    std::copy(in[1], in[1] + frames, kept[1]);
    signal.processBlock<false>(in, out, frames, time, NoObserver{});
    const float target = bypassed.load() ? 0.0f : 1.0f;
    const auto step = static_cast<float>(1.0 / (kBypassFadeSeconds * sampleRate));
    float gain = bypassGain;
    for (int32_t i = 0; i < frames; ++i) {
        gain = target > gain ? std::min(target, gain + step) : std::max(target, gain - step);
        for (int c = 0; c < 2; ++c)
            out[c][i] = gain == 0.0f ? kept[c][i]
                                     : (gain == 1.0f ? out[c][i] : kept[c][i] + gain * (out[c][i] - kept[c][i]));
    }
    bypassGain = gain;
}
