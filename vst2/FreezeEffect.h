// The VST 2 adapter: the host's record, opcodes, time record and event lists turned into the
// calls of the format-neutral plug-in (plugin/FreezePlugin.h), which it owns.
#pragma once

#include <cstdint>

#include "plugin/FreezePlugin.h"
#include "vst2/HostEffectX.h"

class FreezeEffect : public HostEffectX {
public:
    explicit FreezeEffect(audioMasterCallback hostCallback);
    ~FreezeEffect() override;

    // Host-facing operations (any host thread unless marked).
    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;
    void process(float** inputs, float** outputs, int32_t sampleFrames) override;           // audio
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;  // audio
    int32_t getProgram() override;
    void setProgram(int32_t program) override;
    void setProgramName(char* text) override;
    void getProgramName(char* text) override;
    void getParameterLabel(int32_t index, char* text) override;
    void getParameterDisplay(int32_t index, char* text) override;
    void getParameterName(int32_t index, char* text) override;
    float getVu() override;
    int32_t getChunk(void** data, bool isPreset) override;
    int32_t setChunk(void* data, int32_t byteSize, bool isPreset) override;
    void suspend() override;
    void resume() override;
    int32_t processEvents(VstEvents* events) override;  // audio thread, between blocks
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    int32_t canDo(char* text) override;

    // The plug-in behind the record.
    FreezePlugin& plugin() { return neutral; }
    const FreezePlugin& plugin() const { return neutral; }

protected:
    FreezePlugin neutral;
};
