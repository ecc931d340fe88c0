// Cost of the VST 3 plug-in's process beside the VST 2 plug-in's processReplacing: both
// binaries loaded through their entry points as hosts load them, the same noise, settings (a
// held loop with both filters and reduced bits, or the defaults) and block size, one after the
// other in each round. The VST 3 blocks carry what hosts pass with every block: an empty
// parameter change list, an empty event list and a process context with the tempo.
#include <benchmark/benchmark.h>

#include <dlfcn.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/ChunkLayout.h"
#include "engine/ParameterTable.h"
#include "engine/SettingTable.h"
#include "gui/x11/HeadlessScreen.h"
#include "vst2/FreezeEffectEdit.h"
#include "vst2/VstApi.h"
#include "vst3/Vst3Controller.h"
#include "vst3/Vst3Effect.h"
#include "vst3/Vst3Ids.h"
#include "vst3/Vst3View.h"
#include "bench/Vst2Binary.h"

namespace {

// The host's lists: no object of the benchmark is ever released, so counting is not needed.
class Queue final : public v3::IParamValueQueue {
public:
    v3::tresult V3CALL queryInterface(const v3::TUID, void** obj) override { return *obj = nullptr, v3::kNoInterface; }
    v3::uint32 V3CALL addRef() override { return 1; }
    v3::uint32 V3CALL release() override { return 1; }
    v3::ParamID V3CALL getParameterId() override { return id; }
    v3::int32 V3CALL getPointCount() override { return 1; }
    v3::tresult V3CALL getPoint(v3::int32, v3::int32& offset, v3::ParamValue& point) override {
        offset = 0;
        point = value;
        return v3::kResultOk;
    }
    v3::tresult V3CALL addPoint(v3::int32, v3::ParamValue, v3::int32&) override { return v3::kResultFalse; }
    v3::ParamID id = 0;
    double value = 0.0;
};

class Changes final : public v3::IParameterChanges {
public:
    v3::tresult V3CALL queryInterface(const v3::TUID, void** obj) override { return *obj = nullptr, v3::kNoInterface; }
    v3::uint32 V3CALL addRef() override { return 1; }
    v3::uint32 V3CALL release() override { return 1; }
    v3::int32 V3CALL getParameterCount() override { return count; }
    v3::IParamValueQueue* V3CALL getParameterData(v3::int32 index) override {
        return index >= 0 && index < count ? &queues[index] : nullptr;
    }
    v3::IParamValueQueue* V3CALL addParameterData(const v3::ParamID&, v3::int32&) override { return nullptr; }
    Queue queues[kNumControls];
    v3::int32 count = 0;
};

class NoEvents final : public v3::IEventList {
public:
    v3::tresult V3CALL queryInterface(const v3::TUID, void** obj) override { return *obj = nullptr, v3::kNoInterface; }
    v3::uint32 V3CALL addRef() override { return 1; }
    v3::uint32 V3CALL release() override { return 1; }
    v3::int32 V3CALL getEventCount() override { return 0; }
    v3::tresult V3CALL getEvent(v3::int32, v3::Event&) override { return v3::kInvalidArgument; }
    v3::tresult V3CALL addEvent(v3::Event&) override { return v3::kResultFalse; }
};

struct Vst3 {
    Vst3(const Settings& settings, Audio& audio) {
        void* library = openLibrary(BRINDLE_VST3_BINARY);
        auto moduleEntry = reinterpret_cast<bool (*)(void*)>(dlsym(library, "ModuleEntry"));
        auto getFactory = reinterpret_cast<v3::IPluginFactory* (*)()>(dlsym(library, "GetPluginFactory"));
        if (!moduleEntry || !getFactory || !moduleEntry(library)) throw std::runtime_error("not a VST 3 module");
        v3::IPluginFactory* factory = getFactory();
        void* object = nullptr;
        factory->createInstance(kProcessorUid.data(), v3::kIComponentIid.data(), &object);
        component = static_cast<v3::IComponent*>(object);
        component->initialize(nullptr);
        component->queryInterface(v3::kIAudioProcessorIid.data(), &object);
        processor = static_cast<v3::IAudioProcessor*>(object);
        v3::ProcessSetup setup{v3::kRealtime, v3::kSample32, static_cast<v3::int32>(kMaxBlock), 44100.0};
        processor->setupProcessing(setup);
        component->setActive(1);
        processor->setProcessing(1);
        ins[0] = audio.inL.data(), ins[1] = audio.inR.data();
        outs[0] = audio.outL.data(), outs[1] = audio.outR.data();
        in.numChannels = out.numChannels = 2;
        in.channelBuffers32 = ins;
        out.channelBuffers32 = outs;
        context.state = v3::kTempoValid | v3::kProjectTimeMusicValid | v3::kPlaying;
        context.sampleRate = 44100.0;
        context.tempo = 120.0;
        // The settings as a host sends them: one block of parameter points.
        Changes first;
        for (int32_t i = 0; i < kNumParams; ++i) first.queues[first.count++] = Queue{};
        for (int32_t i = 0; i < kNumParams; ++i) {
            first.queues[i].id = static_cast<v3::ParamID>(i);
            first.queues[i].value = static_cast<double>(settings.value(i));
        }
        for (Setting filter : {Setting::preFilterType, Setting::postFilterType}) {
            Queue& q = first.queues[first.count++];
            q.id = static_cast<v3::ParamID>(controlOfSetting(filter));
            q.value = settings.filterType() / 3.0;
        }
        process(64, first);
    }
    ~Vst3() {
        processor->setProcessing(0);
        component->setActive(0);
        processor->release();
        component->terminate();
        component->release();
    }
    void process(uint32_t frames, v3::IParameterChanges& changes) {
        v3::ProcessData data{};
        data.processMode = v3::kRealtime;
        data.symbolicSampleSize = v3::kSample32;
        data.numSamples = static_cast<v3::int32>(frames);
        data.numInputs = data.numOutputs = 1;
        data.inputs = &in;
        data.outputs = &out;
        data.inputParameterChanges = &changes;
        data.inputEvents = &events;
        data.processContext = &context;
        processor->process(data);
        context.projectTimeSamples += frames;
    }
    v3::IComponent* component = nullptr;
    v3::IAudioProcessor* processor = nullptr;
    float* ins[2] = {};
    float* outs[2] = {};
    v3::AudioBusBuffers in{}, out{};
    v3::ProcessContext context{};
    Changes none;
    NoEvents events;
};

void vst3Process(benchmark::State& state, bool busy) {
    Audio audio;
    Vst3 plugin(Settings{busy}, audio);
    const auto block = static_cast<uint32_t>(state.range(0));
    for (auto _ : state) plugin.process(block, plugin.none);
    state.counters["per_sample"] = perSample(block);
}

// The editor's idle as the VST 3 view runs it from the host's run loop (the editor's idle and
// the report of its changes to the host), beside the VST 2 editor's effEditIdle, both in this
// process on the headless Linux port, with a block of audio between idles.
class RunLoopFrame final : public v3::IPlugFrame, public v3::IRunLoop {
public:
    v3::tresult V3CALL queryInterface(const v3::TUID iid, void** obj) override {
        if (v3::kIRunLoopIid.is(iid)) {
            *obj = static_cast<v3::IRunLoop*>(this);
            return v3::kResultOk;
        }
        *obj = nullptr;
        return v3::kNoInterface;
    }
    v3::uint32 V3CALL addRef() override { return 1; }
    v3::uint32 V3CALL release() override { return 1; }
    v3::tresult V3CALL resizeView(v3::IPlugView*, v3::ViewRect*) override { return v3::kResultOk; }
    v3::tresult V3CALL registerEventHandler(v3::IEventHandler*, int) override { return v3::kResultOk; }
    v3::tresult V3CALL unregisterEventHandler(v3::IEventHandler*) override { return v3::kResultOk; }
    v3::tresult V3CALL registerTimer(v3::ITimerHandler* handler, v3::uint64) override {
        timer = handler;
        return v3::kResultOk;
    }
    v3::tresult V3CALL unregisterTimer(v3::ITimerHandler*) override {
        timer = nullptr;
        return v3::kResultOk;
    }
    v3::ITimerHandler* timer = nullptr;
};

void vst3ViewIdle(benchmark::State& state) {
    headless::enable();
    void* host = headless::createHostWindow(0, 0, 600, 400);
    auto* effect = new Vst3Effect();
    RunLoopFrame frame;
    v3::IPlugView* view = static_cast<v3::IEditController*>(effect)->createView("editor");
    view->setFrame(&frame);
    view->attached(host, v3::kPlatformX11);
    Audio audio;
    float* ins[2] = {audio.inL.data(), audio.inR.data()};
    float* outs[2] = {audio.outL.data(), audio.outR.data()};
    v3::AudioBusBuffers in{2, 0, {ins}}, out{2, 0, {outs}};
    v3::ProcessData block{v3::kRealtime, v3::kSample32, 512, 1, 1, &in, &out, nullptr, nullptr, nullptr, nullptr, nullptr};
    if (frame.timer) frame.timer->onTimer();
    for (auto _ : state) {
        state.PauseTiming();
        effect->process(block);
        state.ResumeTiming();
        if (frame.timer) frame.timer->onTimer();
    }
    view->removed();
    view->setFrame(nullptr);
    view->release();
    effect->release();
    headless::destroyHostWindow(host);
}

void vst2EditorIdle(benchmark::State& state) {
    headless::enable();
    void* host = headless::createHostWindow(0, 0, 600, 400);
    auto* effect = new FreezeEffectEdit(benchHost);
    AEffect* record = effect->getEffectRecord();
    record->dispatcher(record, effEditOpen, 0, 0, host, 0.0f);
    record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    Audio audio;
    for (auto _ : state) {
        state.PauseTiming();
        float* in[2] = {audio.inL.data(), audio.inR.data()};
        float* outs[2] = {audio.outL.data(), audio.outR.data()};
        record->processReplacing(record, in, outs, 512);
        state.ResumeTiming();
        record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
    }
    record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    headless::destroyHostWindow(host);
}

void registerPairs() {
    registerPairsWithVst2("vst3_process", vst3Process, std::initializer_list<int64_t>{64, 512});
    benchmark::RegisterBenchmark("vst2_editor_idle", vst2EditorIdle)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("vst3_view_idle", vst3ViewIdle)->Unit(benchmark::kMicrosecond);
}

}  // namespace

int main(int argc, char** argv) {
    registerPairs();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
