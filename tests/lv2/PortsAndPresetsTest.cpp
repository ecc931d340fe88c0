// What hosts read from the bundle: ports as the parameter table and the engine define them,
// and the ten factory presets.
#include <gtest/gtest.h>

#include <set>

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/presets/presets.h>
#include <lv2/state/state.h>

#include "Lv2TestHost.h"
#include "vst2/FreezeEffect.h"
#include "engine/ParameterTable.h"
#include "lv2/Lv2Ports.h"
#include "lv2/Lv2Uris.h"

namespace {

bool portIs(const LilvPort* port, const char* classUri) {
    const Lv2Bundle& bundle = Lv2Bundle::shared();
    return lilv_port_is_a(bundle.plugin(), port, bundle.uri(classUri));
}

bool portHas(const LilvPort* port, const char* property) {
    const Lv2Bundle& bundle = Lv2Bundle::shared();
    return lilv_port_has_property(bundle.plugin(), port, bundle.uri(property));
}

TEST(Lv2Ports, AsTheTableAndTheEngineDefineThem) {
    const Lv2Bundle& bundle = Lv2Bundle::shared();
    const LilvPlugin* plugin = bundle.plugin();
    ASSERT_EQ(lilv_plugin_get_num_ports(plugin), kNumPorts);
    EXPECT_EQ(lilv_plugin_get_num_ports_of_class(plugin, bundle.uri(LV2_CORE__AudioPort),
                                                 bundle.uri(LV2_CORE__InputPort), nullptr),
              2u);
    EXPECT_EQ(lilv_plugin_get_num_ports_of_class(plugin, bundle.uri(LV2_CORE__AudioPort),
                                                 bundle.uri(LV2_CORE__OutputPort), nullptr),
              2u);
    EXPECT_FALSE(lilv_plugin_has_latency(plugin));
    const LilvPort* events = lilv_plugin_get_port_by_index(plugin, kPortEvents);
    EXPECT_TRUE(portIs(events, LV2_ATOM__AtomPort));
    EXPECT_TRUE(portHas(events, LV2_CORE__connectionOptional));
    EXPECT_TRUE(
        lilv_port_supports_event(plugin, events, bundle.uri("http://lv2plug.in/ns/ext/midi#MidiEvent")));
    EXPECT_TRUE(
        lilv_port_supports_event(plugin, events, bundle.uri("http://lv2plug.in/ns/ext/time#Position")));

    std::vector<float> minimum(kNumPorts), maximum(kNumPorts), defaults(kNumPorts);
    lilv_plugin_get_port_ranges_float(plugin, minimum.data(), maximum.data(), defaults.data());
    // A new engine's values are the ports' defaults: the first run changes nothing.
    FreezeEffect fresh(nullptr);
    for (const ParameterInfo& info : kParameterTable) {
        const uint32_t index = kPortFirstParameter + static_cast<uint32_t>(info.index);
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin, index);
        EXPECT_STREQ(lilv_node_as_string(lilv_port_get_symbol(plugin, port)), info.lv2Symbol);
        LilvNode* name = lilv_port_get_name(plugin, port);
        EXPECT_STREQ(lilv_node_as_string(name), info.lv2Name);
        lilv_node_free(name);
        EXPECT_TRUE(portIs(port, LV2_CORE__ControlPort) && portIs(port, LV2_CORE__InputPort))
            << info.lv2Symbol;
        EXPECT_EQ(minimum[index], kParameterMinimum);
        EXPECT_EQ(maximum[index], kParameterMaximum);
        EXPECT_EQ(defaults[index], info.defaultValue) << info.lv2Symbol;
        EXPECT_EQ(defaults[index], fresh.getParameter(info.index)) << info.lv2Symbol;
    }
    const std::pair<Setting, float> engineValue[] = {
        {Setting::preFilterType, static_cast<float>(fresh.plugin().getPreFilterType())},
        {Setting::postFilterType, static_cast<float>(fresh.plugin().getPostFilterType())},
        {Setting::sequenceLength, static_cast<float>(fresh.plugin().getSequenceLength())},
        {Setting::midiNoteControl, fresh.plugin().isMidiNoteControl() ? 1.0f : 0.0f},
        {Setting::noteRecordStart, fresh.plugin().isNoteRecordStart() ? 1.0f : 0.0f},
        {Setting::repeatTillNoteOff, fresh.plugin().isRepeatTillNoteOff() ? 1.0f : 0.0f},
        {Setting::inverse, fresh.plugin().isInverse() ? 1.0f : 0.0f}};
    for (int32_t i = 0; i < kNumSettings; ++i) {
        const SettingInfo& info = kSettingTable[i];
        const uint32_t index = kPortFirstExtra + static_cast<uint32_t>(i);
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin, index);
        EXPECT_STREQ(lilv_node_as_string(lilv_port_get_symbol(plugin, port)), info.symbol);
        EXPECT_EQ(defaults[index], engineValue[i].second) << info.symbol;
        EXPECT_EQ(minimum[index], static_cast<float>(info.minimum));
        EXPECT_EQ(maximum[index], static_cast<float>(info.maximum));
        EXPECT_TRUE(portHas(port, LV2_CORE__integer)) << info.symbol;
        EXPECT_EQ(portHas(port, LV2_CORE__toggled), info.kind == SettingKind::toggle) << info.symbol;
        EXPECT_EQ(portHas(port, LV2_CORE__enumeration), info.kind == SettingKind::filterType) << info.symbol;
        LilvScalePoints* points = lilv_port_get_scale_points(plugin, port);
        EXPECT_EQ(points ? lilv_scale_points_size(points) : 0u,
                  info.kind == SettingKind::filterType ? 4u : 0u);
        if (points) {
            LILV_FOREACH(scale_points, p, points) {
                const LilvScalePoint* point = lilv_scale_points_get(points, p);
                const int type = lilv_node_as_int(lilv_scale_point_get_value(point));
                ASSERT_TRUE(type >= 0 && type <= kMaxFilterType);
                EXPECT_STREQ(lilv_node_as_string(lilv_scale_point_get_label(point)),
                             kFilterTypeNames[static_cast<size_t>(type)]);
            }
            lilv_scale_points_free(points);
        }
    }
}

