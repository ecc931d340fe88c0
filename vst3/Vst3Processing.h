// The VST 3 processing side, declared by us: IComponent, IAudioProcessor, the streams, the
// parameter queues, the event list and the records a block carries.
#pragma once

#include <cstddef>

#include "vst3/Vst3Factory.h"

namespace v3 {

// --- streams ---

class IBStream : public FUnknown {
protected:
    ~IBStream() = default;

public:
    virtual tresult V3CALL read(void* buffer, int32 numBytes, int32* numBytesRead) = 0;
    virtual tresult V3CALL write(void* buffer, int32 numBytes, int32* numBytesWritten) = 0;
    virtual tresult V3CALL seek(int64 pos, int32 mode, int64* result) = 0;
    virtual tresult V3CALL tell(int64* pos) = 0;
};
inline constexpr Uid kIBStreamIid{0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B};
constexpr int32 kIBSeekSet = 0, kIBSeekCur = 1, kIBSeekEnd = 2;

// --- buses ---

constexpr MediaType kAudio = 0, kEvent = 1;
constexpr BusDirection kInput = 0, kOutput = 1;
constexpr BusType kMain = 0, kAux = 1;
constexpr uint32 kDefaultActive = 1;
constexpr SpeakerArrangement kStereo = 3;

struct BusInfo {
    MediaType mediaType;
    BusDirection direction;
    int32 channelCount;
    String128 name;
    BusType busType;
    uint32 flags;
};
static_assert(sizeof(BusInfo) == 276 && alignof(BusInfo) == 4);
static_assert(offsetof(BusInfo, channelCount) == 8 && offsetof(BusInfo, name) == 12 &&
              offsetof(BusInfo, busType) == 268 && offsetof(BusInfo, flags) == 272);

struct RoutingInfo {
    MediaType mediaType;
    int32 busIndex;
    int32 channel;
};
static_assert(sizeof(RoutingInfo) == 12);

// --- processing records ---

constexpr int32 kRealtime = 0, kPrefetch = 1, kOffline = 2;
constexpr int32 kSample32 = 0, kSample64 = 1;

struct ProcessSetup {
    int32 processMode;
    int32 symbolicSampleSize;
    int32 maxSamplesPerBlock;
    SampleRate sampleRate;
};
static_assert(sizeof(ProcessSetup) == 24 && alignof(ProcessSetup) == 8);
static_assert(offsetof(ProcessSetup, maxSamplesPerBlock) == 8 && offsetof(ProcessSetup, sampleRate) == 16);

struct AudioBusBuffers {
    int32 numChannels;
    uint64 silenceFlags;
    union {
        float** channelBuffers32;
        double** channelBuffers64;
    };
};
static_assert(sizeof(AudioBusBuffers) == 24 && alignof(AudioBusBuffers) == 8);
static_assert(offsetof(AudioBusBuffers, silenceFlags) == 8 && offsetof(AudioBusBuffers, channelBuffers32) == 16);

struct Chord {
    uint8 keyNote;
    uint8 rootNote;
    int16 chordMask;
};
struct FrameRate {
    uint32 framesPerSecond;
    uint32 flags;
};

struct ProcessContext {
    uint32 state;
    double sampleRate;
    TSamples projectTimeSamples;
    int64 systemTime;
    TSamples continousTimeSamples;
    TQuarterNotes projectTimeMusic;
    TQuarterNotes barPositionMusic;
    TQuarterNotes cycleStartMusic;
    TQuarterNotes cycleEndMusic;
    double tempo;
    int32 timeSigNumerator;
    int32 timeSigDenominator;
    Chord chord;
    int32 smpteOffsetSubframes;
    FrameRate frameRate;
    int32 samplesToNextClock;
};
static_assert(sizeof(Chord) == 4 && sizeof(FrameRate) == 8);
static_assert(sizeof(ProcessContext) == 112 && alignof(ProcessContext) == 8);
static_assert(offsetof(ProcessContext, sampleRate) == 8 && offsetof(ProcessContext, projectTimeSamples) == 16 &&
              offsetof(ProcessContext, systemTime) == 24 && offsetof(ProcessContext, continousTimeSamples) == 32 &&
              offsetof(ProcessContext, projectTimeMusic) == 40 && offsetof(ProcessContext, barPositionMusic) == 48 &&
              offsetof(ProcessContext, cycleStartMusic) == 56 && offsetof(ProcessContext, cycleEndMusic) == 64 &&
              offsetof(ProcessContext, tempo) == 72 && offsetof(ProcessContext, timeSigNumerator) == 80 &&
              offsetof(ProcessContext, timeSigDenominator) == 84 && offsetof(ProcessContext, chord) == 88 &&
              offsetof(ProcessContext, smpteOffsetSubframes) == 92 && offsetof(ProcessContext, frameRate) == 96 &&
              offsetof(ProcessContext, samplesToNextClock) == 104);
constexpr uint32 kPlaying = 0x2, kProjectTimeMusicValid = 0x200, kTempoValid = 0x400;

// Context fields the plug-in needs: tempo, project time in quarter notes, transport state.
constexpr uint32 kNeedProjectTimeMusic = 4, kNeedTempo = 64, kNeedTransportState = 1024;

// --- parameter changes ---

class IParamValueQueue : public FUnknown {
protected:
    ~IParamValueQueue() = default;

public:
    virtual ParamID V3CALL getParameterId() = 0;
    virtual int32 V3CALL getPointCount() = 0;
    virtual tresult V3CALL getPoint(int32 index, int32& sampleOffset, ParamValue& value) = 0;
    virtual tresult V3CALL addPoint(int32 sampleOffset, ParamValue value, int32& index) = 0;
};
inline constexpr Uid kIParamValueQueueIid{0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA};

class IParameterChanges : public FUnknown {
protected:
    ~IParameterChanges() = default;

public:
    virtual int32 V3CALL getParameterCount() = 0;
    virtual IParamValueQueue* V3CALL getParameterData(int32 index) = 0;
    virtual IParamValueQueue* V3CALL addParameterData(const ParamID& id, int32& index) = 0;
};
inline constexpr Uid kIParameterChangesIid{0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D};

// --- events ---

// 32-bit Windows packs the note-expression payloads to 4 bytes, so the union starts at 20 there.
#if defined(_WIN32) && !defined(_WIN64)
#pragma pack(push, 4)
#endif
struct NoteExpressionValueEvent {
    uint32 typeId;
    int32 noteId;
    double value;
};
struct NoteExpressionTextEvent {
    uint32 typeId;
    int32 noteId;
    uint32 textLen;
    const TChar* text;
};
#if defined(_WIN32) && !defined(_WIN64)
#pragma pack(pop)
#endif

struct NoteOnEvent {
    int16 channel;
    int16 pitch;
    float tuning;
    float velocity;
    int32 length;
    int32 noteId;
};
struct NoteOffEvent {
    int16 channel;
    int16 pitch;
    float velocity;
    int32 noteId;
    float tuning;
};
struct DataEvent {
    uint32 size;
    uint32 type;
    const uint8* bytes;
};
struct PolyPressureEvent {
    int16 channel;
    int16 pitch;
    float pressure;
    int32 noteId;
};
struct ChordEvent {
    int16 root;
    int16 bassNote;
    int16 mask;
    uint16 textLen;
    const TChar* text;
};
struct ScaleEvent {
    int16 root;
    int16 mask;
    uint16 textLen;
    const TChar* text;
};
struct LegacyMIDICCOutEvent {
    uint8 controlNumber;
    int8 channel;
    int8 value;
    int8 value2;
};

struct Event {
    int32 busIndex;
    int32 sampleOffset;
    TQuarterNotes ppqPosition;
    uint16 flags;
    uint16 type;
    union {
        NoteOnEvent noteOn;
        NoteOffEvent noteOff;
        DataEvent data;
        PolyPressureEvent polyPressure;
        NoteExpressionValueEvent noteExpressionValue;
        NoteExpressionTextEvent noteExpressionText;
        ChordEvent chord;
        ScaleEvent scale;
        LegacyMIDICCOutEvent midiCCOut;
    };
};
constexpr uint16 kNoteOnEvent = 0, kNoteOffEvent = 1;

static_assert(sizeof(NoteOnEvent) == 20 && sizeof(NoteOffEvent) == 16 && sizeof(PolyPressureEvent) == 12);
static_assert(sizeof(NoteExpressionValueEvent) == 16 && sizeof(LegacyMIDICCOutEvent) == 4);
static_assert(offsetof(NoteOnEvent, velocity) == 8 && offsetof(NoteOnEvent, noteId) == 16 &&
              offsetof(NoteOffEvent, noteId) == 8 && offsetof(NoteOffEvent, tuning) == 12);
static_assert(offsetof(Event, sampleOffset) == 4 && offsetof(Event, ppqPosition) == 8 && offsetof(Event, flags) == 16 &&
              offsetof(Event, type) == 18);
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(Event) == 40 && offsetof(Event, noteOn) == 20);
static_assert(sizeof(DataEvent) == 12 && sizeof(NoteExpressionTextEvent) == 16 && sizeof(ChordEvent) == 12 &&
              sizeof(ScaleEvent) == 12 && alignof(NoteExpressionValueEvent) == 4);
