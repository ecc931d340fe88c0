// FreezeEffect: construction, identity, the switching on and off of the plug-in, and the
// process entries handed to the signal path with the host's time information.
#include "engine/FreezeEffect.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "engine/CoreObserver.h"
#include "engine/FreezeCoreBlock.h"
#include "engine/HostTimeRequest.h"

namespace {
constexpr int32_t kUniqueId = fourCharCode('B', 'R', 'L', 'P');
const char kVendorString[] = "Ulvar @ Fennelworks";
const char kProductString[] = "brindleLoop1.0";
const char* const kCanDoTexts[] = {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo"};
}  // namespace

FreezeEffect::FreezeEffect(audioMasterCallback callback) : HostEffectX(callback, kNumPrograms, kNumParams) {
    // Allocation failures throw (the core's buffers included); the members built so far are
    // released by their owners.
    setFlagProgramChunks(true);
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
    program.sequenceLengthValue = kDefaultSequenceLengthValue;
    program.preFilterType = static_cast<int32_t>(kDefaultFilterType);
    program.postFilterType = static_cast<int32_t>(kDefaultFilterType);
    std::strcpy(program.name, "Init");
    return program;
}

void FreezeEffect::suspend() { core.clearBuffers(); }

// The block is built here, beside the host's time request, so that asking for the time is a
// plain call.
void FreezeEffect::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    HostTimeRequest time(*this);
    core.processBlock<false>(inputs, outputs, sampleFrames, time, NoObserver{});
}

void FreezeEffect::process(float** inputs, float** outputs, int32_t sampleFrames) {
    HostTimeRequest time(*this);
    core.processBlock<true>(inputs, outputs, sampleFrames, time, NoObserver{});
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