TEST(Lv2Ports, DescriptionNamesItsFeaturesAndUi) {
    const Lv2Bundle& bundle = Lv2Bundle::shared();
    const LilvPlugin* plugin = bundle.plugin();
    // Nothing required, so that hosts giving no features (lv2apply) run it.
    LilvNodes* required = lilv_plugin_get_required_features(plugin);
    EXPECT_EQ(required ? lilv_nodes_size(required) : 0u, 0u);
    lilv_nodes_free(required);
    LilvNodes* optional = lilv_plugin_get_optional_features(plugin);
    EXPECT_TRUE(lilv_nodes_contains(optional, bundle.uri(LV2_URID__map)));
    lilv_nodes_free(optional);
    EXPECT_TRUE(lilv_plugin_has_extension_data(plugin, bundle.uri(LV2_STATE__interface)));
    LilvUIs* uis = lilv_plugin_get_uis(plugin);
    ASSERT_EQ(lilv_uis_size(uis), 1u);
    const LilvUI* ui = lilv_uis_get_by_uri(uis, bundle.uri(BRINDLE_LV2_UI_URI));
    ASSERT_NE(ui, nullptr);
    EXPECT_TRUE(lilv_ui_is_a(ui, bundle.uri("http://lv2plug.in/ns/extensions/ui#X11UI")));
    lilv_uis_free(uis);
}

TEST(Lv2Presets, TheTenFactoryPresetsWithTheirNames) {
    const Lv2Bundle& bundle = Lv2Bundle::shared();
    LilvNodes* presets = lilv_plugin_get_related(bundle.plugin(), bundle.uri(LV2_PRESETS__Preset));
    std::set<std::string> labels;
    LILV_FOREACH(nodes, i, presets) {
        const LilvNode* preset = lilv_nodes_get(presets, i);
        lilv_world_load_resource(bundle.world(), preset);
        LilvNodes* label =
            lilv_world_find_nodes(bundle.world(), preset, bundle.uri(LILV_NS_RDFS "label"), nullptr);
        ASSERT_NE(label, nullptr);
        labels.insert(lilv_node_as_string(lilv_nodes_get_first(label)));
        lilv_nodes_free(label);
    }
    lilv_nodes_free(presets);
    const std::set<std::string> expected = {"Sixteenth Stutter", "Grain Buzz",   "Half Roll",  "Lo-Fi Crush",
                                            "Dub Shadow",        "Kick Catcher", "Hat Sizzle", "Gated Chop",
                                            "Radio Repeat",      "MIDI Hold"};
    EXPECT_EQ(labels, expected);
}

}  // namespace
