// The plug-in as one VST 3 object: component and audio processor (vst3/Vst3Component.cpp,
// vst3/Vst3Process.cpp), edit controller with the program list (vst3/Vst3Controller.cpp), and
// the editor's edit sink, which hands the editor's gestures to the host. One object, because
// the editor draws the signal path's live state (buffers, envelope, step), which a controller
// apart from the processor would not have.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/Ranges.h"
#include "plugin/EditSink.h"
#include "plugin/FreezePlugin.h"
#include "vst3/Vst3Controller.h"

// The host-visible parameters: the controls by number (engine/SettingTable.h), then the
// program selector.
constexpr int32_t kProgramParamId = kNumControls;
constexpr int32_t kNumVst3Params = kNumControls + 1;
constexpr int32_t kProgramListId = 1;

// The program a normalised value of the selector stands for (NaN: the first).
inline int32_t programOfNormalised(double normalised) {
    return truncToInt(normalised * (kNumPrograms - 1) + 0.5, 0, kNumPrograms - 1);
}

// IComponent and IEditController both have setState and getState with the same signature; these
// give each side's pair a name of its own.
class ComponentSide : public v3::IComponent {
public:
    v3::tresult V3CALL setState(v3::IBStream* state) final { return setComponentBytes(state); }
    v3::tresult V3CALL getState(v3::IBStream* state) final { return getComponentBytes(state); }
    virtual v3::tresult setComponentBytes(v3::IBStream* state) = 0;
    virtual v3::tresult getComponentBytes(v3::IBStream* state) = 0;

protected:
    ~ComponentSide() = default;
};
class ControllerSide : public v3::IEditController {
public:
    // The controller has no state of its own: everything is the component's.
    v3::tresult V3CALL setState(v3::IBStream*) final { return v3::kResultOk; }
    v3::tresult V3CALL getState(v3::IBStream*) final { return v3::kResultOk; }

protected:
    ~ControllerSide() = default;
};

