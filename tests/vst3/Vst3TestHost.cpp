// The test host: loading, the host's objects, instances and renders.
#include "Vst3TestHost.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "engine/ParameterTable.h"
#include "engine/SettingTable.h"
#include "tools/loader/PluginLoader.h"
#include "tools/render/RenderSession.h"
#include "vst3/Vst3Ids.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

using namespace v3;

namespace {

template <class Interface>
tresult answerOne(Interface* self, const Uid& own, const TUID iid, void** obj) {
    if (!obj) return kInvalidArgument;
    if (kFUnknownIid.is(iid) || own.is(iid)) {
        *obj = self;
        self->addRef();
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

std::string hostPath(std::string path) {
#ifdef _WIN32
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
#endif
    return path;
}

}  // namespace

// --- streams, queues, events ---

tresult V3CALL HostStream::queryInterface(const TUID iid, void** obj) { return answerOne(this, kIBStreamIid, iid, obj); }

tresult V3CALL HostStream::read(void* buffer, int32 numBytes, int32* numBytesRead) {
    if (numBytes < 0 || (!buffer && numBytes > 0)) return kInvalidArgument;
    const size_t left = bytes.size() - std::min(position, bytes.size());
    const size_t n = std::min({left, static_cast<size_t>(numBytes), static_cast<size_t>(readLimit)});
    if (n > 0) std::memcpy(buffer, bytes.data() + position, n);
    position += n;
    if (numBytesRead) *numBytesRead = static_cast<int32>(n);
    return kResultOk;
}

tresult V3CALL HostStream::write(void* buffer, int32 numBytes, int32* numBytesWritten) {
    if (numBytes < 0 || (!buffer && numBytes > 0)) return kInvalidArgument;
    const auto* from = static_cast<const unsigned char*>(buffer);
    if (bytes.size() < position + static_cast<size_t>(numBytes)) bytes.resize(position + static_cast<size_t>(numBytes));
    std::copy(from, from + numBytes, bytes.begin() + static_cast<std::ptrdiff_t>(position));
    position += static_cast<size_t>(numBytes);
    if (numBytesWritten) *numBytesWritten = numBytes;
    return kResultOk;
}

tresult V3CALL HostStream::seek(int64 pos, int32 mode, int64* result) {
    const int64 base = mode == kIBSeekSet ? 0 : mode == kIBSeekCur ? static_cast<int64>(position)
                                                                   : static_cast<int64>(bytes.size());
    if (base + pos < 0) return kInvalidArgument;
    position = static_cast<size_t>(base + pos);
    if (result) *result = static_cast<int64>(position);
    return kResultOk;
}

tresult V3CALL HostStream::tell(int64* pos) {
    if (!pos) return kInvalidArgument;
    *pos = static_cast<int64>(position);
    return kResultOk;
}

tresult V3CALL HostQueue::queryInterface(const TUID iid, void** obj) {
    return answerOne(this, kIParamValueQueueIid, iid, obj);
}

tresult V3CALL HostQueue::getPoint(int32 index, int32& offset, ParamValue& value) {
    if (index < 0 || static_cast<size_t>(index) >= points.size()) return kInvalidArgument;
    offset = points[static_cast<size_t>(index)].first;
    value = points[static_cast<size_t>(index)].second;
    return kResultOk;
}

tresult V3CALL HostQueue::addPoint(int32 offset, ParamValue value, int32& index) {
    points.emplace_back(offset, value);
    index = static_cast<int32>(points.size() - 1);
    return kResultOk;
}

tresult V3CALL HostChanges::queryInterface(const TUID iid, void** obj) {
    return answerOne(this, kIParameterChangesIid, iid, obj);
}

IParamValueQueue* V3CALL HostChanges::getParameterData(int32 index) {
    if (index < 0 || static_cast<size_t>(index) >= queues.size()) return nullptr;
    return queues[static_cast<size_t>(index)].get();
}

IParamValueQueue* V3CALL HostChanges::addParameterData(const ParamID& id, int32& index) {
    for (size_t i = 0; i < queues.size(); ++i)
        if (queues[i]->id == id) {
            index = static_cast<int32>(i);
            return queues[i].get();
        }
    queues.push_back(std::make_unique<HostQueue>(id));
    index = static_cast<int32>(queues.size() - 1);
    return queues.back().get();
}

void HostChanges::add(ParamID id, int32_t offset, double value) {
    int32 index = 0;
    addParameterData(id, index)->addPoint(offset, value, index);
}

tresult V3CALL HostEvents::queryInterface(const TUID iid, void** obj) { return answerOne(this, kIEventListIid, iid, obj); }

tresult V3CALL HostEvents::getEvent(int32 index, Event& e) {
    if (index < 0 || static_cast<size_t>(index) >= events.size()) return kInvalidArgument;
    e = events[static_cast<size_t>(index)];
    return kResultOk;
}

tresult V3CALL HostEvents::addEvent(Event& e) {
    events.push_back(e);
    return kResultOk;
}

void HostEvents::addMidi(int32_t offset, uint8_t status, uint8_t key, uint8_t velocity) {
    Event e{};
    e.sampleOffset = offset;
    const bool on = (status & 0xF0) == 0x90 && velocity > 0;
    if ((status & 0xF0) != 0x90 && (status & 0xF0) != 0x80) return;
    e.type = on ? kNoteOnEvent : kNoteOffEvent;
    if (on) {
        e.noteOn.channel = static_cast<int16>(status & 0x0F);
        e.noteOn.pitch = key;
        e.noteOn.velocity = velocity / 127.0f;
        e.noteOn.noteId = -1;
    } else {
        e.noteOff.channel = static_cast<int16>(status & 0x0F);
        e.noteOff.pitch = key;
        e.noteOff.noteId = -1;
    }
    events.push_back(e);
}

// --- the host side of an instance ---

tresult V3CALL HostSide::queryInterface(const TUID iid, void** obj) {
    if (!obj) return kInvalidArgument;
    void* answer = nullptr;
    if (kFUnknownIid.is(iid) || kIHostApplicationIid.is(iid))
        answer = static_cast<IHostApplication*>(this);
    else if (kIComponentHandlerIid.is(iid))
        answer = static_cast<IComponentHandler*>(this);
    else if (kIPlugFrameIid.is(iid))
        answer = static_cast<IPlugFrame*>(this);
    else if (kIRunLoopIid.is(iid) && offerRunLoop)
        answer = static_cast<IRunLoop*>(this);
    *obj = answer;
    if (!answer) return kNoInterface;
    addRef();
    return kResultOk;
}

tresult V3CALL HostSide::getName(String128 name) {
    const char* text = "brindleLoop test host";
    size_t i = 0;
    for (; text[i]; ++i) name[i] = static_cast<char16_t>(text[i]);
    name[i] = 0;
    return kResultOk;
}

tresult V3CALL HostSide::createInstance(TUID, TUID, void** obj) {
    if (obj) *obj = nullptr;
    return kNotImplemented;
}

tresult V3CALL HostSide::beginEdit(ParamID id) {
    edits.push_back({'b', id, 0.0});
    return kResultOk;
}
tresult V3CALL HostSide::performEdit(ParamID id, ParamValue value) {
    edits.push_back({'p', id, value});
    return kResultOk;
}
tresult V3CALL HostSide::endEdit(ParamID id) {
    edits.push_back({'e', id, 0.0});
    return kResultOk;
}
tresult V3CALL HostSide::restartComponent(int32 flags) {
    restarts.push_back(flags);
    return kResultOk;
}
tresult V3CALL HostSide::resizeView(IPlugView* view, ViewRect* newSize) {
    if (!view || !newSize) return kInvalidArgument;
    resizes.push_back(*newSize);
    return view->onSize(newSize);
}
tresult V3CALL HostSide::registerEventHandler(IEventHandler* handler, int fd) {
    if (!handler || eventHandler) return kInvalidArgument;
    eventHandler = handler;
    eventFd = fd;
    return kResultOk;
}
tresult V3CALL HostSide::unregisterEventHandler(IEventHandler* handler) {
    if (handler == eventHandler) eventHandler = nullptr;
    return kResultOk;
}
tresult V3CALL HostSide::registerTimer(ITimerHandler* handler, uint64 milliseconds) {
    if (!handler || milliseconds == 0) return kInvalidArgument;
    timer = handler;
    return kResultOk;
}
tresult V3CALL HostSide::unregisterTimer(ITimerHandler* handler) {
    if (handler == timer) timer = nullptr;
    return kResultOk;
}

// --- the library ---

std::string Vst3Library::binaryPath() {
    const char* chosen = std::getenv("BRINDLE_VST3");
    return hostPath(chosen && *chosen ? chosen : BRINDLE_VST3_BINARY);
}

std::string Vst3Library::moduleInfoPath() { return hostPath(BRINDLE_VST3_BUNDLE "/Contents/Resources/moduleinfo.json"); }

Vst3Library& Vst3Library::shared() {
    // Never unloaded (the sanitizer's leak check names the plug-in's functions at exit).
    static Vst3Library& library = *new Vst3Library;
    return library;
}

Vst3Library::Vst3Library() {
    const std::string path = binaryPath();
#ifdef _WIN32
    handle = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
#else
    handle = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
#endif
    if (!handle) {
        why = "cannot load " + path;
        return;
    }
#ifdef _WIN32
    using Entry = bool (*)();
    auto* entry = reinterpret_cast<Entry>(symbol("InitDll"));
    if (entry && !entry()) why = "InitDll refused";
#else
    using Entry = bool (*)(void*);
    auto* entry = reinterpret_cast<Entry>(symbol("ModuleEntry"));
    if (!entry || !entry(handle)) why = "no ModuleEntry, or it refused";
#endif
    using GetFactory = IPluginFactory*(V3CALL*)();
    auto* get = reinterpret_cast<GetFactory>(symbol("GetPluginFactory"));
    if (!get) {
        why = "no GetPluginFactory";
        return;
    }
    if (why.empty()) factoryObject = get();
    if (!factoryObject && why.empty()) why = "GetPluginFactory gave no factory";
}

void* Vst3Library::symbol(const char* name) const {
    if (!handle) return nullptr;
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
#else
    return dlsym(handle, name);
#endif
}

// --- instances ---

Vst3Plugin::Vst3Plugin(double sampleRate, int32_t maxBlock, bool activate) {
    IPluginFactory* factory = Vst3Library::shared().factory();
    if (!factory) return;
    void* object = nullptr;
    if (factory->createInstance(kProcessorUid.data(), kIComponentIid.data(), &object) != kResultOk) return;
    component = static_cast<IComponent*>(object);
    component->initialize(static_cast<IHostApplication*>(&host));
    void* found = nullptr;
    if (component->queryInterface(kIAudioProcessorIid.data(), &found) == kResultOk)
        processor = static_cast<IAudioProcessor*>(found);
    if (component->queryInterface(kIEditControllerIid.data(), &found) == kResultOk)
        controller = static_cast<IEditController*>(found);
    if (!processor || !controller) return;
    // As Ardour does with one object: the controller side is initialised too.
    controller->initialize(static_cast<IHostApplication*>(&host));
    controller->setComponentHandler(&host);
    component->activateBus(kEvent, kInput, 0, 1);
    component->activateBus(kAudio, kInput, 0, 1);
    component->activateBus(kAudio, kOutput, 0, 1);
    ProcessSetup setup{kRealtime, kSample32, maxBlock, sampleRate};
    processor->setupProcessing(setup);
    if (activate) {
        component->setActive(1);
        processor->setProcessing(1);
        active = true;
    }
}

Vst3Plugin::~Vst3Plugin() {
    if (active) {
        processor->setProcessing(0);
        component->setActive(0);
    }
    if (controller) {
        controller->setComponentHandler(nullptr);
        controller->terminate();
        controller->release();
    }
    if (processor) processor->release();
    if (component) {
        component->terminate();
        component->release();
    }
}

std::vector<unsigned char> Vst3Plugin::state() {
    HostStream stream;
    if (component->getState(&stream) != kResultOk) return {};
    return stream.bytes;
}

tresult Vst3Plugin::setState(const std::vector<unsigned char>& bytes, int32_t readLimit) {
    HostStream stream(bytes);
    stream.readLimit = readLimit;
    const tresult result = component->setState(&stream);
    stream.position = 0;
    controller->setComponentState(&stream);
    return result;
}

void Vst3Plugin::process(const float* inL, const float* inR, float* outL, float* outR, int32_t frames,
                         IParameterChanges* changes, IEventList* events, ProcessContext* context) {
    float* ins[2] = {const_cast<float*>(inL), const_cast<float*>(inR)};
    float* outs[2] = {outL, outR};
    AudioBusBuffers in{};
    in.numChannels = 2;
    in.channelBuffers32 = ins;
    AudioBusBuffers out{};
    out.numChannels = 2;
    out.channelBuffers32 = outs;
    ProcessData data{};
    data.processMode = kRealtime;
    data.symbolicSampleSize = kSample32;
    data.numSamples = frames;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &in;
    data.outputs = &out;
    data.inputParameterChanges = changes;
    data.inputEvents = events;
    data.processContext = context;
    processor->process(data);
}

std::string Vst3Plugin::paramText(ParamID id, double normalised) {
    String128 text{};
    if (controller->getParamStringByValue(id, normalised, text) != kResultOk) return "<none>";
    std::string out;
    for (size_t i = 0; i < 128 && text[i]; ++i) out += static_cast<char>(text[i]);
    return out;
}

// --- renders ---

namespace {

int32_t parameterIndexOf(const std::string& name) {
    auto lower = [](std::string s) {
        for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        return s;
    };
    for (const ::ParameterInfo& info : kParameterTable)
        if (lower(info.vstName) == lower(name)) return info.index;
    throw std::runtime_error("no parameter " + name);
}

void addSetting(HostChanges& changes, Setting setting, int32_t value) {
    if (value < 0) return;
    const int32_t control = controlOfSetting(setting);
    const SettingInfo& info = settingInfo(setting);
    changes.add(static_cast<ParamID>(control), 0,
                static_cast<double>(value - info.minimum) / (info.maximum - info.minimum));
}

}  // namespace

void renderVst3(const AudioData& input, AudioData& output, const PlaySettings& settings) {
    const RenderSettings& render = settings.render;
    Vst3Plugin plugin(input.sampleRate, render.blockSize);
    if (!plugin.ok()) throw std::runtime_error("no VST 3 instance: " + Vst3Library::shared().error());
    if (!settings.initialState.empty() && plugin.setState(settings.initialState) != kResultOk)
        throw std::runtime_error("initial state refused");
    if (!render.bankFile.empty() && plugin.setState(fileBytes(render.bankFile)) != kResultOk)
        throw std::runtime_error("bank refused: " + render.bankFile);
    if (render.program >= 0) plugin.controller->setParamNormalized(kNumControls, render.program / 15.0);
    if (!render.presetFile.empty() && plugin.setState(fileBytes(render.presetFile)) != kResultOk)
        throw std::runtime_error("preset refused: " + render.presetFile);

    HostChanges first;
    for (const auto& [name, value] : render.parameters)
        first.add(static_cast<ParamID>(parameterIndexOf(name)), 0, static_cast<double>(value));
    const EditorSettings& editor = render.editor;
    addSetting(first, Setting::preFilterType, editor.preFilter);
    addSetting(first, Setting::postFilterType, editor.postFilter);
    addSetting(first, Setting::sequenceLength, editor.sequenceLength);
    addSetting(first, Setting::midiNoteControl, editor.midiNoteControl);
    addSetting(first, Setting::noteRecordStart, editor.noteRecordStart);
    addSetting(first, Setting::repeatTillNoteOff, editor.repeatTillNoteOff);

    output.sampleRate = input.sampleRate;
    output.left.assign(input.frames(), 0.0f);
    output.right.assign(input.frames(), 0.0f);
    AudioData work = input;  // in place: the outputs are these buffers
    BlockSchedule schedule(render.blockSize, render.varyBlocks);
    size_t nextNote = 0, nextPoint = 0, done = 0;
    bool firstBlock = true;
    while (done < input.frames()) {
        const size_t block = std::min(static_cast<size_t>(schedule.next()), input.frames() - done);
        const auto start = static_cast<int64_t>(done);
        const auto end = start + static_cast<int64_t>(block);
        HostChanges later;
        HostChanges& changes = firstBlock ? first : later;
        while (nextPoint < settings.automation.size() && settings.automation[nextPoint].frame < end) {
            const AutomationPoint& point = settings.automation[nextPoint++];
            changes.add(static_cast<ParamID>(point.id), static_cast<int32_t>(std::max<int64_t>(point.frame - start, 0)),
                        point.normalised);
        }
        HostEvents events;
        while (nextNote < render.notes.size() && render.notes[nextNote].position < end) {
            const MidiNote& note = render.notes[nextNote++];
            events.addMidi(static_cast<int32_t>(note.position - start), note.status, note.data1, note.data2);
        }
        ProcessContext context{};
        context.state = kTempoValid | kProjectTimeMusicValid | kPlaying;
        context.sampleRate = input.sampleRate;
        context.projectTimeSamples = start;
        context.tempo = render.tempo;
        context.projectTimeMusic = static_cast<double>(start) / input.sampleRate * render.tempo / 60.0;
        if (settings.inPlace) {
            plugin.process(work.left.data() + done, work.right.data() + done, work.left.data() + done,
                           work.right.data() + done, static_cast<int32_t>(block), &changes, &events, &context);
        } else {
            plugin.process(input.left.data() + done, input.right.data() + done, output.left.data() + done,
                           output.right.data() + done, static_cast<int32_t>(block), &changes, &events, &context);
        }
        firstBlock = false;
        done += block;
    }
    if (settings.inPlace) {
        output.left = work.left;
        output.right = work.right;
    }
}

namespace {

// The VST 2 record's own processReplacing, split at the automation points' frames with the
// value set between (tests run one render at a time).
struct Vst2Automation {
    AEffect* effect = nullptr;
    AEffectProcessProc original = nullptr;
    const std::vector<AutomationPoint>* points = nullptr;
    size_t next = 0;
    int64_t frame = 0;
};
Vst2Automation vst2Automation;

void VSTCALL splitProcess(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
    Vst2Automation& a = vst2Automation;
    int32_t done = 0;
    while (done < frames) {
        while (a.next < a.points->size() && (*a.points)[a.next].frame <= a.frame + done) {
            const AutomationPoint& point = (*a.points)[a.next++];
            if (point.id < kNumParams) effect->setParameter(effect, point.id, static_cast<float>(point.normalised));
        }
        int32_t run = frames - done;
        if (a.next < a.points->size()) run = std::min<int64_t>(run, (*a.points)[a.next].frame - (a.frame + done));
        float* in[2] = {inputs[0] + done, inputs[1] + done};
        float* out[2] = {outputs[0] + done, outputs[1] + done};
        a.original(effect, in, out, run);
        done += run;
    }
    a.frame += frames;
}

}  // namespace

void renderVst2(const AudioData& input, AudioData& output, const PlaySettings& settings) {
    if (!settings.initialState.empty()) throw std::runtime_error("the VST 2 render takes files, not states");
    static PluginLoader& library = *new PluginLoader;
    if (!library.entry() && !library.load(hostPath(BRINDLE_PLUGIN_FILE))) throw std::runtime_error(library.error());
    const PluginEntryProc entry = library.entry();
    const bool automated = !settings.automation.empty();
    // The session's own record, with its processReplacing split at the automation's frames.
    EffectFactory create = [&](audioMasterCallback callback) {
        AEffect* effect = entry ? entry(callback) : nullptr;
        if (effect && automated) {
            vst2Automation = {effect, effect->processReplacing, &settings.automation, 0, 0};
            effect->processReplacing = splitProcess;
        }
        return effect;
    };
    RenderSession session;
    std::string error;
    if (!session.open(create, BRINDLE_PLUGIN_FILE, input.sampleRate, settings.render.blockSize, error) ||
        !session.configure(settings.render, error))
        throw std::runtime_error(error);
    session.render(input, output, settings.render);
}


std::vector<unsigned char> fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read " + path);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), {});
}

std::string uidString(const char* bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
#ifdef _WIN32
    // Undo the GUID order of the first two words.
    const unsigned char words[8] = {b[3], b[2], b[1], b[0], b[5], b[4], b[7], b[6]};
#else
    const unsigned char words[8] = {b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]};
#endif
    char text[33];
    for (int i = 0; i < 16; ++i) std::snprintf(text + 2 * i, 3, "%02X", i < 8 ? words[i] : b[i]);
    return text;
}
