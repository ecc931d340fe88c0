// Host callback, plug-in set-up and the block loop of the offline host.
#include "tools/render/RenderSession.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "tools/render/BankEdit.h"

namespace {

intptr_t VSTCALL renderHostCallback(AEffect* effect, int32_t opcode, int32_t, intptr_t value, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    auto* session = effect ? static_cast<RenderSession*>(effect->user) : nullptr;
    return session ? session->answer(opcode, value) : 0;
}

// The plug-in library stays mapped until the process ends, as many hosts keep it: a sanitizer
// run can then still name the plug-in's functions when it reports at exit.
PluginLoader& pluginLibrary() {
    static PluginLoader& library = *new PluginLoader;
    return library;
}

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

int32_t BlockSchedule::next() {
    if (!varying) return largest;
    // Hosts split blocks at loop points, automation and buffer boundaries: mostly full blocks,
    // some short ones, now and then a single sample.
    state = state * 1664525u + 1013904223u;
    const uint32_t pick = state >> 8;
    ++count;
    if (count % 7 == 0) return 1;
    if (pick % 3 == 0) return largest;
    return 1 + static_cast<int32_t>(pick % static_cast<uint32_t>(largest));
}

RenderSession::~RenderSession() { close(); }

intptr_t RenderSession::answer(int32_t opcode, intptr_t) {
    switch (opcode) {
    case audioMasterGetTime: ++timeRequestCount; return reinterpret_cast<intptr_t>(&timeInfo);
    case audioMasterWantMidi: return 1;
    case audioMasterGetSampleRate: return static_cast<intptr_t>(timeInfo.sampleRate);
    case audioMasterGetBlockSize: return maxBlock;
    default: return 0;
    }
}

intptr_t RenderSession::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

bool RenderSession::open(const std::string& pluginPath, double sampleRate, int32_t blockSize,
                         std::string& error) {
    close();
    PluginLoader& library = pluginLibrary();
    if (!library.load(pluginPath)) {
        error = library.error();
        return false;
    }
    const PluginEntryProc entry = library.entry();
    if (!entry) {
        error = pluginPath + " exports no VSTPluginMain or main";
        return false;
    }
    return open(entry, pluginPath, sampleRate, blockSize, error);
}

bool RenderSession::open(const EffectFactory& create, const std::string& pluginPath, double sampleRate,
                         int32_t blockSize, std::string& error) {
    close();
    effect = create(renderHostCallback);
    if (!effect || effect->magic != kEffectMagic) {
        effect = nullptr;
        error = "the entry point of " + pluginPath + " returned no effect";
        return false;
    }
    // Stereo, or mono in or out (other plug-ins timed beside ours): a mono input gets the
    // left channel, a mono output is heard on both.
    if (effect->numInputs < 1 || effect->numInputs > 2 || effect->numOutputs < 1 || effect->numOutputs > 2) {
        error = pluginPath + " has " + std::to_string(effect->numInputs) + " inputs and " +
                std::to_string(effect->numOutputs) + " outputs; one or two of each are supported";
        close();
        return false;
    }
    effect->user = this;
    maxBlock = blockSize;
    timeInfo.sampleRate = sampleRate;
    timeInfo.tempo = 120.0;
    timeInfo.timeSigNumerator = 4;
    timeInfo.timeSigDenominator = 4;
    timeInfo.flags = kVstPpqPosValid | kVstTempoValid;
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    dispatch(effSetBlockSize, 0, blockSize);
    dispatch(effMainsChanged, 0, 1);
    return true;
}

void RenderSession::close() {
    if (effect) {
        dispatch(effMainsChanged, 0, 0);
        dispatch(effClose);
        effect = nullptr;
    }
}

bool RenderSession::setParameterByName(const std::string& name, float value, std::string& error) {
    std::string known;
    for (int32_t index = 0; index < effect->numParams; ++index) {
        char text[64] = {};
        dispatch(effGetParamName, index, 0, text);
        if (lowerCase(text) == lowerCase(name)) {
            effect->setParameter(effect, index, value);
            return true;
        }
        known += (known.empty() ? "" : ", ") + std::string(text);
    }
    error = "unknown parameter \"" + name + "\"; the plug-in has: " + known;
    return false;
}

bool RenderSession::configure(const RenderSettings& settings, std::string& error) {
    timeInfo.tempo = settings.tempo;
    if (!settings.bankFile.empty() && !loadStateFile(settings.bankFile, true, error)) return false;
    if (settings.program >= 0) {
        if (settings.program >= effect->numPrograms) {
            error = "program " + std::to_string(settings.program) + " does not exist (0.." +
                    std::to_string(effect->numPrograms - 1) + ")";
            return false;
        }
        dispatch(effSetProgram, 0, settings.program);
    }
    if (!settings.presetFile.empty() && !loadStateFile(settings.presetFile, false, error)) return false;
    if (!settings.programName.empty()) {
        char name[kVstMaxProgNameLen] = {};
        settings.programName.copy(name, sizeof name - 1);
        dispatch(effSetProgramName, 0, 0, name);
    }
    for (const auto& [name, value] : settings.parameters)
        if (!setParameterByName(name, value, error)) return false;

    if (settings.editor.any()) {
        // Settings the editor changes reach the plug-in through a bank chunk; loading a bank
        // leaves the working values alone until the program is selected again.
        void* data = nullptr;
        const auto size = dispatch(effGetChunk, 0, 0, &data);
        if (size != kBankChunkSize || !data) {
            error = "the plug-in gave no bank chunk of " + std::to_string(kBankChunkSize) + " bytes";
            return false;
        }
        std::vector<unsigned char> bank(static_cast<unsigned char*>(data),
                                        static_cast<unsigned char*>(data) + size);
        const auto program = static_cast<int32_t>(dispatch(effGetProgram));
        if (!applyEditorSettings(bank, program, settings.editor)) {
            error = "cannot edit the bank chunk for program " + std::to_string(program);
            return false;
        }
        dispatch(effSetChunk, 0, kBankChunkSize, bank.data());
        dispatch(effSetProgram, 0, program);
    }
    return true;
}

void RenderSession::sendEvents(const std::vector<MidiNote>& notes, size_t first, size_t last,
                               int64_t blockStart) {
    const size_t count = last - first;
    midiEvents.assign(count, VstMidiEvent{});
    eventList.assign(sizeof(VstEvents) + count * sizeof(VstEvent*), 0);
    auto* list = reinterpret_cast<VstEvents*>(eventList.data());
    list->numEvents = static_cast<int32_t>(count);
    VstEvent** pointers = list->events;
    for (size_t i = 0; i < count; ++i) {
        const MidiNote& note = notes[first + i];
        VstMidiEvent& event = midiEvents[i];
        event.type = kVstMidiType;
        event.byteSize = sizeof(VstMidiEvent);
        event.deltaFrames = static_cast<int32_t>(note.position - blockStart);
        event.midiData[0] = static_cast<char>(note.status);
        event.midiData[1] = static_cast<char>(note.data1);
        event.midiData[2] = static_cast<char>(note.data2);
        pointers[i] = reinterpret_cast<VstEvent*>(&event);
    }
    dispatch(effProcessEvents, 0, 0, list);
}

void RenderSession::prepareOutput(const AudioData& input, AudioData& output) {
    output.sampleRate = input.sampleRate;
    if (output.left.size() != input.frames()) output.left.assign(input.frames(), 0.0f);
    if (output.right.size() != input.frames()) output.right.assign(input.frames(), 0.0f);
}

void RenderSession::render(const AudioData& input, AudioData& output, const RenderSettings& settings,
                           const std::function<void(size_t)>& progress) {
    const size_t frames = input.frames();
    prepareOutput(input, output);
    const bool replacing = (effect->flags & effFlagsCanReplacing) != 0 && effect->processReplacing;
    BlockSchedule schedule(settings.blockSize, settings.varyBlocks);
    size_t nextNote = 0;
    size_t done = 0;
    size_t lastReport = 0;
    while (done < frames) {
        const size_t block = std::min(static_cast<size_t>(schedule.next()), frames - done);
        const auto start = static_cast<int64_t>(done);
        timeInfo.samplePos = static_cast<double>(done);
        timeInfo.ppqPos = timeInfo.samplePos / timeInfo.sampleRate * settings.tempo / 60.0;

        // Notes of this block, with their offsets inside it.
        size_t last = nextNote;
        while (last < settings.notes.size() &&
               settings.notes[last].position < start + static_cast<int64_t>(block))
            ++last;
        if (last > nextNote) sendEvents(settings.notes, nextNote, last, start);
        nextNote = last;

        float* inputs[2] = {const_cast<float*>(input.left.data() + done),
                            const_cast<float*>(input.right.data() + done)};
        float* outputs[2] = {output.left.data() + done, output.right.data() + done};
        if (!replacing) {
            // process adds to what the outputs hold.
            std::fill(outputs[0], outputs[0] + block, 0.0f);
            std::fill(outputs[1], outputs[1] + block, 0.0f);
        }
        if (replacing)
            effect->processReplacing(effect, inputs, outputs, static_cast<int32_t>(block));
        else
            effect->process(effect, inputs, outputs, static_cast<int32_t>(block));
        if (effect->numOutputs == 1) std::copy(outputs[0], outputs[0] + block, outputs[1]);
        done += block;
        if (progress && (done - lastReport >= 44100 || done == frames)) {
            progress(done);
            lastReport = done;
        }
    }
}