#else
static_assert(sizeof(Event) == 48 && alignof(Event) == 8 && offsetof(Event, noteOn) == 24);
static_assert(sizeof(DataEvent) == 16 && sizeof(NoteExpressionTextEvent) == 24 && sizeof(ChordEvent) == 16 &&
              sizeof(ScaleEvent) == 16 && alignof(NoteExpressionValueEvent) == 8);
#endif

class IEventList : public FUnknown {
protected:
    ~IEventList() = default;

public:
    virtual int32 V3CALL getEventCount() = 0;
    virtual tresult V3CALL getEvent(int32 index, Event& e) = 0;
    virtual tresult V3CALL addEvent(Event& e) = 0;
};
inline constexpr Uid kIEventListIid{0x3A2C4214, 0x346349FE, 0xB2C4F397, 0xB9695A44};

struct ProcessData {
    int32 processMode;
    int32 symbolicSampleSize;
    int32 numSamples;
    int32 numInputs;
    int32 numOutputs;
    AudioBusBuffers* inputs;
    AudioBusBuffers* outputs;
    IParameterChanges* inputParameterChanges;
    IParameterChanges* outputParameterChanges;
    IEventList* inputEvents;
    IEventList* outputEvents;
    ProcessContext* processContext;
};
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(ProcessData) == 48 && alignof(ProcessData) == 4);
static_assert(offsetof(ProcessData, inputs) == 20 && offsetof(ProcessData, outputs) == 24 &&
              offsetof(ProcessData, inputParameterChanges) == 28 && offsetof(ProcessData, outputParameterChanges) == 32 &&
              offsetof(ProcessData, inputEvents) == 36 && offsetof(ProcessData, outputEvents) == 40 &&
              offsetof(ProcessData, processContext) == 44);
