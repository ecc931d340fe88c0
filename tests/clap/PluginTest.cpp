// brindleLoop.clap through the test host: descriptor, ports, the parameter list and its texts,
// state round trips and refusals, latency/tail/render, parameter events at their frames, the
// transport, and the editor's edits reaching the host as gestures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "ClapRun.h"
#include "clap/ClapPlugin.h"
#include "engine/SettingTable.h"
#include "plugin/FreezePlugin.h"

namespace {

const clap_plugin_t* makeInProcess(const clap_host_t* host) { return (new ClapPlugin(host))->record(); }
ClapPlugin& adapterOf(const ClapInstance& instance) { return *ClapPlugin::of(instance.get()); }

TEST(ClapDescriptor, IdNamesVersionAndFeatures) {
    ClapLibrary& library = builtLibrary();
    ASSERT_TRUE(library.ok()) << library.error();
    EXPECT_EQ(library.clapEntry()->clap_version.major, 1u);
    EXPECT_EQ(library.clapEntry()->get_factory("clap.preset-discovery-factory/2"), nullptr);
    EXPECT_EQ(library.pluginFactory()->get_plugin_count(library.pluginFactory()), 1u);
    const clap_plugin_descriptor_t* d = library.descriptor();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(library.descriptor(1), nullptr);
    EXPECT_STREQ(d->id, "com.fennelworks.brindleloop");
    EXPECT_STREQ(d->name, "brindleLoop");
    EXPECT_STREQ(d->vendor, "Ulvar @ Fennelworks");
    EXPECT_EQ(std::string(d->url).rfind("https://", 0), 0u);
    int dots = 0;
    for (const char* c = d->version; *c; ++c) dots += *c == '.';
    EXPECT_EQ(dots, 2) << d->version;
    std::string features;
    for (const char* const* f = d->features; *f; ++f) features += std::string(*f) + " ";
    EXPECT_EQ(features, "audio-effect glitch delay stereo ");
    std::printf("  id %s, version %s, features %s\n", d->id, d->version, features.c_str());
    // An unknown id, or none, makes nothing.
    clap_host_t host{};
    EXPECT_EQ(library.pluginFactory()->create_plugin(library.pluginFactory(), &host, "com.other.plugin"), nullptr);
    EXPECT_EQ(library.pluginFactory()->create_plugin(library.pluginFactory(), &host, nullptr), nullptr);
    // init is counted: a second init and deinit leave the library usable.
    EXPECT_TRUE(library.clapEntry()->init(BRINDLE_CLAP_FILE));
    library.clapEntry()->deinit();
    ClapInstance instance(library);
    EXPECT_TRUE(instance.ok());
}

TEST(ClapExtensions, PortsTimingAndUnknownIds) {
    ClapInstance instance(builtLibrary());
    ASSERT_TRUE(instance.ok());
    const auto* audio = instance.extension<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
    const auto* notes = instance.extension<clap_plugin_note_ports_t>(CLAP_EXT_NOTE_PORTS);
    ASSERT_TRUE(audio && notes);
    for (bool input : {true, false}) {
        ASSERT_EQ(audio->count(instance.get(), input), 1u);
        clap_audio_port_info_t info{};
        ASSERT_TRUE(audio->get(instance.get(), 0, input, &info));
        EXPECT_EQ(info.channel_count, 2u);
        EXPECT_EQ(info.flags, CLAP_AUDIO_PORT_IS_MAIN);
        EXPECT_STREQ(info.port_type, "stereo");
        EXPECT_EQ(info.in_place_pair, 0u);
        EXPECT_FALSE(audio->get(instance.get(), 1, input, &info));
    }
    EXPECT_EQ(notes->count(instance.get(), true), 1u);
    EXPECT_EQ(notes->count(instance.get(), false), 0u);
    clap_note_port_info_t note{};
    ASSERT_TRUE(notes->get(instance.get(), 0, true, &note));
    EXPECT_EQ(note.supported_dialects, CLAP_NOTE_DIALECT_CLAP | CLAP_NOTE_DIALECT_MIDI);
    EXPECT_EQ(note.preferred_dialect, CLAP_NOTE_DIALECT_CLAP);
    EXPECT_FALSE(notes->get(instance.get(), 0, false, &note));

    const auto* latency = instance.extension<clap_plugin_latency_t>(CLAP_EXT_LATENCY);
    const auto* tail = instance.extension<clap_plugin_tail_t>(CLAP_EXT_TAIL);
    const auto* render = instance.extension<clap_plugin_render_t>(CLAP_EXT_RENDER);
    ASSERT_TRUE(latency && tail && render);
    ASSERT_TRUE(instance.activate(44100.0));
    EXPECT_EQ(latency->get(instance.get()), 0u);
    EXPECT_FALSE(render->has_hard_realtime_requirement(instance.get()));
    EXPECT_TRUE(render->set(instance.get(), CLAP_RENDER_OFFLINE));
    EXPECT_TRUE(render->set(instance.get(), CLAP_RENDER_REALTIME));
    EXPECT_FALSE(render->set(instance.get(), 7));
    // The tail: bounded by the repeat limit; infinite once a held note can keep the loop going.
    const uint32_t bounded = tail->get(instance.get());
    EXPECT_GT(bounded, 44100u);
    EXPECT_LT(bounded, 0x7FFFFFFFu);
    EventQueue events;
    events.paramValue(0, static_cast<clap_id>(controlOfSetting(Setting::repeatTillNoteOff)), 1.0);
    instance.flush(events);
    EXPECT_GE(tail->get(instance.get()), 0x7FFFFFFFu);
    for (const char* id : {"clap.unknown", "clap.preset-load/2", "", "clap.audio-ports.x"})
        EXPECT_EQ(instance.get()->get_extension(instance.get(), id), nullptr) << id;
    EXPECT_EQ(instance.get()->get_extension(instance.get(), nullptr), nullptr);
}

TEST(ClapParams, EveryControlWithTheNeutralPluginsValuesAndTexts) {
    ClapInstance instance(builtLibrary());
    ASSERT_TRUE(instance.ok());
    const auto* params = instance.extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    ASSERT_NE(params, nullptr);
    ASSERT_EQ(params->count(instance.get()), static_cast<uint32_t>(kNumControls));
    std::set<clap_id> ids;
    int bypassFlags = 0;
    for (uint32_t i = 0; i < params->count(instance.get()); ++i) {
        clap_param_info_t info{};
        ASSERT_TRUE(params->get_info(instance.get(), i, &info));
        ids.insert(info.id);
        const auto control = static_cast<int32_t>(info.id);
        EXPECT_EQ(info.id, i);
        EXPECT_EQ(info.default_value, static_cast<double>(FreezePlugin::defaultOf(control))) << info.name;
        EXPECT_LE(info.min_value, info.default_value);
        EXPECT_LE(info.default_value, info.max_value);
        EXPECT_NE(info.flags & CLAP_PARAM_IS_AUTOMATABLE, 0u);
        bypassFlags += (info.flags & CLAP_PARAM_IS_BYPASS) != 0;
        const bool stepped = (info.flags & CLAP_PARAM_IS_STEPPED) != 0;
        EXPECT_EQ(stepped, !isParameter(control)) << info.name;
        if ((info.flags & CLAP_PARAM_IS_ENUM) != 0) {
            EXPECT_TRUE(stepped);
        }
        double value = -1.0;
        ASSERT_TRUE(params->get_value(instance.get(), info.id, &value));
        EXPECT_EQ(value, info.default_value) << info.name;
        // Every value of a stepped control, and a few of a parameter: the VST 2 text, and back.
        std::vector<double> values;
        if (stepped)
            for (double v = info.min_value; v <= info.max_value; v += 1.0) values.push_back(v);
        else
            values = {0.0, 0.25, 0.5, 1.0};
        char first[64] = {};
        for (double v : values) {
            char text[64] = {}, expected[64] = {};
            ASSERT_TRUE(params->value_to_text(instance.get(), info.id, v, text, sizeof text)) << info.name;
            ASSERT_TRUE(FreezePlugin::controlText(control, static_cast<float>(v), expected, sizeof expected));
            EXPECT_STREQ(text, expected);
            double back = -1.0;
            ASSERT_TRUE(params->text_to_value(instance.get(), info.id, text, &back)) << text;
            if (stepped) {
                EXPECT_EQ(back, v) << info.name << " " << text;
            }
            if (v == info.default_value) std::snprintf(first, sizeof first, "%s", text);
        }
        std::printf("  %2u %-24s %-9s %g..%g default %-5g \"%s\"%s%s\n", info.id, info.name, info.module,
                    info.min_value, info.max_value, info.default_value, first,
                    (info.flags & CLAP_PARAM_IS_ENUM) ? " enum" : (stepped ? " stepped" : ""),
                    (info.flags & CLAP_PARAM_IS_BYPASS) ? " bypass" : "");
        // A short buffer still ends in a terminator; nothing is written beyond it.
        char tiny[4] = {'x', 'x', 'x', 'x'};
        if (params->value_to_text(instance.get(), info.id, values.back(), tiny, 3)) {
            EXPECT_LT(std::strlen(tiny), 3u);
        }
        EXPECT_EQ(tiny[3], 'x');
    }
    EXPECT_EQ(ids.size(), static_cast<size_t>(kNumControls));
    EXPECT_EQ(bypassFlags, 1);
    clap_param_info_t info{};
    EXPECT_FALSE(params->get_info(instance.get(), static_cast<uint32_t>(kNumControls), &info));
    double value = 0.0;
    char text[16];
    EXPECT_FALSE(params->get_value(instance.get(), 999, &value));
    EXPECT_FALSE(params->value_to_text(instance.get(), 999, 0.0, text, sizeof text));
    EXPECT_FALSE(params->text_to_value(instance.get(), 999, "1", &value));
    EXPECT_FALSE(params->text_to_value(instance.get(), kBypassControl, "sideways", &value));
    EXPECT_FALSE(params->text_to_value(instance.get(), 0, nullptr, &value));
}

// Each event changes only its control; a value from flush and from process reads back alike.
TEST(ClapParams, ValuesFromFlushAndProcessReadBackAsGiven) {
    ClapInstance instance(builtLibrary());
    ASSERT_TRUE(instance.ok());
    const auto* params = instance.extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    const struct {
        clap_id id;
        double given, stored;
    } cases[] = {{0, 0.3, 0.3},  {kParamSize, 1.0, 1.0}, {11, 0.125, 0.125}, {12, 2.0, 2.0},
                 {13, 2.6, 3.0}, {14, 40.0, 16.0},       {14, 3.0, 3.0},     {18, 1.0, 1.0},
                 {19, 1.0, 1.0}, {19, 0.2, 0.0}};
    EventQueue events;
    for (const auto& c : cases) {
        events.clear();
        events.paramValue(0, c.id, c.given);
        instance.flush(events);
        double value = -1.0;
        ASSERT_TRUE(params->get_value(instance.get(), c.id, &value));
        EXPECT_FLOAT_EQ(static_cast<float>(value), static_cast<float>(c.stored)) << c.id << " " << c.given;
    }
    // Events of another space, of unknown type, for unknown ids, or cut short change nothing.
    double before = 0.0;
    params->get_value(instance.get(), 1, &before);
    events.clear();
    clap_event_param_value_t foreign{};
    foreign.header = {sizeof foreign, 0, 1, CLAP_EVENT_PARAM_VALUE, 0};
    foreign.param_id = 1;
    foreign.value = 0.9;
    events.add(foreign);
    clap_event_param_value_t shortened = foreign;
    shortened.header.space_id = 0;
    shortened.header.size = 20;
    events.add(shortened);
    events.paramValue(0, 5000, 0.9);
    instance.flush(events);
    double after = 0.0;
    params->get_value(instance.get(), 1, &after);
    EXPECT_EQ(before, after);
}

// An event at frame f of a block plays as the same event at the start of a block that begins at
// f: what comes before it is untouched, what comes after follows the new value.
TEST(ClapParams, EventsActAtTheirFrames) {
    const AudioData& input = demoInput();
    const uint32_t frames = 4096;
    for (uint32_t at : {1u, 100u, 1234u, 4095u}) {
        AudioData one, split;
        for (int run = 0; run < 2; ++run) {
            ClapInstance instance(builtLibrary());
            ASSERT_TRUE(instance.activate(44100.0, frames));
            AudioData& out = run == 0 ? one : split;
            out.left.assign(2 * frames, 0.0f);
            out.right.assign(2 * frames, 0.0f);
            const clap_event_transport_t transport = playingTransport(120.0);
            EventQueue events;
            events.paramValue(0, kParamSize, 0.1);
            events.paramValue(0, kParamThreshold, 0.02);
            uint32_t done = 0;
            const uint32_t blocks[2][3] = {{frames, frames, 0}, {at, frames - at, frames}};
            for (uint32_t b = 0; b < 3 && blocks[run][b] > 0; ++b) {
                const uint32_t n = blocks[run][b];
                const bool eventBlock = run == 0 ? b == 0 : b == 1;
                if (eventBlock) {
                    events.paramValue(run == 0 ? at : 0, kParamDryWet, 0.3);
                    events.paramValue(run == 0 ? at : 0, kParamBits, 0.6);
                }
                const float* in[2] = {input.left.data() + 20000 + done, input.right.data() + 20000 + done};
                float* out2[2] = {out.left.data() + done, out.right.data() + done};
                EXPECT_EQ(instance.process(in, out2, n, events, &transport), CLAP_PROCESS_CONTINUE);
                events.clear();
                done += n;
            }
        }
        EXPECT_EQ(differingSamples(one, split), 0u) << "event at " << at;
    }
}

TEST(ClapProcess, TransportAndUnusualBlocks) {
    // The tempo comes from the transport (none: 120 BPM, as a record without a tempo).
    const AudioData& input = demoInput();
    auto play = [&](const clap_event_transport_t* transport) {
        ClapInstance instance(builtLibrary());
        EXPECT_TRUE(instance.activate(44100.0, 512));
        AudioData out;
        out.left.assign(44100, 0.0f);
        out.right.assign(44100, 0.0f);
        EventQueue events;
        events.paramValue(0, kParamSize, 0.6);
        for (uint32_t done = 0; done < 44100; done += 441) {
            const float* in[2] = {input.left.data() + done, input.right.data() + done};
            float* o[2] = {out.left.data() + done, out.right.data() + done};
            instance.process(in, o, 441, events, transport);
            events.clear();
        }
        return out;
    };
    clap_event_transport_t at120 = playingTransport(120.0), at90 = playingTransport(90.0);
    clap_event_transport_t noTempo = playingTransport(90.0);
    noTempo.flags &= ~CLAP_TRANSPORT_HAS_TEMPO;
    const AudioData none = play(nullptr);
    EXPECT_EQ(differingSamples(none, play(&at120)), 0u);
    EXPECT_EQ(differingSamples(none, play(&noTempo)), 0u);
    EXPECT_GT(differingSamples(none, play(&at90)), 0u);

    // Blocks without input, without events, of no frames, and buffers that are missing.
    ClapInstance instance(builtLibrary());
    ASSERT_TRUE(instance.activate(44100.0, 64));
    float left[64], right[64];
    float* out[2] = {left, right};
    EventQueue events;
    events.noteOn(70, 60);  // beyond the block: at its last frame
    events.paramValue(3, kParamSize, std::nan(""));
    clap_audio_buffer_t outputs{out, nullptr, 2, 0, 0};
    clap_process_t process{};
    process.frames_count = 64;
    process.audio_outputs = &outputs;
    process.audio_outputs_count = 1;
    process.in_events = events.input();
    EXPECT_EQ(instance.get()->process(instance.get(), &process), CLAP_PROCESS_CONTINUE);
    for (float s : left) EXPECT_TRUE(std::isfinite(s));
    process.frames_count = 0;
    EXPECT_EQ(instance.get()->process(instance.get(), &process), CLAP_PROCESS_CONTINUE);
    process.frames_count = 64;
    process.audio_outputs_count = 0;
    events.clear();
    events.paramValue(5, kParamRelease, 0.66);
    EXPECT_EQ(instance.get()->process(instance.get(), &process), CLAP_PROCESS_ERROR);
    // No audio, but the host's value is kept.
    double release = 0.0;
    instance.extension<clap_plugin_params_t>(CLAP_EXT_PARAMS)->get_value(instance.get(), kParamRelease, &release);
    EXPECT_EQ(release, static_cast<double>(0.66f));
    outputs.channel_count = 1;
    process.audio_outputs_count = 1;
    EXPECT_EQ(instance.get()->process(instance.get(), &process), CLAP_PROCESS_ERROR);
    EXPECT_EQ(instance.get()->process(instance.get(), nullptr), CLAP_PROCESS_ERROR);
}

TEST(ClapState, RoundTripIntoAFreshInstanceAndRefusals) {
    ClapInstance source(builtLibrary());
    ASSERT_TRUE(source.ok());
    EventQueue events;
    events.paramValue(0, kParamRelease, 0.77);
    events.paramValue(0, controlOfSetting(Setting::postFilterType), 2.0);
    events.paramValue(0, controlOfSetting(Setting::sequenceLength), 7.0);
    events.paramValue(0, controlOfSetting(Setting::midiNoteControl), 1.0);
    source.flush(events);
    std::vector<unsigned char> state;
    ASSERT_TRUE(source.saveState(state, 7));
    ASSERT_EQ(state.size(), static_cast<size_t>(FreezePlugin::kStateSize));

    ClapInstance fresh(builtLibrary());
    ASSERT_TRUE(fresh.loadState(state, 5));
    EXPECT_EQ(fresh.record.rescans, 1);
    EXPECT_EQ(fresh.record.lastRescanFlags, CLAP_PARAM_RESCAN_VALUES);
    const auto* params = fresh.extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    for (clap_id id = 0; id < static_cast<clap_id>(kNumControls); ++id) {
        double a = 0.0, b = 0.0;
        params->get_value(source.get(), id, &a);
        params->get_value(fresh.get(), id, &b);
        EXPECT_EQ(a, b) << id;
    }
    std::vector<unsigned char> again;
    ASSERT_TRUE(fresh.saveState(again, 1000));
    EXPECT_EQ(again, state);

    // Refused: short, long, empty, foreign tag, unknown layout, a failing stream. Nothing changes.
    struct Bad {
        const char* name;
        std::vector<unsigned char> bytes;
        bool failRead;
    };
    std::vector<Bad> bad;
    bad.push_back({"empty", {}, false});
    bad.push_back({"one byte short", std::vector<unsigned char>(state.begin(), state.end() - 1), false});
    bad.push_back({"header only", std::vector<unsigned char>(state.begin(), state.begin() + 12), false});
    bad.push_back({"one byte long", state, false});
    bad.back().bytes.push_back(0);
    bad.push_back({"twice as long", state, false});
    bad.back().bytes.insert(bad.back().bytes.end(), state.begin(), state.end());
    bad.push_back({"foreign tag", state, false});
    bad.back().bytes[0] ^= 0x20;
    bad.push_back({"unknown layout", state, false});
    bad.back().bytes[4] ^= 0x7F;
    bad.push_back({"read error", state, true});
    ClapInstance target(builtLibrary());
    events.clear();
    events.paramValue(0, kParamKnak, 0.42);
    target.flush(events);
    std::vector<unsigned char> before;
    target.saveState(before);
    for (const Bad& b : bad) {
        EXPECT_FALSE(target.loadState(b.bytes, 64, b.failRead)) << b.name;
        std::vector<unsigned char> now;
        target.saveState(now);
        EXPECT_EQ(now, before) << b.name;
    }
    EXPECT_EQ(target.record.rescans, 0);
}

// The editor's edits reach the host as gesture begin, value, gesture end: through flush while
// inactive and through process while active, after asking for a flush.
TEST(ClapEdits, GesturesReachTheHostThroughFlushAndProcess) {
    ClapInstance instance(makeInProcess);
    ASSERT_TRUE(instance.ok());
    FreezePlugin& neutral = adapterOf(instance).neutral();
    neutral.editOnce(kParamSize, 0.7f);
    neutral.editOnce(controlOfSetting(Setting::preFilterType), 2.0f);
    EXPECT_EQ(instance.record.flushRequests, 6);
    EventQueue none;
    instance.flush(none);
    ASSERT_EQ(instance.produced.size(), 6u);
    const uint16_t kinds[] = {CLAP_EVENT_PARAM_GESTURE_BEGIN, CLAP_EVENT_PARAM_VALUE, CLAP_EVENT_PARAM_GESTURE_END};
    for (size_t i = 0; i < 6; ++i) {
        const clap_event_header_t& h = instance.produced[i].header();
        EXPECT_EQ(h.type, kinds[i % 3]);
        EXPECT_EQ(h.space_id, 0);
        EXPECT_EQ(h.time, 0u);
        const clap_id expectedId = i < 3 ? kParamSize : controlOfSetting(Setting::preFilterType);
        if (h.type == CLAP_EVENT_PARAM_VALUE) {
            EXPECT_EQ(h.size, sizeof(clap_event_param_value_t));
            const auto& v = instance.produced[i].as<clap_event_param_value_t>();
            EXPECT_EQ(v.param_id, expectedId);
            EXPECT_EQ(v.value, i < 3 ? static_cast<double>(0.7f) : 2.0);
            EXPECT_EQ(v.note_id, -1);
        } else {
            EXPECT_EQ(h.size, sizeof(clap_event_param_gesture_t));
            EXPECT_EQ(instance.produced[i].as<clap_event_param_gesture_t>().param_id, expectedId);
        }
    }
    const auto* params = instance.extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    double value = 0.0;
    params->get_value(instance.get(), kParamSize, &value);
    EXPECT_EQ(value, static_cast<double>(0.7f));

    instance.produced.clear();
    ASSERT_TRUE(instance.activate(44100.0, 64));
    neutral.editOnce(kBypassControl, 1.0f);
    float buffer[2][64] = {};
    const float* in[2] = {buffer[0], buffer[1]};
    float* out[2] = {buffer[0], buffer[1]};
    EXPECT_EQ(instance.process(in, out, 64, none, nullptr), CLAP_PROCESS_CONTINUE);
    ASSERT_EQ(instance.produced.size(), 3u);
    EXPECT_EQ(instance.produced[1].as<clap_event_param_value_t>().param_id, static_cast<clap_id>(kBypassControl));
    EXPECT_EQ(instance.produced[1].as<clap_event_param_value_t>().value, 1.0);
    EXPECT_EQ(instance.process(in, out, 64, none, nullptr), CLAP_PROCESS_CONTINUE);
    EXPECT_EQ(instance.produced.size(), 3u);  // each edit once
}

}  // namespace
