// Vst3Effect: reference counting and interfaces, initialisation, buses, activation, state.
#include <cstring>

#include "vst3/Vst3Effect.h"
#include "vst3/Vst3State.h"
#include "vst3/Vst3Strings.h"

using namespace v3;

Vst3Effect::Vst3Effect() {
    neutral.setEditSink(this);
    readValuesFromPlugin();
}

Vst3Effect::~Vst3Effect() { terminate(); }

tresult V3CALL Vst3Effect::queryInterface(const TUID iid, void** obj) {
    if (!obj) return kInvalidArgument;
    void* answer = nullptr;
    if (kFUnknownIid.is(iid) || kIPluginBaseIid.is(iid) || kIComponentIid.is(iid))
        answer = static_cast<IComponent*>(this);
    else if (kIAudioProcessorIid.is(iid))
        answer = static_cast<IAudioProcessor*>(this);
    else if (kIProcessContextRequirementsIid.is(iid))
        answer = static_cast<IProcessContextRequirements*>(this);
    else if (kIEditControllerIid.is(iid))
        answer = static_cast<IEditController*>(this);
    else if (kIUnitInfoIid.is(iid))
        answer = static_cast<IUnitInfo*>(this);
    *obj = answer;
    if (!answer) return kNoInterface;
    addRef();
    return kResultOk;
}

uint32 V3CALL Vst3Effect::addRef() { return ++references; }

uint32 V3CALL Vst3Effect::release() {
    const uint32_t left = --references;
    if (left == 0) delete this;
    return left;
}

// A host initialises the one object as component and again as controller: the first context
// is kept, later calls change nothing.
tresult V3CALL Vst3Effect::initialize(FUnknown* context) {
    if (!hostContext && context) {
        hostContext = context;
        hostContext->addRef();
    }
    return kResultOk;
}

tresult V3CALL Vst3Effect::terminate() {
    if (componentHandler) componentHandler->release();
    componentHandler = nullptr;
    if (hostContext) hostContext->release();
    hostContext = nullptr;
    return kResultOk;
}

tresult V3CALL Vst3Effect::getControllerClassId(TUID) { return kResultFalse; }

tresult V3CALL Vst3Effect::setIoMode(IoMode) { return kNotImplemented; }

int32 V3CALL Vst3Effect::getBusCount(MediaType type, BusDirection dir) {
    if (type == kAudio && (dir == kInput || dir == kOutput)) return 1;
    if (type == kEvent && dir == kInput) return 1;
    return 0;
}

tresult V3CALL Vst3Effect::getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) {
    if (index != 0 || getBusCount(type, dir) == 0) return kInvalidArgument;
    std::memset(&bus, 0, sizeof bus);
    bus.mediaType = type;
    bus.direction = dir;
    bus.channelCount = type == kAudio ? 2 : 1;
    vst3text::toUtf16(bus.name, 128, type == kEvent ? "MIDI In" : dir == kInput ? "Stereo In" : "Stereo Out");
    bus.busType = kMain;
    bus.flags = kDefaultActive;
    return kResultOk;
}

tresult V3CALL Vst3Effect::getRoutingInfo(RoutingInfo&, RoutingInfo&) { return kNotImplemented; }

tresult V3CALL Vst3Effect::activateBus(MediaType type, BusDirection dir, int32 index, TBool) {
    return index == 0 && getBusCount(type, dir) > 0 ? kResultOk : kInvalidArgument;
}

// As a VST 2 host switches the effect on: the freeze buffers start empty.
tresult V3CALL Vst3Effect::setActive(TBool state) {
    if (state) neutral.clearBuffers();
    return kResultOk;
}

tresult Vst3Effect::setComponentBytes(IBStream* state) {
    const int32_t size = vst3state::readStream(state, stateBytes);
    if (size < 0 || !vst3state::apply(neutral, stateBytes, size)) return kResultFalse;
    readValuesFromPlugin();
    return kResultOk;
}

tresult Vst3Effect::getComponentBytes(IBStream* state) {
    if (!state) return kInvalidArgument;
    vst3state::save(neutral, stateBytes);
    int32 written = 0;
    if (state->write(stateBytes, vst3state::kSize, &written) != kResultOk || written != vst3state::kSize)
        return kResultFalse;
    return kResultOk;
}

// Stereo only: anything else is refused and the host reads the stereo pair back.
tresult V3CALL Vst3Effect::setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                              int32 numOuts) {
    if (numIns == 1 && numOuts == 1 && inputs && outputs && inputs[0] == kStereo && outputs[0] == kStereo)
        return kResultTrue;
    return kResultFalse;
}

tresult V3CALL Vst3Effect::getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) {
    if (index != 0 || (dir != kInput && dir != kOutput)) return kInvalidArgument;
    arr = kStereo;
    return kResultOk;
}

tresult V3CALL Vst3Effect::canProcessSampleSize(int32 symbolicSampleSize) {
    return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

uint32 V3CALL Vst3Effect::getLatencySamples() { return 0; }

tresult V3CALL Vst3Effect::setupProcessing(ProcessSetup& setup) {
    if (setup.symbolicSampleSize != kSample32) return kResultFalse;
    neutral.setSampleRate(setup.sampleRate);
    return kResultOk;
}

tresult V3CALL Vst3Effect::setProcessing(TBool) { return kResultOk; }

// A frozen loop goes on sounding after the input stops.
uint32 V3CALL Vst3Effect::getTailSamples() { return 0xFFFFFFFFu; }

uint32 V3CALL Vst3Effect::getProcessContextRequirements() {
    return kNeedTempo | kNeedProjectTimeMusic | kNeedTransportState;
}