#else
static_assert(sizeof(ProcessData) == 80 && alignof(ProcessData) == 8);
static_assert(offsetof(ProcessData, inputs) == 24 && offsetof(ProcessData, outputs) == 32 &&
              offsetof(ProcessData, inputParameterChanges) == 40 && offsetof(ProcessData, outputParameterChanges) == 48 &&
              offsetof(ProcessData, inputEvents) == 56 && offsetof(ProcessData, outputEvents) == 64 &&
              offsetof(ProcessData, processContext) == 72);
#endif
static_assert(offsetof(ProcessData, numSamples) == 8 && offsetof(ProcessData, numInputs) == 12 &&
              offsetof(ProcessData, numOutputs) == 16);

// --- the component and its processor ---

class IComponent : public IPluginBase {
protected:
    ~IComponent() = default;

public:
    virtual tresult V3CALL getControllerClassId(TUID classId) = 0;
    virtual tresult V3CALL setIoMode(IoMode mode) = 0;
    virtual int32 V3CALL getBusCount(MediaType type, BusDirection dir) = 0;
    virtual tresult V3CALL getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) = 0;
    virtual tresult V3CALL getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) = 0;
    virtual tresult V3CALL activateBus(MediaType type, BusDirection dir, int32 index, TBool state) = 0;
    virtual tresult V3CALL setActive(TBool state) = 0;
    virtual tresult V3CALL setState(IBStream* state) = 0;
    virtual tresult V3CALL getState(IBStream* state) = 0;
};
inline constexpr Uid kIComponentIid{0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802};

class IAudioProcessor : public FUnknown {
protected:
    ~IAudioProcessor() = default;

public:
    virtual tresult V3CALL setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                              int32 numOuts) = 0;
    virtual tresult V3CALL getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) = 0;
    virtual tresult V3CALL canProcessSampleSize(int32 symbolicSampleSize) = 0;
    virtual uint32 V3CALL getLatencySamples() = 0;
    virtual tresult V3CALL setupProcessing(ProcessSetup& setup) = 0;
    virtual tresult V3CALL setProcessing(TBool state) = 0;
    virtual tresult V3CALL process(ProcessData& data) = 0;
    virtual uint32 V3CALL getTailSamples() = 0;
};
inline constexpr Uid kIAudioProcessorIid{0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D};

class IProcessContextRequirements : public FUnknown {
protected:
    ~IProcessContextRequirements() = default;

public:
    virtual uint32 V3CALL getProcessContextRequirements() = 0;
};
inline constexpr Uid kIProcessContextRequirementsIid{0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0};

}  // namespace v3
