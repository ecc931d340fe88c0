// Shared by the fuzz targets: a host whose time answers the input chooses, an effect driven
// only through its record, audio blocks and the checks every target makes after each step.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "FuzzRequire.h"
#include "gui/x11/HeadlessScreen.h"
#include "vst2/FreezeEffectEdit.h"

// The time record the host serves; null when the input says the host has none.
struct FuzzHost {
    VstTimeInfo time{};
    bool serveTime = true;
    FuzzHost() {
        time.sampleRate = 44100.0;
        time.tempo = 120.0;
    }
};

inline FuzzHost& fuzzHost() {
    static FuzzHost host;
    return host;
}

inline intptr_t VSTCALL fuzzHostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetTime && fuzzHost().serveTime)
        return reinterpret_cast<intptr_t>(&fuzzHost().time);
    return 0;
}

// A sample rate or tempo as hosts send them, with the odd values some do: 0, negative,
// huge, NaN and infinities.
inline double fuzzRate(FuzzedDataProvider& in, const double* usual, size_t usualCount) {
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: return 0.0;
    case 1: return -in.ConsumeFloatingPointInRange<double>(0.0, 1e6);
    case 2: return in.ConsumeFloatingPoint<double>();
    case 3: return std::nan("");
    case 4: return std::numeric_limits<double>::infinity();
    case 5: return in.ConsumeFloatingPointInRange<double>(0.0, 400000.0);
    default: return usual[in.ConsumeIntegralInRange<size_t>(0, usualCount - 1)];
    }
}

inline void fuzzTime(FuzzedDataProvider& in) {
    static const double rates[] = {44100.0, 48000.0, 96000.0, 22050.0, 8000.0, 192000.0};
    static const double tempos[] = {120.0, 90.0, 174.0, 60.0, 1.0, 999.0};
    FuzzHost& host = fuzzHost();
    host.serveTime = in.ConsumeIntegralInRange<int>(0, 15) != 0;
    host.time.sampleRate = fuzzRate(in, rates, 6);
    host.time.tempo = fuzzRate(in, tempos, 6);
}

// A VstEvents list as hosts lay it out (numEvents pointers after the header), with events
// of any type, status, data bytes and sample offset.
class FuzzEvents {
public:
    VstEvents* build(FuzzedDataProvider& data) {
        const int32_t count = data.ConsumeIntegralInRange<int32_t>(0, 64);
        events.assign(static_cast<size_t>(count), VstMidiEvent{});
        for (VstMidiEvent& event : events) {
            event.type =
                data.ConsumeIntegralInRange<int>(0, 7) == 0 ? data.ConsumeIntegral<int32_t>() : kVstMidiType;
            event.byteSize = sizeof(VstMidiEvent);
            switch (data.ConsumeIntegralInRange<int>(0, 3)) {
            case 0: event.deltaFrames = data.ConsumeIntegral<int32_t>(); break;
            case 1: event.deltaFrames = -data.ConsumeIntegralInRange<int32_t>(0, 100); break;
            default: event.deltaFrames = data.ConsumeIntegralInRange<int32_t>(0, 5000); break;
            }
            static const unsigned char statuses[] = {0x90, 0x80, 0x9F, 0x8A, 0xB0, 0xC0, 0xE0, 0xF0};
            event.midiData[0] =
                static_cast<char>(data.ConsumeBool() ? statuses[data.ConsumeIntegralInRange<int>(0, 7)]
                                                     : data.ConsumeIntegral<uint8_t>());
            event.midiData[1] = static_cast<char>(data.ConsumeIntegral<uint8_t>());
            event.midiData[2] = static_cast<char>(data.ConsumeIntegral<uint8_t>());
            event.midiData[3] = static_cast<char>(data.ConsumeIntegral<uint8_t>());
        }
        storage.assign(sizeof(VstEvents) + events.size() * sizeof(VstEvent*), 0);
        auto* list = reinterpret_cast<VstEvents*>(storage.data());
        list->numEvents = count;
        VstEvent** pointers = list->events;
        for (size_t i = 0; i < events.size(); ++i) pointers[i] = reinterpret_cast<VstEvent*>(&events[i]);
        return list;
    }

private:
    std::vector<VstMidiEvent> events;
    std::vector<unsigned char> storage;
};

// A plug-in instance created as the entry point creates it, reached only through its record.
class FuzzPlugin {
public:
    static constexpr int32_t kMaxFrames = 4096;

    // Every run starts from the same host, so that a saved input replays exactly.
    FuzzPlugin()
        : effect((fuzzHost() = FuzzHost(), new FreezeEffectEdit(fuzzHostCallback))),
          record(effect->getEffectRecord()) {
        for (auto& channel : in) channel.assign(kMaxFrames, 0.0f);
        for (auto& channel : out) channel.assign(kMaxFrames, 0.0f);
    }
    FuzzPlugin(const FuzzPlugin&) = delete;
    FuzzPlugin& operator=(const FuzzPlugin&) = delete;
    // effClose deletes the object, as a host ends an instance.
    ~FuzzPlugin() {
        if (hostWindow != nullptr) dispatch(effEditClose);
        dispatch(effClose);
        if (hostWindow != nullptr) headless::destroyHostWindow(hostWindow);
    }

