// Fuzz target: arbitrary sequences of parameter and program changes, the editor's engine
// operations, mode toggles, host time changes, suspend and resume, the editor's idle (every
// panel drawn from whatever the engine holds), and blocks of arbitrary size and content (NaN,
// infinities and huge values included).
#include "FuzzHarness.h"

namespace {

float pickValue(FuzzedDataProvider& data) {
    switch (data.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return data.ConsumeFloatingPoint<float>();
    case 1: return data.ConsumeFloatingPointInRange<float>(-2.0f, 3.0f);
    default: return data.ConsumeProbability<float>();
    }
}

int32_t pickIndex(FuzzedDataProvider& data, int32_t usualEnd) {
    return data.ConsumeIntegralInRange<int>(0, 7) == 0 ? data.ConsumeIntegral<int32_t>()
                                                       : data.ConsumeIntegralInRange<int32_t>(-1, usualEnd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    FuzzPlugin plugin;
    FreezeEffect& engine = plugin.engine();
    while (data.remaining_bytes() > 0) {
        switch (data.ConsumeIntegralInRange<int>(0, 15)) {
        case 0:
        case 1: {
            const int32_t index = pickIndex(data, kNumParams);
            const float value = pickValue(data);
            plugin.setParameter(index, value);
            const float back = plugin.getParameter(index);
            if (index >= 0 && index < kNumParams)
                FUZZ_REQUIRE(std::memcmp(&back, &value, sizeof value) == 0,
                             "a parameter does not read back as it was set");
            break;
        }
        case 2: plugin.dispatch(effSetProgram, 0, pickIndex(data, kNumPrograms)); break;
        case 3: engine.plugin().setProgramValue(pickIndex(data, kNumProgramValues), pickValue(data)); break;
        case 4: engine.plugin().setThreshold(pickValue(data)); break;
        case 5: engine.plugin().toggleInverse(); break;
        case 6: engine.plugin().setStepValue(pickIndex(data, kNumStepValues), pickValue(data)); break;
        case 7: engine.plugin().setSequenceLength(pickValue(data)); break;
        case 8: engine.plugin().cycleFilterType(pickIndex(data, 3)); break;
        case 9:
            switch (data.ConsumeIntegralInRange<int>(0, 2)) {
            case 0: engine.plugin().toggleMidiNoteControl(); break;
            case 1: engine.plugin().toggleNoteRecordStart(); break;
            default: engine.plugin().toggleRepeatTillNoteOff(); break;
            }
            break;
        case 10: fuzzTime(data); break;
        case 11: plugin.dispatch(effMainsChanged, 0, data.ConsumeIntegralInRange<int>(0, 1)); break;
        case 12: {
            const int32_t note = data.ConsumeIntegralInRange<int32_t>(0, 127);
            engine.plugin().noteOn(note, data.ConsumeIntegralInRange<int32_t>(-10, 5000));
            if (data.ConsumeBool()) engine.plugin().noteOff();
            break;
        }
        case 13: plugin.idleEditor(); break;
        default: plugin.processBlock(data, true); break;
        }
        plugin.checkReaders();
    }
    plugin.checkTexts();
    plugin.checkBuffers();
    plugin.checkChunkRoundTrip(true);
    plugin.checkChunkRoundTrip(false);
    return 0;
}
