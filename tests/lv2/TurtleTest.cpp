// What the bundle's description promises a host: it validates against the LV2 schemas, names
// a stable version, and every factory preset sets every control the plug-in shows (so that one
// preset after another never leaves a switch of the first behind).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include <lilv/lilv.h>
#include <lv2/presets/presets.h>

#include "Lv2TestHost.h"
#include "lv2/Lv2Ports.h"

namespace {

std::string output(const std::string& command, int& status) {
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return text;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    status = pclose(pipe);
    return text;
}

TEST(Lv2Turtle, ValidatesAgainstTheLv2Schemas) {
    int status = -1;
    output("command -v sord_validate >/dev/null", status);
    if (status != 0) GTEST_SKIP() << "no sord_validate (Debian: sordi)";
    // The LV2 specifications Debian's lv2-dev installs, and the schemas they use.
    std::string schemas = "$(find";
    for (const char* spec : {"schemas", "core", "atom", "midi", "event", "options", "presets", "state", "time",
                             "ui", "units", "urid", "port-props", "instance-access", "data-access", "buf-size",
                             "log", "parameters", "patch", "port-groups", "resize-port", "worker", "morph",
                             "dynmanifest", "uri-map"})
        schemas += std::string(" /usr/lib/lv2/") + spec + ".lv2";
    schemas += " -name '*.ttl' 2>/dev/null)";
    const std::string text = output("sord_validate " + schemas + " " BRINDLE_LV2_BUNDLE "/*.ttl 2>&1", status);
    EXPECT_EQ(status, 0) << text;
    EXPECT_NE(text.find("Found 0 errors"), std::string::npos) << text;
}

TEST(Lv2Turtle, AStableVersion) {
    const Lv2Bundle& bundle = Lv2Bundle::shared();
    for (const char* property : {LV2_CORE__minorVersion, LV2_CORE__microVersion}) {
        LilvNodes* value = lilv_plugin_get_value(bundle.plugin(), bundle.uri(property));
        ASSERT_NE(value, nullptr) << property;
        const int number = lilv_node_as_int(lilv_nodes_get_first(value));
        lilv_nodes_free(value);
        EXPECT_GE(number, 0);
        // Hosts hide a minor version of 0 (in development) and treat an odd one as unstable.
        if (std::string(property) == LV2_CORE__minorVersion) {
            EXPECT_TRUE(number > 0 && number % 2 == 0) << number;
        }
    }
}

TEST(Lv2Presets, EveryPresetSetsEveryControl) {
    const Lv2Bundle& bundle = Lv2Bundle::shared();
    std::set<std::string> controls;
    for (const ParameterInfo& info : kParameterTable) controls.insert(info.lv2Symbol);
    for (const SettingInfo& info : kSettingTable) controls.insert(info.symbol);
    LilvNodes* presets = lilv_plugin_get_related(bundle.plugin(), bundle.uri(LV2_PRESETS__Preset));
    int32_t count = 0;
    LILV_FOREACH(nodes, i, presets) {
        const LilvNode* preset = lilv_nodes_get(presets, i);
        lilv_world_load_resource(bundle.world(), preset);
        const auto* map = static_cast<const LV2_URID_Map*>(bundle.features()[0]->data);
        LilvState* state = lilv_state_new_from_world(bundle.world(), const_cast<LV2_URID_Map*>(map), preset);
        ASSERT_NE(state, nullptr);
        std::set<std::string> set;
        lilv_state_emit_port_values(
            state,
            [](const char* symbol, void* data, const void*, uint32_t, uint32_t) {
                static_cast<std::set<std::string>*>(data)->insert(symbol);
            },
            &set);
        lilv_state_free(state);
        EXPECT_EQ(set, controls) << lilv_node_as_uri(preset);
        ++count;
    }
    lilv_nodes_free(presets);
    EXPECT_EQ(count, 10);
}

}  // namespace
