// The CLAP side and the VST 2 side of a render.
#include "ClapRun.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "engine/ParameterTable.h"
#include "engine/SettingTable.h"
#include "plugin/FreezePlugin.h"
#include "tools/render/FileBytes.h"
#include "tools/render/PresetFile.h"

ClapLibrary& builtLibrary() {
    static ClapLibrary library(BRINDLE_CLAP_FILE);
    return library;
}

std::vector<unsigned char> stateOfPresetFile(const std::string& path) {
    std::vector<unsigned char> bytes;
    std::string error;
    if (!readFileBytes(path, bytes)) throw std::runtime_error("cannot read " + path);
    PresetFile file;
    PresetLimits limits;
    limits.pluginId = fourCharCode("BRLP");  // the VST 2 edition's unique id, which the files carry
    limits.numParams = kNumParams;
    limits.numPrograms = kNumPrograms;
    if (!parsePresetFile(bytes, limits, file, error)) throw std::runtime_error(path + ": " + error);
    FreezePlugin plugin;
    switch (file.kind) {
    case PresetKind::programParameters:
        for (size_t i = 0; i < file.program.parameters.size(); ++i)
            plugin.setParameter(static_cast<int32_t>(i), file.program.parameters[i]);
        break;
    case PresetKind::programChunk:
        plugin.setChunk(file.chunk.data(), static_cast<int32_t>(file.chunk.size()), true);
        break;
    case PresetKind::bankChunk:
        plugin.setChunk(file.chunk.data(), static_cast<int32_t>(file.chunk.size()), false);
        if (file.currentProgram >= 0) plugin.setProgram(file.currentProgram);
        break;
    case PresetKind::bankPrograms: throw std::runtime_error(path + ": a bank of parameter lists");
    }
    std::vector<unsigned char> state(FreezePlugin::kStateSize);
    plugin.saveState(state.data());
    return state;
}

namespace {

// The render settings' controls as parameter events at the first block's first frame.
void queueSettings(const RenderSettings& render, EventQueue& events) {
    for (const auto& [name, value] : render.parameters) {
        const ParameterInfo* info = parameterByVstName(name.c_str());
        if (!info) throw std::runtime_error("no parameter " + name);
        events.paramValue(0, static_cast<clap_id>(info->index), static_cast<double>(value));
    }
    const EditorSettings& editor = render.editor;
    const std::pair<int32_t, Setting> extras[] = {{editor.preFilter, Setting::preFilterType},
                                                  {editor.postFilter, Setting::postFilterType},
                                                  {editor.sequenceLength, Setting::sequenceLength},
                                                  {editor.midiNoteControl, Setting::midiNoteControl},
                                                  {editor.noteRecordStart, Setting::noteRecordStart},
                                                  {editor.repeatTillNoteOff, Setting::repeatTillNoteOff}};
    for (const auto& [value, setting] : extras)
        if (value >= 0) events.paramValue(0, static_cast<clap_id>(controlOfSetting(setting)), value);
}

}  // namespace

void playClap(ClapInstance& instance, const AudioData& input, AudioData& output, const ClapPlay& play) {
    const RenderSettings& render = play.render;
    if (!render.bankFile.empty() || !render.presetFile.empty()) {
        if (!instance.loadState(stateOfPresetFile(render.bankFile.empty() ? render.presetFile : render.bankFile)))
            throw std::runtime_error("state refused");
    }
    if (!instance.activate(input.sampleRate, static_cast<uint32_t>(render.blockSize)))
        throw std::runtime_error("activation refused");
    output.sampleRate = input.sampleRate;
    output.left.assign(input.frames(), 0.0f);
    output.right.assign(input.frames(), 0.0f);
    AudioData work = input;
    EventQueue events;
    queueSettings(render, events);
    BlockSchedule schedule(render.blockSize, render.varyBlocks);
    size_t nextNote = 0;
    for (size_t done = 0; done < input.frames();) {
        const size_t block = std::min(static_cast<size_t>(schedule.next()), input.frames() - done);
        for (; nextNote < render.notes.size() && render.notes[nextNote].position < static_cast<int64_t>(done + block);
             ++nextNote) {
            const MidiNote& note = render.notes[nextNote];
            const auto at = static_cast<uint32_t>(note.position - static_cast<int64_t>(done));
            if (play.midiDialect)
                events.midi(at, note.status, note.data1, note.data2);
            else if ((note.status & 0xF0) == 0x90 && note.data2 > 0)
                events.noteOn(at, note.data1, note.data2 / 127.0);
            else
                events.noteOff(at, note.data1);
        }
        const clap_event_transport_t transport =
            playingTransport(render.tempo, static_cast<double>(done) / input.sampleRate * render.tempo / 60.0);
        const float* inputs[2] = {work.left.data() + done, work.right.data() + done};
        float* outputs[2] = {output.left.data() + done, output.right.data() + done};
        if (play.inPlace) {
            outputs[0] = work.left.data() + done;
            outputs[1] = work.right.data() + done;
        }
        if (instance.process(inputs, outputs, static_cast<uint32_t>(block), events, &transport) ==
            CLAP_PROCESS_ERROR)
            throw std::runtime_error("process failed");
        events.clear();
        done += block;
    }
    if (play.inPlace) {
        output.left = work.left;
        output.right = work.right;
    }
    instance.deactivate();
}

