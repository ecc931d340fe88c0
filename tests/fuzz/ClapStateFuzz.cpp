// Fuzz target: the CLAP state loader with streams of any bytes (a saved state spoiled, cut or
// lengthened, or bytes of the input), read in pieces of any size, sometimes failing; then
// parameter events, notes and MIDI at any frame in blocks of any length, and a save-and-load
// round trip.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "FuzzRequire.h"
#include "clap/ClapPlugin.h"
#include "clap/Extensions.h"

namespace {

struct Stream {
    std::vector<uint8_t> bytes;
    size_t at = 0;
    size_t piece = 1;
    size_t failAt = 0;  // 0: never
};

int64_t CLAP_ABI readPiece(const clap_istream_t* stream, void* buffer, uint64_t size) {
    auto& s = *static_cast<Stream*>(stream->ctx);
    if (s.failAt != 0 && s.at >= s.failAt) return -1;
    const size_t n = std::min({static_cast<size_t>(size), s.piece, s.bytes.size() - s.at});
    if (n > 0) std::memcpy(buffer, s.bytes.data() + s.at, n);  // an empty stream's data() may be null
    s.at += n;
    return static_cast<int64_t>(n);
}

int64_t CLAP_ABI writeAll(const clap_ostream_t* stream, const void* buffer, uint64_t size) {
    auto& bytes = *static_cast<std::vector<uint8_t>*>(stream->ctx);
    bytes.insert(bytes.end(), static_cast<const uint8_t*>(buffer), static_cast<const uint8_t*>(buffer) + size);
    return static_cast<int64_t>(size);
}

std::vector<uint8_t> saved(const clap_plugin_t* plugin) {
    std::vector<uint8_t> bytes;
    clap_ostream_t stream{&bytes, writeAll};
    FUZZ_REQUIRE(kClapState.save(plugin, &stream), "a state is always saved");
    return bytes;
}

struct Events {
    std::vector<std::vector<uint8_t>> list;
    static uint32_t CLAP_ABI size(const clap_input_events_t* in) {
        return static_cast<uint32_t>(static_cast<Events*>(in->ctx)->list.size());
    }
    static const clap_event_header_t* CLAP_ABI get(const clap_input_events_t* in, uint32_t index) {
        auto& list = static_cast<Events*>(in->ctx)->list;
        return index < list.size() ? reinterpret_cast<const clap_event_header_t*>(list[index].data()) : nullptr;
    }
};

template <class T>
std::vector<uint8_t> bytesOf(const T& event) {
    std::vector<uint8_t> bytes(sizeof(T) + 8);
    std::memcpy(bytes.data(), &event, sizeof(T));
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    clap_host_t host{};
    host.clap_version = CLAP_VERSION;
    ClapPlugin* adapter = new ClapPlugin(&host);
    const clap_plugin_t* plugin = adapter->record();
    plugin->init(plugin);
    plugin->activate(plugin, input.ConsumeFloatingPointInRange<double>(8000.0, 192000.0), 1, 4096);

    const int rounds = input.ConsumeIntegralInRange<int>(1, 3);
    for (int round = 0; round < rounds && input.remaining_bytes() > 0; ++round) {
        const std::vector<uint8_t> before = saved(plugin);
        Stream stream;
        if (input.ConsumeBool()) {
            stream.bytes = before;
            const int spoils = input.ConsumeIntegralInRange<int>(0, 6);
            for (int i = 0; i < spoils; ++i)
                stream.bytes[input.ConsumeIntegralInRange<size_t>(0, stream.bytes.size() - 1)] ^=
                    input.ConsumeIntegral<uint8_t>();
            if (input.ConsumeBool()) stream.bytes.resize(input.ConsumeIntegralInRange<size_t>(0, before.size() + 16));
        } else {
            stream.bytes = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(0, 2 * before.size()));
        }
        stream.piece = input.ConsumeIntegralInRange<size_t>(1, 2000);
        stream.failAt = input.ConsumeIntegralInRange<int>(0, 7) == 0 ? input.ConsumeIntegralInRange<size_t>(1, 2000) : 0;
        clap_istream_t in{&stream, readPiece};
        const bool loaded = kClapState.load(plugin, &in);
        const std::vector<uint8_t> after = saved(plugin);
        if (loaded) {
            FUZZ_REQUIRE(stream.bytes.size() == before.size(), "only a state of the right size is taken");
            FUZZ_REQUIRE(std::memcmp(stream.bytes.data(), before.data(), 8) == 0,
                         "only this plug-in's tag and layout are taken");
        } else {
            FUZZ_REQUIRE(after == before, "a refused state changes nothing");
        }

        // Events and a block.
        Events events;
        const uint32_t frames = input.ConsumeIntegralInRange<uint32_t>(0, 4096);
        const int count = input.ConsumeIntegralInRange<int>(0, 8);
        for (int e = 0; e < count; ++e) {
            const uint32_t time = input.ConsumeIntegralInRange<uint32_t>(0, frames + 2);
            switch (input.ConsumeIntegralInRange<int>(0, 3)) {
            case 0: {
                clap_event_param_value_t v{};
                v.header = {sizeof v, time, 0, CLAP_EVENT_PARAM_VALUE, 0};
                v.param_id = input.ConsumeIntegralInRange<clap_id>(0, 24);
                v.value = input.ConsumeFloatingPoint<double>();
                events.list.push_back(bytesOf(v));
                break;
            }
            case 1: {
                clap_event_note_t n{};
                n.header = {sizeof n, time, 0, input.ConsumeIntegralInRange<uint16_t>(0, 2), 0};
                n.key = input.ConsumeIntegral<int16_t>();
                n.velocity = input.ConsumeFloatingPoint<double>();
                events.list.push_back(bytesOf(n));
                break;
            }
            case 2: {
                clap_event_midi_t m{};
                m.header = {sizeof m, time, 0, CLAP_EVENT_MIDI, 0};
                m.data[0] = input.ConsumeIntegral<uint8_t>();
                m.data[1] = input.ConsumeIntegral<uint8_t>();
                m.data[2] = input.ConsumeIntegral<uint8_t>();
                events.list.push_back(bytesOf(m));
                break;
            }
            default: {
                clap_event_transport_t t{};
                t.header = {input.ConsumeBool() ? static_cast<uint32_t>(sizeof t) : 20u, time, 0, CLAP_EVENT_TRANSPORT, 0};
                t.flags = input.ConsumeIntegral<uint32_t>();
                t.tempo = input.ConsumeFloatingPoint<double>();
                t.song_pos_beats = input.ConsumeIntegral<int64_t>();
                events.list.push_back(bytesOf(t));
                break;
            }
            }
        }
        std::vector<float> left(frames + 1, 0.25f), right(frames + 1, -0.25f);
        for (size_t i = 0; i < left.size(); ++i) left[i] = static_cast<float>((i * 7919) % 200) / 200.0f - 0.5f;
        float* channels[2] = {left.data(), right.data()};
        clap_audio_buffer_t audio{channels, nullptr, 2, 0, 0};
        clap_input_events_t list{&events, Events::size, Events::get};
        clap_process_t process{};
        process.frames_count = frames;
        process.audio_inputs = &audio;
        process.audio_outputs = &audio;
        process.audio_inputs_count = 1;
        process.audio_outputs_count = 1;
        process.in_events = &list;
        plugin->process(plugin, &process);
        for (uint32_t i = 0; i < frames; ++i)
            FUZZ_REQUIRE(std::isfinite(left[i]) && std::isfinite(right[i]), "no NaN or infinity out");

        // What is saved loads back and saves the same.
        const std::vector<uint8_t> state = saved(plugin);
        Stream again;
        again.bytes = state;
        again.piece = 3;
        clap_istream_t back{&again, readPiece};
        FUZZ_REQUIRE(kClapState.load(plugin, &back), "a saved state loads");
        FUZZ_REQUIRE(saved(plugin) == state, "and saves the same");
    }
    plugin->deactivate(plugin);
    plugin->destroy(plugin);
    return 0;
}
