// The test host first checked against CLAP plug-ins from Debian (zam-plugins in /usr/lib/clap):
// what they show through it must be what a CLAP plug-in is, so that the host's own declarations,
// events and streams are known right before they judge ours.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "ClapHost.h"

#ifndef _WIN32
namespace {

struct Reference {
    const char* file;
    uint32_t channels;  // of the main input and output
};

const Reference kReferences[] = {{"ZamDelay.clap", 1}, {"ZamVerb.clap", 2}};

std::string referencePath(const char* file) { return std::string("/usr/lib/clap/") + file; }

TEST(ZamReference, LoadsDescribesAndProcessesThroughTheTestHost) {
    for (const Reference& reference : kReferences) {
        SCOPED_TRACE(reference.file);
        ClapLibrary library(referencePath(reference.file));
        ASSERT_TRUE(library.ok()) << library.error() << " (Debian: zam-plugins)";
        EXPECT_GE(library.clapEntry()->clap_version.major, 1u);
        ASSERT_EQ(library.pluginFactory()->get_plugin_count(library.pluginFactory()), 1u);
        const clap_plugin_descriptor_t* descriptor = library.descriptor();
        ASSERT_NE(descriptor, nullptr);
        EXPECT_EQ(std::string(descriptor->name).rfind("Zam", 0), 0u) << descriptor->name;
        EXPECT_NE(std::string(descriptor->id).find('.'), std::string::npos) << descriptor->id;
        EXPECT_EQ(library.descriptor(1), nullptr);
        EXPECT_EQ(library.clapEntry()->get_factory("no.such-factory"), nullptr);
        bool audioEffect = false;
        for (const char* const* feature = descriptor->features; feature && *feature; ++feature)
            audioEffect = audioEffect || std::string(*feature) == "audio-effect";
        EXPECT_TRUE(audioEffect);
        std::printf("  %s: id %s, version %s, CLAP %u.%u.%u\n", reference.file, descriptor->id,
                    descriptor->version, descriptor->clap_version.major, descriptor->clap_version.minor,
                    descriptor->clap_version.revision);

        ClapInstance instance(library);
        ASSERT_TRUE(instance.ok());
        // The port records: our declared layout read back as the plug-in wrote it.
        const auto* ports = instance.extension<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
        ASSERT_NE(ports, nullptr);
        ASSERT_EQ(ports->count(instance.get(), true), 1u);
        ASSERT_EQ(ports->count(instance.get(), false), 1u);
        for (bool input : {true, false}) {
            clap_audio_port_info_t info{};
            ASSERT_TRUE(ports->get(instance.get(), 0, input, &info));
            EXPECT_EQ(info.channel_count, reference.channels);
            EXPECT_NE(info.flags & CLAP_AUDIO_PORT_IS_MAIN, 0u);
            EXPECT_LT(std::strlen(info.name), sizeof info.name);
        }
        // The parameter records: names, ranges and texts make sense at our offsets.
        const auto* params = instance.extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
        ASSERT_NE(params, nullptr);
        const uint32_t count = params->count(instance.get());
        ASSERT_GT(count, 0u);
        for (uint32_t i = 0; i < count; ++i) {
            clap_param_info_t info{};
            ASSERT_TRUE(params->get_info(instance.get(), i, &info));
            EXPECT_GT(std::strlen(info.name), 0u);
            EXPECT_LE(info.min_value, info.default_value) << info.name;
            EXPECT_LE(info.default_value, info.max_value) << info.name;
            double value = -1e300;
            EXPECT_TRUE(params->get_value(instance.get(), info.id, &value));
            EXPECT_GE(value, info.min_value) << info.name;
            EXPECT_LE(value, info.max_value) << info.name;
            char text[256] = {};
            if (params->value_to_text(instance.get(), info.id, value, text, sizeof text)) {
                EXPECT_LT(std::strlen(text), sizeof text);
            }
            if (i == 0)
                std::printf("  first parameter: id %u \"%s\" %g..%g default %g, now \"%s\"\n", info.id, info.name,
                            info.min_value, info.max_value, info.default_value, text);
        }
        // Blocks with a parameter event: the process record, input events and transport.
        ASSERT_TRUE(instance.activate(48000.0, 512));
        std::vector<float> in(512), out[2] = {std::vector<float>(512), std::vector<float>(512)};
        for (size_t i = 0; i < in.size(); ++i) in[i] = 0.25f * std::sin(0.05f * static_cast<float>(i));
        const float* inputs[2] = {in.data(), in.data()};
        float* outputs[2] = {out[0].data(), out[1].data()};
        clap_param_info_t first{};
        params->get_info(instance.get(), 0, &first);
        EventQueue events;
        events.paramValue(10, first.id, first.default_value);
        const clap_event_transport_t transport = playingTransport(120.0);
        for (int block = 0; block < 8; ++block) {
            const int32_t status = instance.process(inputs, outputs, 512, events, &transport, reference.channels);
            EXPECT_NE(status, CLAP_PROCESS_ERROR);
            events.clear();
        }
        for (uint32_t c = 0; c < reference.channels; ++c)
            for (float sample : out[c]) ASSERT_TRUE(std::isfinite(sample));
        instance.deactivate();
        // State through streams that move a few bytes at a time, into a fresh instance.
        if (!instance.extension<clap_plugin_state_t>(CLAP_EXT_STATE)) {
            std::printf("  %u parameters, no state extension\n", count);
            continue;
        }
        std::vector<unsigned char> state;
        ASSERT_TRUE(instance.saveState(state, 3));
        EXPECT_GT(state.size(), 0u);
        ClapInstance fresh(library);
        ASSERT_TRUE(fresh.ok());
        EXPECT_TRUE(fresh.loadState(state, 2));
        std::printf("  %u parameters, state of %zu bytes\n", count, state.size());
    }
}

}  // namespace
#endif