class Vst3Effect final : public ComponentSide,
                         public v3::IAudioProcessor,
                         public v3::IProcessContextRequirements,
                         public ControllerSide,
                         public v3::IUnitInfo,
                         public EditSink {
public:
    // Throws std::bad_alloc when the plug-in's buffers cannot be had. Starts with one reference.
    Vst3Effect();
    Vst3Effect(const Vst3Effect&) = delete;
    Vst3Effect& operator=(const Vst3Effect&) = delete;

    // FUnknown
    v3::tresult V3CALL queryInterface(const v3::TUID iid, void** obj) override;
    v3::uint32 V3CALL addRef() override;
    v3::uint32 V3CALL release() override;

    // IPluginBase (both sides: a host initialises a single object twice)
    v3::tresult V3CALL initialize(v3::FUnknown* context) override;
    v3::tresult V3CALL terminate() override;

    // IComponent
    v3::tresult V3CALL getControllerClassId(v3::TUID classId) override;
    v3::tresult V3CALL setIoMode(v3::IoMode mode) override;
    v3::int32 V3CALL getBusCount(v3::MediaType type, v3::BusDirection dir) override;
    v3::tresult V3CALL getBusInfo(v3::MediaType type, v3::BusDirection dir, v3::int32 index,
                                  v3::BusInfo& bus) override;
    v3::tresult V3CALL getRoutingInfo(v3::RoutingInfo& inInfo, v3::RoutingInfo& outInfo) override;
    v3::tresult V3CALL activateBus(v3::MediaType type, v3::BusDirection dir, v3::int32 index,
                                   v3::TBool state) override;
    v3::tresult V3CALL setActive(v3::TBool state) override;
    v3::tresult setComponentBytes(v3::IBStream* state) override;
    v3::tresult getComponentBytes(v3::IBStream* state) override;

    // IAudioProcessor
    v3::tresult V3CALL setBusArrangements(v3::SpeakerArrangement* inputs, v3::int32 numIns,
                                          v3::SpeakerArrangement* outputs, v3::int32 numOuts) override;
    v3::tresult V3CALL getBusArrangement(v3::BusDirection dir, v3::int32 index,
                                         v3::SpeakerArrangement& arr) override;
    v3::tresult V3CALL canProcessSampleSize(v3::int32 symbolicSampleSize) override;
    v3::uint32 V3CALL getLatencySamples() override;
    v3::tresult V3CALL setupProcessing(v3::ProcessSetup& setup) override;
    v3::tresult V3CALL setProcessing(v3::TBool state) override;
    v3::tresult V3CALL process(v3::ProcessData& data) override;
    v3::uint32 V3CALL getTailSamples() override;

    // IProcessContextRequirements
    v3::uint32 V3CALL getProcessContextRequirements() override;

    // IEditController
    v3::tresult V3CALL setComponentState(v3::IBStream* state) override;
    v3::int32 V3CALL getParameterCount() override;
    v3::tresult V3CALL getParameterInfo(v3::int32 paramIndex, v3::ParameterInfo& info) override;
    v3::tresult V3CALL getParamStringByValue(v3::ParamID id, v3::ParamValue valueNormalized,
                                             v3::String128 string) override;
    v3::tresult V3CALL getParamValueByString(v3::ParamID id, v3::TChar* string,
                                             v3::ParamValue& valueNormalized) override;
    v3::ParamValue V3CALL normalizedParamToPlain(v3::ParamID id, v3::ParamValue valueNormalized) override;
    v3::ParamValue V3CALL plainParamToNormalized(v3::ParamID id, v3::ParamValue plainValue) override;
    v3::ParamValue V3CALL getParamNormalized(v3::ParamID id) override;
    v3::tresult V3CALL setParamNormalized(v3::ParamID id, v3::ParamValue value) override;
    v3::tresult V3CALL setComponentHandler(v3::IComponentHandler* handler) override;
    v3::IPlugView* V3CALL createView(v3::FIDString name) override;

    // IUnitInfo: one unit with the sixteen programs
    v3::int32 V3CALL getUnitCount() override;
    v3::tresult V3CALL getUnitInfo(v3::int32 unitIndex, v3::UnitInfo& info) override;
    v3::int32 V3CALL getProgramListCount() override;
    v3::tresult V3CALL getProgramListInfo(v3::int32 listIndex, v3::ProgramListInfo& info) override;
    v3::tresult V3CALL getProgramName(v3::ProgramListID listId, v3::int32 programIndex,
                                      v3::String128 name) override;
    v3::tresult V3CALL getProgramInfo(v3::ProgramListID listId, v3::int32 programIndex, v3::CString attributeId,
                                      v3::String128 attributeValue) override;
    v3::tresult V3CALL hasProgramPitchNames(v3::ProgramListID listId, v3::int32 programIndex) override;
    v3::tresult V3CALL getProgramPitchName(v3::ProgramListID listId, v3::int32 programIndex, v3::int16 midiPitch,
                                           v3::String128 name) override;
    v3::UnitID V3CALL getSelectedUnit() override;
    v3::tresult V3CALL selectUnit(v3::UnitID unitId) override;
    v3::tresult V3CALL getUnitByBus(v3::MediaType type, v3::BusDirection dir, v3::int32 busIndex,
                                    v3::int32 channel, v3::UnitID& unitId) override;
    v3::tresult V3CALL setUnitProgramData(v3::int32 listOrUnitId, v3::int32 programIndex,
                                          v3::IBStream* data) override;

    // EditSink: the editor's gestures, to the host's component handler
    void beginEdit(int32_t control) override;
    void performEdit(int32_t control, float value) override;
    void endEdit(int32_t control) override;

    FreezePlugin& plugin() { return neutral; }

    // User-interface thread, from the view's idle: every control the editor changed in the
    // plug-in since the last call goes to the host as begin, perform, end (the editor's own
    // reports through the edit sink come first and are not repeated). Changes the host made,
    // through process or a state, are not sent back.
    void reportEditorChanges();
    // What the plug-in holds now is known to the host (after a state, a program, a view opened).
    void forgetEditorChanges();


private:
    ~Vst3Effect();
    // The controller's values read back from the plug-in (after a state or program change).
    void readValuesFromPlugin();
    // The events of one block from the host's queues and event list, sorted by frame.
    void gatherEvents(v3::ProcessData& data, int32_t frames);
    // Counts a host change for each control of blockTouches.
    void markHostTouches();

    std::atomic<uint32_t> references{1};
    FreezePlugin neutral;
    v3::FUnknown* hostContext = nullptr;
    v3::IComponentHandler* componentHandler = nullptr;
    // The normalised values the controller shows the host (user-interface thread).
    double values[kNumVst3Params] = {};
    // The controls' values as the last report saw them, and how often process applied the
    // host's values to each: counted before and after each block that did, so that a report
    // which saw the count move knows the change was the host's.
    float reported[kNumControls] = {};
    uint32_t reportedTouches[kNumControls] = {};
    std::atomic<uint32_t> hostTouches[kNumControls] = {};
    // Audio thread: the controls the block's host values touch (bit per control).
    uint32_t blockTouches = 0;
    // State bytes read from or written to a host's stream (user-interface thread).
    unsigned char stateBytes[4097];

    // Audio thread: one block's events, and the points that lie at or after its end.
    static constexpr int32_t kMaxEvents = 2048;
    TimedEvent blockEvents[kMaxEvents];
    int32_t blockEventCount = 0;
    TimedEvent lateEvents[kNumControls];
    int32_t lateEventCount = 0;
    int32_t pendingProgram = -1;
};
