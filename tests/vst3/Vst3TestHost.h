// A small VST 3 host for the tests: loads the bundle's binary alone through its exported
// entry points, as hosts do, gives it a host context, a component handler, streams, parameter
// queues, event lists and a process context of its own, and plays the render tool's settings
// through it, to compare with the VST 2 binary played by the render tool's core.
#pragma once

#include <atomic>
#include <memory>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/render/AudioData.h"
#include "tools/render/RenderSettings.h"
#include "ReferenceRender.h"
#include "vst3/Vst3Controller.h"
#include "vst3/Vst3View.h"

// What the host's own objects count, to check that the plug-in gives back every reference.
struct HostCount {
    std::atomic<int32_t> references{1};
    v3::uint32 add() { return static_cast<v3::uint32>(++references); }
    v3::uint32 drop() { return static_cast<v3::uint32>(--references); }
};

// A stream over bytes in memory.
class HostStream final : public v3::IBStream {
public:
    HostStream() = default;
    explicit HostStream(std::vector<unsigned char> content) : bytes(std::move(content)) {}
    v3::tresult V3CALL queryInterface(const v3::TUID iid, void** obj) override;
    v3::uint32 V3CALL addRef() override { return count.add(); }
    v3::uint32 V3CALL release() override { return count.drop(); }
    v3::tresult V3CALL read(void* buffer, v3::int32 numBytes, v3::int32* numBytesRead) override;
    v3::tresult V3CALL write(void* buffer, v3::int32 numBytes, v3::int32* numBytesWritten) override;
    v3::tresult V3CALL seek(v3::int64 pos, v3::int32 mode, v3::int64* result) override;
    v3::tresult V3CALL tell(v3::int64* pos) override;

    std::vector<unsigned char> bytes;
    size_t position = 0;
    int32_t readLimit = 1 << 30;  // the most one read hands over (hosts that read in pieces)
    HostCount count;
};

class HostQueue final : public v3::IParamValueQueue {
public:
    explicit HostQueue(v3::ParamID parameter) : id(parameter) {}
    v3::tresult V3CALL queryInterface(const v3::TUID iid, void** obj) override;
    v3::uint32 V3CALL addRef() override { return count.add(); }
    v3::uint32 V3CALL release() override { return count.drop(); }
    v3::ParamID V3CALL getParameterId() override { return id; }
    v3::int32 V3CALL getPointCount() override { return static_cast<v3::int32>(points.size()); }
    v3::tresult V3CALL getPoint(v3::int32 index, v3::int32& offset, v3::ParamValue& value) override;
    v3::tresult V3CALL addPoint(v3::int32 offset, v3::ParamValue value, v3::int32& index) override;

    v3::ParamID id;
    std::vector<std::pair<int32_t, double>> points;
    HostCount count;
};

class HostChanges final : public v3::IParameterChanges {
public:
    v3::tresult V3CALL queryInterface(const v3::TUID iid, void** obj) override;
    v3::uint32 V3CALL addRef() override { return count.add(); }
    v3::uint32 V3CALL release() override { return count.drop(); }
    v3::int32 V3CALL getParameterCount() override { return static_cast<v3::int32>(queues.size()); }
    v3::IParamValueQueue* V3CALL getParameterData(v3::int32 index) override;
    v3::IParamValueQueue* V3CALL addParameterData(const v3::ParamID& id, v3::int32& index) override;

    // A point for parameter id (its queue made at the first).
    void add(v3::ParamID id, int32_t offset, double value);
    void clear() { queues.clear(); }
    std::vector<std::unique_ptr<HostQueue>> queues;
    HostCount count;
};

class HostEvents final : public v3::IEventList {
public:
    v3::tresult V3CALL queryInterface(const v3::TUID iid, void** obj) override;
    v3::uint32 V3CALL addRef() override { return count.add(); }
    v3::uint32 V3CALL release() override { return count.drop(); }
    v3::int32 V3CALL getEventCount() override { return static_cast<v3::int32>(events.size()); }
    v3::tresult V3CALL getEvent(v3::int32 index, v3::Event& e) override;
    v3::tresult V3CALL addEvent(v3::Event& e) override;

    // A MIDI message as a note event (note-on with velocity 0: note-off).
    void addMidi(int32_t offset, uint8_t status, uint8_t key, uint8_t velocity);
    std::vector<v3::Event> events;
    HostCount count;
};