    // The editor open in a headless window, idled: every panel draws what the engine holds now.
    void idleEditor() {
        if (hostWindow == nullptr) {
            headless::enable();
            hostWindow = headless::createHostWindow(0, 0, 600, 400);
            FUZZ_REQUIRE(dispatch(effEditOpen, 0, 0, hostWindow) == 1, "the editor does not open");
        }
        dispatch(effEditIdle);
    }

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f) {
        return record->dispatcher(record, opcode, index, value, ptr, opt);
    }
    void setParameter(int32_t index, float value) { record->setParameter(record, index, value); }
    float getParameter(int32_t index) { return record->getParameter(record, index); }
    FreezeEffect& engine() { return *effect; }

    // Fills the next block with audio chosen by the input. Finite content stays within
    // +-4; arbitrary content (raw bytes as floats) only when allowed.
    void fillInput(FuzzedDataProvider& data, int32_t frames, bool allowArbitrary) {
        const int kind = data.ConsumeIntegralInRange<int>(0, allowArbitrary ? 5 : 4);
        const float amplitude = data.ConsumeFloatingPointInRange<float>(0.0f, 4.0f);
        uint32_t seed = data.ConsumeIntegral<uint32_t>() | 1u;
        for (int32_t i = 0; i < frames; ++i) {
            for (int c = 0; c < 2; ++c) {
                float x = 0.0f;
                switch (kind) {
                case 0: break;  // silence
                case 1: x = amplitude; break;
                case 2: x = amplitude * std::sin(0.05f * static_cast<float>(i + c)); break;
                case 3:  // noise
                    seed ^= seed << 13;
                    seed ^= seed >> 17;
                    seed ^= seed << 5;
                    x = amplitude * (static_cast<float>(seed % 20001u) / 10000.0f - 1.0f);
                    break;
                case 4: x = (i % 997 == 0) ? amplitude : 0.0f; break;  // clicks
                default: {
                    const uint32_t bits = data.ConsumeIntegral<uint32_t>();
                    std::memcpy(&x, &bits, sizeof x);
                    break;
                }
                }
                if (!std::isfinite(x) || std::fabs(x) > 4.0f)
                    arbitraryInput = true;
                else
                    inputPeak = std::max(inputPeak, std::fabs(x));
                in[c][static_cast<size_t>(i)] = x;
            }
        }
    }

    // One block through the replacing or accumulating entry; checks the output is finite
    // as long as every input so far was finite audio.
    void processBlock(FuzzedDataProvider& data, bool allowArbitrary = false) {
        const int32_t frames = data.ConsumeIntegralInRange<int32_t>(0, kMaxFrames);
        fillInput(data, frames, allowArbitrary);
        const bool accumulate = data.ConsumeBool();
        for (auto& channel : out) std::fill(channel.begin(), channel.end(), 0.0f);
        float* inputs[2] = {in[0].data(), in[1].data()};
        float* outputs[2] = {out[0].data(), out[1].data()};
        if (accumulate)
            record->process(record, inputs, outputs, frames);
        else
            record->processReplacing(record, inputs, outputs, frames);
        if (arbitraryInput) return;
        // Loop material is the input through the pre filter (at most 20 times, the largest
        // sum of any design's impulse response), at a gain of at most 1, rounded down by at
        // most 0.5, through the post filter; the dry path adds the input.
        const float bound = 20.0f * (20.0f * inputPeak + 0.5f) + inputPeak;
        for (int32_t i = 0; i < frames; ++i) {
            const float l = out[0][static_cast<size_t>(i)];
            const float r = out[1][static_cast<size_t>(i)];
            FUZZ_REQUIRE(std::isfinite(l) && std::isfinite(r), "output not finite for finite input");
            FUZZ_REQUIRE(std::fabs(l) <= bound && std::fabs(r) <= bound,
                         "output above what the settings allow");
        }
    }

    // What the editor reads must stay inside the ranges the panels index with.
    void checkReaders() {
        const FreezeEffect& e = *effect;
        FUZZ_REQUIRE(e.plugin().getSequenceLength() >= 1 && e.plugin().getSequenceLength() <= 16, "sequence length");
        // A shorter sequence set later applies from the next advance on; the index never
        // passes 16, the last step a full sequence reaches.
        FUZZ_REQUIRE(e.plugin().getStepIndex() >= 0 && e.plugin().getStepIndex() <= kMaxSteps, "step index");
        const int pre = static_cast<int>(e.plugin().getPreFilterType());
        const int post = static_cast<int>(e.plugin().getPostFilterType());
        FUZZ_REQUIRE(pre >= 0 && pre <= kMaxFilterType && post >= 0 && post <= kMaxFilterType, "filter type");
        FUZZ_REQUIRE(e.plugin().getLoopLength() >= 0 && e.plugin().getLoopLength() <= kMaxLoopLength, "loop length");
        FUZZ_REQUIRE(e.plugin().getSizeSteps() >= 1 && e.plugin().getSizeSteps() <= 16, "size steps");
        FUZZ_REQUIRE(e.plugin().getBitsValue() >= 1.0f && e.plugin().getBitsValue() <= 32.0f, "bits value");
        // A bad input sample must not stay in the follower: it would never trigger again.
        FUZZ_REQUIRE(std::isfinite(e.plugin().getEnvelope()), "envelope not finite");
        FUZZ_REQUIRE(effect->getProgram() >= 0 && effect->getProgram() < kNumPrograms, "current program");
        volatile float sink = e.plugin().getEnvelope() + e.plugin().getThreshold() + e.plugin().getSequenceLengthValue();
        for (int32_t slot = 0; slot < kNumProgramValues; ++slot) sink = sink + e.plugin().getProgramValue(slot);
        for (int32_t step = 0; step < kNumStepValues; ++step) sink = sink + e.plugin().getStepValue(step);
        sink = sink + e.plugin().getBufferL()[kMaxLoopLength] + e.plugin().getBufferR()[0];
        (void)sink;
        (void)e.plugin().isInverse();
        (void)e.plugin().isMidiNoteControl();
        (void)e.plugin().isNoteRecordStart();
        (void)e.plugin().isRepeatTillNoteOff();
        (void)e.plugin().isRecording();
    }

    // Whatever came in, the freeze buffers hold finite samples only: the loop replays them.
    void checkBuffers() {
        const float* left = effect->plugin().getBufferL();
        const float* right = effect->plugin().getBufferR();
        for (int32_t i = 0; i < kBufferLength; ++i)
            FUZZ_REQUIRE(std::isfinite(left[i]) && std::isfinite(right[i]), "freeze buffer not finite");
    }

    // Saving and loading a chunk the plug-in itself produced changes nothing, except that
    // applying a program raises a sequence-length value below 0.07 to 0.07 in the program.
    void checkChunkRoundTrip(bool preset) {
        const std::vector<unsigned char> first = saveChunk(preset);
        loadChunk(preset, first);
        const std::vector<unsigned char> second = saveChunk(preset);
        for (size_t i = 0; i < first.size(); ++i) {
            const bool sequenceField = preset && i >= 48 && i < 52;
            if (!sequenceField) FUZZ_REQUIRE(first[i] == second[i], "chunk changed by a save and load");
        }
        if (preset) {
            float before;
            float after;
            std::memcpy(&before, first.data() + 48, 4);
            std::memcpy(&after, second.data() + 48, 4);
            FUZZ_REQUIRE(std::memcmp(&before, &after, 4) == 0 || (before < 0.07f && after == 0.07f),
                         "sequence length changed by a save and load");
        }
        loadChunk(preset, second);
        FUZZ_REQUIRE(saveChunk(preset) == second, "chunk changed by a second save and load");
    }

    std::vector<unsigned char> saveChunk(bool preset) {
        void* data = nullptr;
        const intptr_t size = dispatch(effGetChunk, preset ? 1 : 0, 0, &data);
        FUZZ_REQUIRE(size == (preset ? kPresetChunkSize : kBankChunkSize) && data, "chunk size");
        return std::vector<unsigned char>(static_cast<unsigned char*>(data),
                                          static_cast<unsigned char*>(data) + size);
    }

    void loadChunk(bool preset, std::vector<unsigned char> chunk) {
        const auto size = static_cast<intptr_t>(chunk.size());
        FUZZ_REQUIRE(dispatch(effSetChunk, preset ? 1 : 0, size, chunk.data()) == size, "set chunk");
    }

    // Texts the host reads fit the buffers hosts pass.
    void checkTexts() {
        char text[256];
        for (int32_t index = -1; index <= kNumParams; ++index) {
            std::memset(text, 0, sizeof text);
            dispatch(effGetParamDisplay, index, 0, text);
            FUZZ_REQUIRE(std::strlen(text) <= 8, "parameter display longer than 8 characters");
            dispatch(effGetParamName, index, 0, text);
            dispatch(effGetParamLabel, index, 0, text);
        }
        std::memset(text, 0, sizeof text);
        dispatch(effGetProgramName, 0, 0, text);
        FUZZ_REQUIRE(std::strlen(text) < kVstMaxProgNameLen, "program name longer than 23");
    }

    bool arbitraryInput = false;
    float inputPeak = 0.0f;

private:
    FreezeEffectEdit* effect;
    void* hostWindow = nullptr;
    AEffect* record;
    std::vector<float> in[2];
    std::vector<float> out[2];
};
