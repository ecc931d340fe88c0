// Fuzz target: the dispatcher entry with arbitrary opcodes and operands, interleaved with
// audio and the parameter entries. Pointers are always what a host passes for the opcode:
// text buffers of 256 bytes, a pointer slot for 13 and 23, a real event list for 25, a
// chunk no shorter than its stated size for 24. effClose comes only at the end.
#include "FuzzHarness.h"

namespace {

int32_t pickOpcode(FuzzedDataProvider& data) {
    int32_t opcode = data.ConsumeIntegralInRange<int>(0, 15) == 0
                         ? data.ConsumeIntegral<int32_t>()
                         : data.ConsumeIntegralInRange<int32_t>(-3, 72);
    return opcode == effClose ? effOpen : opcode;
}

int32_t pickIndex(FuzzedDataProvider& data) {
    return data.ConsumeBool() ? data.ConsumeIntegralInRange<int32_t>(-2, 20)
                              : data.ConsumeIntegral<int32_t>();
}

intptr_t pickValue(FuzzedDataProvider& data) {
    return data.ConsumeBool() ? data.ConsumeIntegralInRange<intptr_t>(-2, 20)
                              : data.ConsumeIntegral<intptr_t>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    FuzzPlugin plugin;
    fuzzTime(data);
    FuzzEvents events;
    alignas(16) char buffer[4096];
    void* slot = nullptr;

    while (data.remaining_bytes() > 0) {
        const int action = data.ConsumeIntegralInRange<int>(0, 9);
        if (action == 0) {
            plugin.processBlock(data);
            plugin.checkReaders();
            continue;
        }
        if (action == 1) {
            const int32_t index = pickIndex(data);
            const float value = data.ConsumeFloatingPoint<float>();
            plugin.setParameter(index, value);
            const float back = plugin.getParameter(index);
            if (index >= 0 && index < kNumParams)
                FUZZ_REQUIRE(std::memcmp(&back, &value, sizeof value) == 0,
                             "a parameter does not read back as it was set");
            continue;
        }

        const int32_t opcode = pickOpcode(data);
        const int32_t index = pickIndex(data);
        intptr_t value = pickValue(data);
        const float opt = data.ConsumeFloatingPoint<float>();
        std::memset(buffer, 0, sizeof buffer);
        void* ptr = data.ConsumeBool() ? buffer : nullptr;
        std::vector<uint8_t> chunk;
        switch (opcode) {
        case effSetProgramName:
        case effString2Parameter:
        case effCanDo: {
            const std::string text = data.ConsumeRandomLengthString(255);
            std::memcpy(buffer, text.c_str(), text.size() + 1);
            ptr = buffer;
            break;
        }
        case effEditGetRect:
        case effGetChunk:
            slot = nullptr;
            ptr = &slot;
            break;
        case effSetChunk:
            chunk = data.ConsumeBytes<uint8_t>(data.ConsumeIntegralInRange<size_t>(0, kBankChunkSize + 8));
            ptr = chunk.empty() ? nullptr : chunk.data();
            value = data.ConsumeBool() ? static_cast<intptr_t>(chunk.size())
                                       : data.ConsumeIntegralInRange<intptr_t>(
                                             INT32_MIN, static_cast<intptr_t>(chunk.size()));
            break;
        case effProcessEvents:
            ptr = data.ConsumeIntegralInRange<int>(0, 15) == 0 ? nullptr : events.build(data);
            break;
        case effEditOpen:
            ptr = nullptr;  // no window system here; no editor either
            break;
        case effSetSpeakerArrangement: value = reinterpret_cast<intptr_t>(buffer); break;
        default: break;
        }
        const intptr_t answer = plugin.dispatch(opcode, index, value, ptr, opt);

        // What the host reads back must be sound.
        switch (opcode) {
        case effGetChunk:
            if (answer > 0) {
                FUZZ_REQUIRE(slot != nullptr, "chunk size without data");
                volatile unsigned sum = 0;
                for (intptr_t i = 0; i < answer; ++i) sum = sum + static_cast<unsigned char*>(slot)[i];
            }
            break;
        case effGetProgramName:
        case effGetParamLabel:
        case effGetParamName:
        case effGetParamDisplay:
        case effGetVendorString:
        case effGetProductString:
        case effGetEffectName:
            if (ptr) FUZZ_REQUIRE(std::memchr(buffer, 0, 64) != nullptr, "text longer than 63 characters");
            if (ptr && opcode == effGetProgramName)
                FUZZ_REQUIRE(std::strlen(buffer) < kVstMaxProgNameLen, "program name too long");
            if (ptr && opcode == effGetParamDisplay)
                FUZZ_REQUIRE(std::strlen(buffer) <= 8, "parameter display too long");
            break;
        case effCanBeAutomated:
        case effString2Parameter:
        case effGetProgramNameIndexed:
        case effCopyProgram:
        case effKeysRequired: FUZZ_REQUIRE(answer == 0 || answer == 1, "boolean answer"); break;
        case effCanDo: FUZZ_REQUIRE(answer == 1 || answer == -1, "canDo answer"); break;
        default: break;
        }
        plugin.checkReaders();
    }
    plugin.checkChunkRoundTrip(true);
    plugin.checkChunkRoundTrip(false);
    return 0;
}