// The host's side of an instance: context, component handler and (for views) the frame with a
// run loop, recording what the plug-in asks.
class HostSide final : public v3::IHostApplication,
                       public v3::IComponentHandler,
                       public v3::IPlugFrame,
                       public v3::IRunLoop {
public:
    v3::tresult V3CALL queryInterface(const v3::TUID iid, void** obj) override;
    v3::uint32 V3CALL addRef() override { return count.add(); }
    v3::uint32 V3CALL release() override { return count.drop(); }
    v3::tresult V3CALL getName(v3::String128 name) override;
    v3::tresult V3CALL createInstance(v3::TUID cid, v3::TUID iid, void** obj) override;
    v3::tresult V3CALL beginEdit(v3::ParamID id) override;
    v3::tresult V3CALL performEdit(v3::ParamID id, v3::ParamValue value) override;
    v3::tresult V3CALL endEdit(v3::ParamID id) override;
    v3::tresult V3CALL restartComponent(v3::int32 flags) override;
    v3::tresult V3CALL resizeView(v3::IPlugView* view, v3::ViewRect* newSize) override;
    v3::tresult V3CALL registerEventHandler(v3::IEventHandler* handler, int fd) override;
    v3::tresult V3CALL unregisterEventHandler(v3::IEventHandler* handler) override;
    v3::tresult V3CALL registerTimer(v3::ITimerHandler* handler, v3::uint64 milliseconds) override;
    v3::tresult V3CALL unregisterTimer(v3::ITimerHandler* handler) override;

    struct Edit {
        char kind;  // 'b' begin, 'p' perform, 'e' end
        v3::ParamID id;
        double value;
    };
    std::vector<Edit> edits;
    std::vector<int32_t> restarts;
    std::vector<v3::ViewRect> resizes;
    v3::IEventHandler* eventHandler = nullptr;
    int eventFd = -1;
    v3::ITimerHandler* timer = nullptr;
    bool offerRunLoop = true;
    HostCount count;
};

// The binary, loaded once per test program; its factory held until the program ends.
class Vst3Library {
public:
    static Vst3Library& shared();
    bool ok() const { return factoryObject != nullptr; }
    const std::string& error() const { return why; }
    v3::IPluginFactory* factory() const { return factoryObject; }
    // An exported symbol, or null.
    void* symbol(const char* name) const;
    static std::string binaryPath();
    static std::string moduleInfoPath();

private:
    Vst3Library();
    void* handle = nullptr;
    v3::IPluginFactory* factoryObject = nullptr;
    std::string why;
};

// One instance set up as hosts do (initialised twice, handler set, processing set up, active).
class Vst3Plugin {
public:
    explicit Vst3Plugin(double sampleRate = 44100.0, int32_t maxBlock = 4096, bool activate = true);
    ~Vst3Plugin();
    Vst3Plugin(const Vst3Plugin&) = delete;
    Vst3Plugin& operator=(const Vst3Plugin&) = delete;
    bool ok() const { return component && processor && controller; }

    v3::IComponent* component = nullptr;
    v3::IAudioProcessor* processor = nullptr;
    v3::IEditController* controller = nullptr;
    HostSide host;

    std::vector<unsigned char> state();
    v3::tresult setState(const std::vector<unsigned char>& bytes, int32_t readLimit = 1 << 30);
    // One block; in and out may be the same buffers.
    void process(const float* inL, const float* inR, float* outL, float* outR, int32_t frames,
                 v3::IParameterChanges* changes = nullptr, v3::IEventList* events = nullptr,
                 v3::ProcessContext* context = nullptr);
    std::string paramText(v3::ParamID id, double normalised);

private:
    bool active = false;
};

// A parameter point at an absolute frame of a render.
struct AutomationPoint {
    int64_t frame;
    int32_t id;
    double normalised;
};

struct PlaySettings {
    RenderSettings render;
    bool inPlace = false;  // the outputs are the input buffers
    std::vector<AutomationPoint> automation;  // sorted by frame
    std::vector<unsigned char> initialState;  // given to setState first, when not empty
};

// The VST 3 instance playing the settings: bank and preset files through setState (the VST 2
// forms), parameters and editor settings as parameter points at the first frame, notes as
// events, the tempo in the process context.
void renderVst3(const AudioData& input, AudioData& output, const PlaySettings& settings);
// The VST 2 binary playing the same through the render tool's core; automation points are
// set between blocks split at their frames.
void renderVst2(const AudioData& input, AudioData& output, const PlaySettings& settings);
std::vector<unsigned char> fileBytes(const std::string& path);
// The canonical 32-digit form of a class ID's bytes on this platform.
std::string uidString(const char* bytes);
