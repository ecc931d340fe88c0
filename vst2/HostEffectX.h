// Extended base effect: the 2.x opcodes and host services on top of HostEffect.
#pragma once

#include "vst2/HostEffect.h"

class HostEffectX : public HostEffect {
public:
    HostEffectX(audioMasterCallback hostCallback, int32_t numPrograms, int32_t numParams);
    ~HostEffectX() override;

    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;

    virtual EditorBase* getEditor();
    virtual void hostWantMidi(int32_t filter);
    // Audio thread: the host's time record for this block, or null.
    virtual VstTimeInfo* hostGetTime(int32_t filter);
    virtual intptr_t hostTempoAt(int32_t pos);
    // Audio thread, between blocks. Returns 1 when the events were examined.
    virtual int32_t processEvents(VstEvents* events);
    virtual intptr_t hostGetNumAutomatableParameters();
    virtual intptr_t hostGetParameterQuantization();
    virtual bool canBeAutomated(int32_t index);
    virtual bool string2Parameter(int32_t index, char* text);
    virtual float getParameterOnChannel(int32_t channel, int32_t index);
    virtual int32_t getNumProgramCategories();
    virtual bool getProgramNameIndexed(int32_t category, int32_t index, char* text);
    virtual bool copyProgram(int32_t destination);
    virtual bool hostIOChanged();
    virtual bool hostNeedIdle();
    virtual bool hostSizeWindow(int32_t width, int32_t height);
    virtual float hostGetSampleRate();
    virtual int32_t hostGetBlockSize();
    virtual intptr_t hostGetInputLatency();
    virtual intptr_t hostGetOutputLatency();
    virtual AEffect* hostGetPreviousPlug(int32_t input);
    virtual AEffect* hostGetNextPlug(int32_t output);
    virtual void connectInput(int32_t index, bool state);
    virtual void connectOutput(int32_t index, bool state);
    virtual bool getInputProperties(int32_t index, void* properties);
    virtual bool getOutputProperties(int32_t index, void* properties);
    virtual int32_t getPlugCategory();
    virtual intptr_t hostWillReplaceOrAccumulate();
    virtual intptr_t hostGetCurrentProcessLevel();
    virtual intptr_t hostGetAutomationState();
    virtual void setFlagExtIsAsync(bool on);
    virtual void setFlagExtHasBuffer(bool on);
    virtual intptr_t getCurrentPosition();
    virtual float* getDestinationBuffer();
    virtual bool hostOfflineRead(void* task, int32_t option, bool readSource);
    virtual bool hostOfflineWrite(void* task, int32_t option);
    virtual bool hostOfflineStart(void* files, int32_t count, int32_t newCount);
    virtual bool hostOfflineGetCurrentPass();
    virtual bool hostOfflineGetCurrentMetaPass();
    virtual bool offlineNotify(void* files, int32_t count, bool start);
    virtual bool offlinePrepare(void* tasks, int32_t count);
    virtual bool offlineRun(void* tasks, int32_t count);
    virtual int32_t offlineGetNumPasses();
    virtual int32_t offlineGetNumMetaPasses();
    virtual intptr_t hostSetOutputSampleRate(float rate);
    virtual bool hostGetSpeakerArrangement(void* input, void* output);
    virtual bool hostGetVendorString(char* text);
    virtual bool hostGetProductString(char* text);
    virtual intptr_t hostGetVendorVersion();
    virtual intptr_t hostVendorSpecific(int32_t a, intptr_t b, void* p, float f);
    virtual bool hostCanDo(char* text);
    virtual void setFlagIsSynth(bool on);
    virtual void setFlagNoSoundInStop(bool on);
    virtual intptr_t hostGetLanguage();
    virtual intptr_t hostOpenWindow(void* window);
    virtual bool hostCloseWindow(void* window);
    virtual void* hostGetDirectory();
    virtual bool hostUpdateDisplay();
    virtual bool processVarIo(void* varIo);
    virtual bool setSpeakerArrangement(void* input, void* output);
    virtual void setBlockSizeAndSampleRate(int32_t size, float rate);
    virtual bool setBypass(bool on);
    virtual bool getEffectName(char* text);
    virtual bool getErrorText(char* text);
    virtual bool getVendorString(char* text);
    virtual bool getProductString(char* text);
    virtual int32_t getVendorVersion();
    virtual intptr_t vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt);
    // 1 supported, -1 not supported, 0 no answer.
    virtual int32_t canDo(char* text);
    virtual void* getIcon();
    virtual bool setViewPosition(int32_t x, int32_t y);
    virtual int32_t getTailSize();
    virtual int32_t effectIdle();
    virtual bool getParameterProperties(int32_t index, void* properties);
    virtual bool keysRequired();
    virtual int32_t getVstVersion();
    virtual int32_t getMidiProgramName(int32_t channel, void* name);
    virtual int32_t getCurrentMidiProgram(int32_t channel, void* name);
    virtual int32_t getMidiProgramCategory(int32_t channel, void* category);
    virtual bool hasMidiProgramsChanged(int32_t channel);
    virtual bool getMidiKeyName(int32_t channel, void* keyName);
    virtual bool beginSetProgram();
    virtual bool endSetProgram();
    virtual bool hostBeginEdit(int32_t index);
    virtual bool hostEndEdit(int32_t index);
    virtual bool hostOpenFileSelector(void* select);
};
