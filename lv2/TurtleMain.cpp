// brindleloop-lv2-ttl: writes the bundle's Turtle files at build time from the parameter table,
// the extra controls and the factory preset files, so the description cannot drift from them.
//   brindleloop-lv2-ttl OUTDIR PRESET_FILE...
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/ParameterTable.h"
#include "lv2/Lv2Ports.h"
#include "lv2/Lv2Uris.h"
#include "lv2/PresetPorts.h"
#include "plugin/PluginInfo.h"

namespace {

const char kPrefixes[] =
    "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix midi: <http://lv2plug.in/ns/ext/midi#> .\n"
    "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
    "@prefix time: <http://lv2plug.in/ns/ext/time#> .\n"
    "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n\n";

// A float as a Turtle decimal that reads back as the same float.
std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    std::string out = text;
    if (out.find_first_of(".e") == std::string::npos) out += ".0";
    return out;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

// LV2 reads a minor version of 0 as a plug-in in development and an odd one as unstable: the
// project's major and minor versions as one even number that grows with them (1.0: 200).
int32_t lv2MinorVersion() { return 2 * (100 * kVersionMajor + kVersionMinor); }

std::string stemOf(const std::string& path) {
    std::string stem = path.substr(path.find_last_of('/') + 1);
    return stem.substr(0, stem.find('.'));
}

void writePorts(std::ostream& out) {
    const char* audio[4][3] = {{"lv2:InputPort", "in_left", "Left in"},
                               {"lv2:InputPort", "in_right", "Right in"},
                               {"lv2:OutputPort", "out_left", "Left out"},
                               {"lv2:OutputPort", "out_right", "Right out"}};
    out << "    lv2:port";
    for (uint32_t i = 0; i < 4; ++i)
        out << (i ? " ,\n" : "\n") << "        [ a lv2:AudioPort , " << audio[i][0] << " ; lv2:index " << i
            << " ; lv2:symbol \"" << audio[i][1] << "\" ; lv2:name \"" << audio[i][2] << "\" ]";
    out << " ,\n        [ a atom:AtomPort , lv2:InputPort ; lv2:index " << kPortEvents
        << " ; lv2:symbol \"events\" ; lv2:name \"Events\" ;\n"
           "          atom:bufferType atom:Sequence ; atom:supports midi:MidiEvent , time:Position ;\n"
           "          lv2:designation lv2:control ; lv2:portProperty lv2:connectionOptional ]";
    for (const ParameterInfo& info : kParameterTable)
        out << " ,\n        [ a lv2:InputPort , lv2:ControlPort ; lv2:index "
            << kPortFirstParameter + info.index << " ; lv2:symbol \"" << info.lv2Symbol << "\" ; lv2:name "
            << quoted(info.lv2Name) << " ;\n          rdfs:comment " << quoted(info.working.meaning)
            << " ;\n          lv2:default " << number(info.defaultValue) << " ; lv2:minimum 0.0 ; lv2:maximum 1.0 ]";
    for (int32_t i = 0; i < kNumSettings; ++i) {
        const SettingInfo& info = kSettingTable[i];
        out << " ,\n        [ a lv2:InputPort , lv2:ControlPort ; lv2:index " << kPortFirstExtra + i
            << " ; lv2:symbol \"" << info.symbol << "\" ; lv2:name " << quoted(info.name)
            << " ;\n          rdfs:comment " << quoted(info.comment) << " ;\n          lv2:default " << info.defaultValue << " ; lv2:minimum " << info.minimum
            << " ; lv2:maximum " << info.maximum;
        switch (info.kind) {
        case SettingKind::toggle: out << " ; lv2:portProperty lv2:toggled , lv2:integer"; break;
        case SettingKind::steps: out << " ; lv2:portProperty lv2:integer"; break;
        case SettingKind::filterType:
            out << " ; lv2:portProperty lv2:integer , lv2:enumeration ;\n          lv2:scalePoint";
            for (int32_t type = 0; type <= kMaxFilterType; ++type)
                out << (type ? " ," : "") << " [ rdfs:label \"" << kFilterTypeNames[static_cast<size_t>(type)]
                    << "\" ; rdf:value " << type << " ]";
            break;
        }
        out << " ]";
    }
    out << " ,\n        [ a atom:AtomPort , lv2:InputPort ; lv2:index " << kPortTime
        << " ; lv2:symbol \"time\" ; lv2:name \"Time\" ;\n"
           "          atom:bufferType atom:Sequence ; atom:supports time:Position ;\n"
           "          lv2:portProperty lv2:connectionOptional ]";
    out << " ,\n        [ a lv2:InputPort , lv2:ControlPort ; lv2:index " << kPortEnabled
        << " ; lv2:symbol \"enabled\" ; lv2:name \"Enabled\" ;\n"
           "          rdfs:comment \"Off bypasses the effect: its input is heard, faded over 10 ms\" ;\n"
           "          lv2:designation lv2:enabled ; lv2:default 1 ; lv2:minimum 0 ; lv2:maximum 1 ;\n"
           "          lv2:portProperty lv2:toggled , lv2:integer ]";
    out << " .\n";
}

void writePlugin(std::ostream& out) {
    out << kPrefixes << "<" BRINDLE_LV2_URI ">\n"
        << "    a lv2:Plugin , lv2:DelayPlugin ;\n"
           "    doap:name \"brindleLoop\" ;\n"
           "    doap:license <http://opensource.org/licenses/mit> ;\n"
           "    lv2:project <" BRINDLE_LV2_URI "#project> ;\n"
        << "    lv2:minorVersion " << lv2MinorVersion() << " ; lv2:microVersion " << kVersionPatch << " ;\n"
           "    lv2:optionalFeature lv2:hardRTCapable , urid:map ;\n"
           "    lv2:extensionData state:interface ;\n"
           "    ui:ui <" BRINDLE_LV2_UI_URI "> ;\n";
    writePorts(out);
    out << "\n<" BRINDLE_LV2_URI "#project>\n"
           "    a doap:Project ;\n"
           "    doap:name \"brindleLoop\" ;\n"
           "    doap:maintainer [ a foaf:Person ; foaf:name \"Ulvar @ Fennelworks\" ] .\n";
    out << "\n<" BRINDLE_LV2_UI_URI
           ">\n"
           "    a ui:X11UI ;\n"
           "    lv2:requiredFeature ui:parent , <http://lv2plug.in/ns/ext/instance-access> ;\n"
           "    lv2:optionalFeature ui:resize , ui:touch , ui:idleInterface , opts:options , urid:map ;\n"
           "    opts:supportedOption ui:scaleFactor ;\n"
           "    lv2:extensionData ui:idleInterface , opts:interface .\n";
}

void writePresets(std::ostream& out, const std::vector<std::pair<std::string, PresetPorts>>& presets) {
    out << kPrefixes;
    for (const auto& [stem, preset] : presets) {
        out << "<" BRINDLE_LV2_PRESET_PREFIX << stem
            << ">\n    a pset:Preset ;\n    lv2:appliesTo <" BRINDLE_LV2_URI "> ;\n    rdfs:label "
            << quoted(preset.label) << " ;\n    lv2:port";
        for (size_t i = 0; i < preset.values.size(); ++i)
            out << (i ? " ,\n" : "\n") << "        [ lv2:symbol \"" << preset.values[i].first
                << "\" ; pset:value " << number(preset.values[i].second) << " ]";
        out << " .\n\n";
    }
}

void writeManifest(std::ostream& out, const std::vector<std::pair<std::string, PresetPorts>>& presets) {
    out << kPrefixes
        << "<" BRINDLE_LV2_URI ">\n    a lv2:Plugin ;\n    lv2:binary <" BRINDLE_LV2_DSP_BINARY
           "> ;\n    rdfs:seeAlso <brindleLoop.ttl> .\n\n"
        << "<" BRINDLE_LV2_UI_URI ">\n    a ui:X11UI ;\n    lv2:binary <" BRINDLE_LV2_UI_BINARY
           "> ;\n    rdfs:seeAlso <brindleLoop.ttl> .\n";
    for (const auto& entry : presets)
        out << "\n<" BRINDLE_LV2_PRESET_PREFIX << entry.first
            << ">\n    a pset:Preset ;\n    lv2:appliesTo <" BRINDLE_LV2_URI
               "> ;\n    rdfs:seeAlso <presets.ttl> .\n";
}

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: brindleloop-lv2-ttl OUTDIR PRESET_FILE...\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::vector<std::pair<std::string, PresetPorts>> presets;
    for (int i = 2; i < argc; ++i) {
        PresetPorts preset;
        std::string error;
        if (!readPresetPorts(argv[i], preset, error)) {
            std::fprintf(stderr, "brindleloop-lv2-ttl: %s\n", error.c_str());
            return 1;
        }
        presets.emplace_back(stemOf(argv[i]), preset);
    }
    std::ostringstream plugin, presetText, manifest;
    writePlugin(plugin);
    writePresets(presetText, presets);
    writeManifest(manifest, presets);
    if (!writeFile(dir + "/brindleLoop.ttl", plugin.str()) ||
        !writeFile(dir + "/presets.ttl", presetText.str()) ||
        !writeFile(dir + "/manifest.ttl", manifest.str())) {
        std::fprintf(stderr, "brindleloop-lv2-ttl: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
