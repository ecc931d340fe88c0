// Fuzz target: the VST 3 component's state loader, reached through setState with a host
// stream, on bytes of the input, a saved state spoiled, or a VST 2 bank or preset record
// spoiled; streams that hand over a few bytes at a time; then a block with parameter points
// and note events of any offset and value.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "FuzzRequire.h"
#include "vst3/Vst3Effect.h"
#include "vst3/Vst3State.h"

using namespace v3;

namespace {

class Stream final : public IBStream {
public:
    tresult V3CALL queryInterface(const TUID, void** obj) override {
        if (obj) *obj = nullptr;
        return kNoInterface;
    }
    uint32 V3CALL addRef() override { return 1; }
    uint32 V3CALL release() override { return 1; }
    tresult V3CALL read(void* buffer, int32 numBytes, int32* numBytesRead) override {
        const size_t n = std::min({bytes.size() - position, static_cast<size_t>(std::max(numBytes, 0)), piece});
        if (n > 0) std::memcpy(buffer, bytes.data() + position, n);
        position += n;
        if (numBytesRead) *numBytesRead = static_cast<int32>(n);
        return kResultOk;
    }
    tresult V3CALL write(void* buffer, int32 numBytes, int32* numBytesWritten) override {
        const auto* from = static_cast<const unsigned char*>(buffer);
        bytes.insert(bytes.end(), from, from + numBytes);
        if (numBytesWritten) *numBytesWritten = numBytes;
        return kResultOk;
    }
    tresult V3CALL seek(int64, int32, int64*) override { return kNotImplemented; }
    tresult V3CALL tell(int64* pos) override {
        if (pos) *pos = static_cast<int64>(position);
        return kResultOk;
    }
    std::vector<unsigned char> bytes;
    size_t position = 0;
    size_t piece = 1u << 30;
};

class Points final : public IParamValueQueue {
public:
    tresult V3CALL queryInterface(const TUID, void** obj) override {
        if (obj) *obj = nullptr;
        return kNoInterface;
    }
    uint32 V3CALL addRef() override { return 1; }
    uint32 V3CALL release() override { return 1; }
    ParamID V3CALL getParameterId() override { return id; }
    int32 V3CALL getPointCount() override { return static_cast<int32>(points.size()); }
    tresult V3CALL getPoint(int32 index, int32& offset, ParamValue& value) override {
        if (index < 0 || static_cast<size_t>(index) >= points.size()) return kInvalidArgument;
        offset = points[static_cast<size_t>(index)].first;
        value = points[static_cast<size_t>(index)].second;
        return kResultOk;
    }
    tresult V3CALL addPoint(int32, ParamValue, int32&) override { return kResultFalse; }
    ParamID id = 0;
    std::vector<std::pair<int32, double>> points;
};

class Changes final : public IParameterChanges {
public:
    tresult V3CALL queryInterface(const TUID, void** obj) override {
        if (obj) *obj = nullptr;
        return kNoInterface;
    }
    uint32 V3CALL addRef() override { return 1; }
    uint32 V3CALL release() override { return 1; }
    int32 V3CALL getParameterCount() override { return static_cast<int32>(queues.size()); }
    IParamValueQueue* V3CALL getParameterData(int32 index) override {
        return index >= 0 && static_cast<size_t>(index) < queues.size() ? &queues[static_cast<size_t>(index)] : nullptr;
    }
    IParamValueQueue* V3CALL addParameterData(const ParamID&, int32&) override { return nullptr; }
    std::vector<Points> queues;
};

class Events final : public IEventList {
public:
    tresult V3CALL queryInterface(const TUID, void** obj) override {
        if (obj) *obj = nullptr;
        return kNoInterface;
    }
    uint32 V3CALL addRef() override { return 1; }
    uint32 V3CALL release() override { return 1; }
    int32 V3CALL getEventCount() override { return static_cast<int32>(events.size()); }
    tresult V3CALL getEvent(int32 index, Event& e) override {
        if (index < 0 || static_cast<size_t>(index) >= events.size()) return kInvalidArgument;
        e = events[static_cast<size_t>(index)];
        return kResultOk;
    }
    tresult V3CALL addEvent(Event&) override { return kResultFalse; }
    std::vector<Event> events;
};

std::vector<unsigned char> stateOf(Vst3Effect& effect) {
    Stream stream;
    FUZZ_REQUIRE(static_cast<IComponent&>(effect).getState(&stream) == kResultOk, "a state is always saved");
    return stream.bytes;
}

// A VST 2 record of this plug-in around a chunk: a bank ('FBCh') or a preset ('FPCh').
std::vector<unsigned char> vst2Record(bool bank, const std::vector<unsigned char>& chunk) {
    const size_t header = bank ? 160 : 60;
    unsigned char head[160] = {};
    auto big = [&head](size_t at, uint32_t value) {
        for (size_t i = 0; i < 4; ++i) head[at + i] = static_cast<unsigned char>(value >> (24 - 8 * i));
    };
    std::memcpy(head, "CcnK", 4);
    big(4, static_cast<uint32_t>(header + chunk.size() - 8));
    std::memcpy(head + 8, bank ? "FBCh" : "FPCh", 4);
    big(12, 2);
    big(16, 0x42524C50);
    big(24, 16);
    big(bank ? 156 : 56, static_cast<uint32_t>(chunk.size()));
    std::vector<unsigned char> bytes(head, head + header);
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    auto* effect = new Vst3Effect();
    ProcessSetup setup{kRealtime, kSample32, 4096, data.ConsumeFloatingPointInRange<double>(1.0, 400000.0)};
    effect->setupProcessing(setup);
    effect->setActive(1);
    std::vector<float> inL(4096), inR(4096), outL(4096), outR(4096);
    for (size_t i = 0; i < inL.size(); ++i) inL[i] = inR[i] = static_cast<float>((i * 7919) % 200) / 200.0f - 0.5f;

    const int rounds = data.ConsumeIntegralInRange<int>(1, 3);
    for (int round = 0; round < rounds; ++round) {
        Stream stream;
        const int kind = data.ConsumeIntegralInRange<int>(0, 3);
        if (kind == 0) {
            stream.bytes = data.ConsumeBytes<unsigned char>(data.ConsumeIntegralInRange<size_t>(0, 5000));
        } else {
            std::vector<unsigned char> base = stateOf(*effect);
            if (kind >= 2) {
                std::vector<unsigned char> chunk(base.begin() + 12, base.end() - 4);
                if (kind == 3) chunk.resize(84);
                chunk.resize(data.ConsumeIntegralInRange<size_t>(0, chunk.size() + 8));
                base = vst2Record(kind == 2, chunk);
            }
            // A few bytes changed, or the length.
            const int spoils = data.ConsumeIntegralInRange<int>(0, 4);
            for (int s = 0; s < spoils && !base.empty(); ++s)
                base[data.ConsumeIntegralInRange<size_t>(0, base.size() - 1)] = data.ConsumeIntegral<unsigned char>();
            if (data.ConsumeBool()) base.resize(data.ConsumeIntegralInRange<size_t>(0, base.size() + 8));
            stream.bytes = base;
        }
        stream.piece = data.ConsumeIntegralInRange<size_t>(1, 5000);
        const std::vector<unsigned char> before = stateOf(*effect);
        const bool taken = static_cast<IComponent*>(effect)->setState(&stream) == kResultOk;
        if (!taken) FUZZ_REQUIRE(stateOf(*effect) == before, "a refused state changes nothing");
        if (taken) {
            // What was taken is saved whole and taken the same by a fresh instance.
            const std::vector<unsigned char> saved = stateOf(*effect);
            FUZZ_REQUIRE(saved.size() == static_cast<size_t>(vst3state::kSize), "a saved state is whole");
            auto* fresh = new Vst3Effect();
            Stream again;
            again.bytes = saved;
            FUZZ_REQUIRE(static_cast<IComponent*>(fresh)->setState(&again) == kResultOk, "a saved state is taken");
            FUZZ_REQUIRE(stateOf(*fresh) == saved, "and saved again the same");
            fresh->release();
        }

        // One block with points and notes of any offset and value.
        Changes changes;
        const int queues = data.ConsumeIntegralInRange<int>(0, 4);
        for (int q = 0; q < queues; ++q) {
            Points points;
            points.id = data.ConsumeIntegralInRange<ParamID>(0, kNumVst3Params + 2);
            const int count = data.ConsumeIntegralInRange<int>(0, 4);
            for (int p = 0; p < count; ++p)
                points.points.emplace_back(data.ConsumeIntegral<int32>(), data.ConsumeFloatingPoint<double>());
            changes.queues.push_back(points);
        }
        Events events;
        const int notes = data.ConsumeIntegralInRange<int>(0, 4);
        for (int n = 0; n < notes; ++n) {
            Event e{};
            e.type = data.ConsumeIntegralInRange<uint16>(0, 2);
            e.sampleOffset = data.ConsumeIntegral<int32>();
            e.noteOn.pitch = data.ConsumeIntegral<int16>();
            e.noteOn.velocity = data.ConsumeFloatingPoint<float>();
            events.events.push_back(e);
        }
        const int32 frames = data.ConsumeIntegralInRange<int32>(0, 4096);
        float* ins[2] = {inL.data(), inR.data()};
        float* outs[2] = {outL.data(), outR.data()};
        AudioBusBuffers in{2, 0, {ins}};
        AudioBusBuffers out{2, 0, {outs}};
        ProcessData block{kRealtime, kSample32, frames, 1, 1, &in, &out, &changes, nullptr, &events, nullptr, nullptr};
        FUZZ_REQUIRE(effect->process(block) == kResultOk, "a block is processed");
        for (int32 i = 0; i < frames; ++i)
            FUZZ_REQUIRE(outL[static_cast<size_t>(i)] == outL[static_cast<size_t>(i)] &&
                             outR[static_cast<size_t>(i)] == outR[static_cast<size_t>(i)],
                         "no NaN out");
    }
    effect->release();
    return 0;
}
