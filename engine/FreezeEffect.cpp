// FreezeEffect: construction, identity and the switching on and off of the plug-in.
#include "engine/FreezeEffect.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {
constexpr int32_t kUniqueId = fourCharCode('B', 'R', 'L', 'P');
const char kVendorString[] = "Ulvar @ Fennelworks";
const char kProductString[] = "brindleLoop1.0";
const char* const kCanDoTexts[] = {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo"};
}  // namespace

FreezeEffect::FreezeEffect(audioMasterCallback callback)
    : HostEffectX(callback, kNumPrograms, kNumParams) {
    // Allocation failures throw; the members built so far are released by their owners.
    bufL.reset(new float[kBufferLength]());
    bufR.reset(new float[kBufferLength]());
    setFlagProgramChunks(true);

    for (int32_t slot = 0; slot < kNumProgramValues; ++slot)
        programValues[slot] = kDefaultProgramValues[slot];
    for (auto& step : stepValues) step = 0.5f;

    programs.reset(new FreezeProgram[kNumPrograms]);
    for (int32_t i = 0; i < kNumPrograms; ++i) programs[i] = defaultProgram();
    chunkBuffer.reset(new unsigned char[kBankChunkSize]());
    setChunkScratch.reset(new unsigned char[kBankChunkSize]());
    setProgram(0);

    setNumInputs(2);
    setNumOutputs(2);
    setFlagHasVu(true);
    setFlagCanReplacing(true);
    setUniqueId(kUniqueId);
    suspend();
}

FreezeEffect::~FreezeEffect() = default;

FreezeProgram FreezeEffect::defaultProgram() {
    FreezeProgram program{};
    std::copy(std::begin(kDefaultProgramValues), std::end(kDefaultProgramValues), program.values);
    program.threshold = kDefaultThreshold;
    program.sequenceLengthValue = 1.0f;
    program.preFilterType = static_cast<int32_t>(FilterType::OFF);
    program.postFilterType = static_cast<int32_t>(FilterType::OFF);
    std::strcpy(program.name, "Init");
    return program;
}

void FreezeEffect::suspend() {
    std::fill(bufL.get(), bufL.get() + kBufferLength, 0.0f);
    std::fill(bufR.get(), bufR.get() + kBufferLength, 0.0f);
}

void FreezeEffect::resume() { hostWantMidi(1); }

float FreezeEffect::getVu() { return 0.0f; }

bool FreezeEffect::getVendorString(char* text) {
    if (!text) return false;
    std::strcpy(text, kVendorString);
    return true;
}

bool FreezeEffect::getProductString(char* text) {
    if (!text) return false;
    std::strcpy(text, kProductString);
    return true;
}

int32_t FreezeEffect::canDo(char* text) {
    if (!text) return -1;
    for (const char* supported : kCanDoTexts)
        if (std::strcmp(text, supported) == 0) return 1;
    return -1;
}
