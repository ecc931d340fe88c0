// Fuzz target: effSetChunk with arbitrary bytes and sizes, for presets and banks, then audio
// and a save-and-load round trip of both chunk kinds.
#include "FuzzHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    FuzzPlugin plugin;
    fuzzTime(data);
    const int rounds = data.ConsumeIntegralInRange<int>(1, 3);
    for (int round = 0; round < rounds && data.remaining_bytes() > 0; ++round) {
        const bool preset = data.ConsumeBool();
        plugin.dispatch(effSetProgram, 0, data.ConsumeIntegralInRange<int>(0, kNumPrograms - 1));
        // The chunk is the rest of the input (or a part of it), in a buffer of exactly its
        // length so that any read past the host's data is caught.
        const size_t length = data.ConsumeIntegralInRange<size_t>(0, kBankChunkSize + 16);
        std::vector<uint8_t> chunk = data.ConsumeBytes<uint8_t>(length);
        // The size the host states: the true one, or smaller, zero or negative (a host never
        // states more than it hands over).
        intptr_t stated = static_cast<intptr_t>(chunk.size());
        switch (data.ConsumeIntegralInRange<int>(0, 3)) {
        case 0: break;
        case 1: stated = data.ConsumeIntegralInRange<intptr_t>(0, stated); break;
        case 2: stated = -data.ConsumeIntegralInRange<intptr_t>(0, 1 << 20); break;
        default: stated = chunk.empty() ? 0 : stated; break;
        }
        void* pointer = chunk.empty() ? nullptr : chunk.data();
        const intptr_t answer = plugin.dispatch(effSetChunk, preset ? 1 : 0, stated, pointer);
        FUZZ_REQUIRE(answer == 0 || answer == (preset ? kPresetChunkSize : kBankChunkSize),
                     "setChunk answer");
        plugin.checkReaders();
        const int blocks = data.ConsumeIntegralInRange<int>(0, 4);
        for (int b = 0; b < blocks; ++b) {
            plugin.processBlock(data);
            plugin.checkReaders();
        }
        plugin.checkChunkRoundTrip(true);
        plugin.checkChunkRoundTrip(false);
        plugin.checkTexts();
        plugin.processBlock(data);
    }
    return 0;
}
