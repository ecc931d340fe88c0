// params: every control of the plug-in (engine/SettingTable.h) with its number as id and its own
// values as plain values: the twelve parameters 0..1, the settings stepped (filter types and
// switches as named choices), bypass as the host's bypass switch.
#include <cstdio>
#include <cstring>

#include "clap/ClapPlugin.h"
#include "clap/Extensions.h"

namespace {

bool isControl(clap_id id) { return id < static_cast<clap_id>(kNumControls); }

uint32_t CLAP_ABI count(const clap_plugin_t*) { return static_cast<uint32_t>(kNumControls); }

bool CLAP_ABI getInfo(const clap_plugin_t*, uint32_t index, clap_param_info_t* info) {
    if (!info || !isControl(index)) return false;
    const auto control = static_cast<int32_t>(index);
    *info = clap_param_info_t{};
    info->id = index;
    info->flags = CLAP_PARAM_IS_AUTOMATABLE;
    info->cookie = nullptr;
    info->default_value = static_cast<double>(FreezePlugin::defaultOf(control));
    const char* name = "Bypass";
    const char* module = "";
    if (isParameter(control)) {
        name = parameterInfo(control).lv2Name;
        info->min_value = 0.0;
        info->max_value = 1.0;
    } else if (isSettingControl(control)) {
        const SettingInfo& setting = settingInfo(settingOfControl(control));
        name = setting.name;
        module = "Settings";
        info->min_value = setting.minimum;
        info->max_value = setting.maximum;
        info->flags |= CLAP_PARAM_IS_STEPPED;
        if (setting.kind != SettingKind::steps) info->flags |= CLAP_PARAM_IS_ENUM;
    } else {
        info->min_value = 0.0;
        info->max_value = 1.0;
        info->flags |= CLAP_PARAM_IS_STEPPED | CLAP_PARAM_IS_BYPASS;
    }
    std::snprintf(info->name, sizeof info->name, "%s", name);
    std::snprintf(info->module, sizeof info->module, "%s", module);
    return true;
}

bool CLAP_ABI getValue(const clap_plugin_t* plugin, clap_id id, double* value) {
    ClapPlugin* self = ClapPlugin::of(plugin);
    if (!self || !value || !isControl(id)) return false;
    *value = static_cast<double>(self->neutral().getControl(static_cast<int32_t>(id)));
    return true;
}

bool CLAP_ABI valueToText(const clap_plugin_t*, clap_id id, double value, char* text, uint32_t capacity) {
    if (!text || capacity == 0 || !isControl(id)) return false;
    char shown[64];
    if (!FreezePlugin::controlText(static_cast<int32_t>(id), static_cast<float>(value), shown, sizeof shown))
        return false;
    std::snprintf(text, capacity, "%s", shown);
    return true;
}

bool CLAP_ABI textToValue(const clap_plugin_t*, clap_id id, const char* text, double* value) {
    if (!text || !value || !isControl(id)) return false;
    float plain = 0.0f;
    if (!FreezePlugin::controlFromText(static_cast<int32_t>(id), text, plain)) return false;
    *value = static_cast<double>(plain);
    return true;
}

void CLAP_ABI flush(const clap_plugin_t* plugin, const clap_input_events_t* in, const clap_output_events_t* out) {
    if (ClapPlugin* self = ClapPlugin::of(plugin)) self->flush(in, out);
}

}  // namespace

const clap_plugin_params_t kClapParams = {count, getInfo, getValue, valueToText, textToValue, flush};
