// Base of every effect object: owns the AEffect record handed to the host and gives every
// host-facing operation a harmless default.
#pragma once

#include <cstdint>

#include "vst2/VstApi.h"

class EditorBase;

class HostEffect {
public:
    HostEffect(audioMasterCallback hostCallback, int32_t numPrograms, int32_t numParams);
    HostEffect(const HostEffect&) = delete;
    HostEffect& operator=(const HostEffect&) = delete;

    // Slot 0: deletes the editor, if any, through its own destructor.
    virtual ~HostEffect();

    // Parameter calls may come from any host thread.
    virtual void setParameter(int32_t index, float value);
    virtual float getParameter(int32_t index);
    virtual void automateParameter(int32_t index, float value);

    // Audio thread. Inputs and outputs are arrays of channel pointers.
    virtual void process(float** inputs, float** outputs, int32_t sampleFrames) = 0;
    virtual void processReplacing(float** inputs, float** outputs, int32_t sampleFrames);

    virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    virtual void open();
    virtual void close();

    virtual int32_t getProgram();
    virtual void setProgram(int32_t program);
    virtual void setProgramName(char* text);
    virtual void getProgramName(char* text);
    virtual void getParameterLabel(int32_t index, char* text);
    virtual void getParameterDisplay(int32_t index, char* text);
    virtual void getParameterName(int32_t index, char* text);
    virtual float getVu();
    // Stores through data a pointer to chunk memory the effect keeps; returns its size.
    virtual int32_t getChunk(void** data, bool isPreset);
    virtual int32_t setChunk(void* data, int32_t byteSize, bool isPreset);
    virtual void setSampleRate(float rate);
    virtual void setBlockSize(int32_t size);
    virtual void suspend();
    virtual void resume();

    virtual void setUniqueId(int32_t id);
    virtual void setNumInputs(int32_t n);
    virtual void setNumOutputs(int32_t n);
    virtual void setFlagHasVu(bool on);
    virtual void setFlagHasClip(bool on);
    virtual void setFlagCanMono(bool on);
    virtual void setFlagCanReplacing(bool on);
    virtual void setFlagProgramChunks(bool on);
    virtual void setRealQualities(int32_t n);
    virtual void setOffQualities(int32_t n);
    virtual void setInitialDelay(int32_t n);
    virtual float getSampleRate();
    virtual int32_t getBlockSize();

    // Host services; each answers a fixed value when there is no host callback.
    virtual int32_t hostVersion();
    virtual int32_t hostCurrentId();
    virtual void hostIdle();
    virtual bool hostInputConnected(int32_t input);
    virtual bool hostOutputConnected(int32_t output);

    // Value-to-text tools; text must hold at least 9 bytes.
    virtual void dbToText(float value, char* text);
    virtual void hzToText(float samples, char* text);
    virtual void msToText(float samples, char* text);
    virtual void floatToText(float value, char* text);
    virtual void longToText(int32_t value, char* text);

    AEffect* getEffectRecord() { return &effectRecord; }
    EditorBase* getEditor() const { return editor; }
    // Stores the editor (owned from now on; a different previous one is deleted) and sets
    // effFlagsHasEditor.
    void setEditor(EditorBase* newEditor);

    // The effect object behind a record the host hands back, or null.
    static HostEffect* fromRecord(AEffect* effect);

protected:
    void setFlag(int32_t bit, bool on);
    // Asks an attached editor to refresh at its next idle; the engine needs no editor header.
    void requestEditorRefresh();
    // Sends one request to the host, or answers 0 when there is none.
    intptr_t callHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    float sampleRate;
    EditorBase* editor;
    audioMasterCallback hostCallback;
    int32_t numPrograms;
    int32_t numParams;
    int32_t curProgram;
    int32_t blockSize;
    AEffect effectRecord;
};
