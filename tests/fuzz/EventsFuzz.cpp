// Fuzz target: processEvents with arbitrary event lists in every mode combination, each
// followed by audio, with the odd sample rates and tempos hosts report.
#include "FuzzHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    FuzzPlugin plugin;
    FuzzEvents events;
    FreezeEffect& engine = plugin.engine();
    if (data.ConsumeBool()) engine.plugin().toggleMidiNoteControl();
    if (data.ConsumeBool()) engine.plugin().toggleNoteRecordStart();
    if (data.ConsumeBool()) engine.plugin().toggleRepeatTillNoteOff();
    plugin.setParameter(kParamSize, data.ConsumeFloatingPointInRange<float>(-0.5f, 1.5f));
    plugin.setParameter(kParamRepeat, data.ConsumeProbability<float>());
    plugin.setParameter(kParamThreshold, data.ConsumeProbability<float>() * 0.2f);

    while (data.remaining_bytes() > 0) {
        if (data.ConsumeIntegralInRange<int>(0, 7) == 0) fuzzTime(data);
        if (data.ConsumeIntegralInRange<int>(0, 7) == 0) {
            switch (data.ConsumeIntegralInRange<int>(0, 2)) {
            case 0: engine.plugin().toggleMidiNoteControl(); break;
            case 1: engine.plugin().toggleNoteRecordStart(); break;
            default: engine.plugin().toggleRepeatTillNoteOff(); break;
            }
        }
        const intptr_t answer = plugin.dispatch(effProcessEvents, 0, 0, events.build(data));
        FUZZ_REQUIRE(answer == 1, "processEvents answers 1");
        const int blocks = data.ConsumeIntegralInRange<int>(1, 3);
        for (int b = 0; b < blocks; ++b) {
            plugin.processBlock(data);
            plugin.checkReaders();
        }
    }
    return 0;
}
