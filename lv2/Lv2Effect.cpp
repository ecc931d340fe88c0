// Lv2Effect: ports, the event input and the run loop.
#include "lv2/Lv2Effect.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include <lv2/atom/atom.h>
#include <lv2/atom/util.h>
#include <lv2/midi/midi.h>
#include <lv2/time/time.h>

#include "engine/Ranges.h"
#include "lv2/Lv2Uris.h"

namespace {

constexpr double kDefaultTempo = 120.0;  // what the VST 2 build plays without time information
// The longest block handed to the engine at once: the host's count is unsigned, the engine's not.
constexpr uint32_t kLongestBlock = 1u << 30;

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The nearest whole value within lo..hi (NaN: lo).
int32_t wholeValue(float value, int32_t lo, int32_t hi) {
    return truncToInt(static_cast<double>(value) + 0.5, lo, hi);
}

}  // namespace

namespace {
LV2_URID uridOf(const LV2_URID_Map* map, const char* uri) {
    return map && map->map ? map->map(map->handle, uri) : 0;
}
}  // namespace

Lv2Urids::Lv2Urids(const LV2_URID_Map* map)
    : atomBlank(uridOf(map, LV2_ATOM__Blank)), atomObject(uridOf(map, LV2_ATOM__Object)),
      atomFloat(uridOf(map, LV2_ATOM__Float)), atomDouble(uridOf(map, LV2_ATOM__Double)),
      atomInt(uridOf(map, LV2_ATOM__Int)), atomLong(uridOf(map, LV2_ATOM__Long)),
      midiEvent(uridOf(map, LV2_MIDI__MidiEvent)), timePosition(uridOf(map, LV2_TIME__Position)),
      timeBeatsPerMinute(uridOf(map, LV2_TIME__beatsPerMinute)),
      stateBank(uridOf(map, BRINDLE_LV2_STATE_BANK)), stateBankType(uridOf(map, BRINDLE_LV2_STATE_BANK_TYPE)),
      stateProgram(uridOf(map, BRINDLE_LV2_STATE_PROGRAM)) {}

Lv2Effect::Lv2Effect(double rate, const LV2_URID_Map* map) : FreezeEffect(nullptr), uris(map) {
    timeInfo.sampleRate = rate;
    timeInfo.tempo = kDefaultTempo;
    timeInfo.timeSigNumerator = 4;
    timeInfo.timeSigDenominator = 4;
    timeInfo.flags = kVstPpqPosValid | kVstTempoValid;
    setSampleRate(static_cast<float>(rate));
    for (uint32_t i = 0; i < kNumControlPorts; ++i) {
        lastControls[i] = controlValue(kPortFirstParameter + i);
        controls[i] = &lastControls[i];
    }
}

void Lv2Effect::connectPort(uint32_t port, void* data) {
    if (port <= kPortOutputRight)
        audio[port] = static_cast<float*>(data);
    else if (port == kPortEvents)
        events = static_cast<const LV2_Atom_Sequence*>(data);
    else if (port == kPortTime)
        timeEvents = static_cast<const LV2_Atom_Sequence*>(data);
    else if (isControlPort(port))
        controls[port - kPortFirstParameter] =
            data ? static_cast<const float*>(data) : &lastControls[port - kPortFirstParameter];
}

// As a VST 2 host switches the effect off and on: the freeze buffers start empty.
void Lv2Effect::activate() {
    suspend();
    resume();
}

VstTimeInfo* Lv2Effect::hostGetTime(int32_t) { return &timeInfo; }

float Lv2Effect::controlValue(uint32_t port) {
    if (!isControlPort(port)) return 0.0f;
    if (port < kPortFirstExtra) return getParameter(static_cast<int32_t>(port - kPortFirstParameter));
    switch (kExtraControls[port - kPortFirstExtra].control) {
    case ExtraControl::preFilterType: return static_cast<float>(getPreFilterType());
    case ExtraControl::postFilterType: return static_cast<float>(getPostFilterType());
    case ExtraControl::sequenceLength: return static_cast<float>(getSequenceLength());
    case ExtraControl::midiNoteControl: return isMidiNoteControl() ? 1.0f : 0.0f;
    case ExtraControl::noteRecordStart: return isNoteRecordStart() ? 1.0f : 0.0f;
    case ExtraControl::repeatTillNoteOff: return isRepeatTillNoteOff() ? 1.0f : 0.0f;
    case ExtraControl::inverse: return isInverse() ? 1.0f : 0.0f;
    }
    return 0.0f;
}

void Lv2Effect::applyControl(uint32_t port, float value) {
    if (!isControlPort(port)) return;
    if (port < kPortFirstExtra) {
        setParameter(static_cast<int32_t>(port - kPortFirstParameter), value);
        return;
    }
    const ExtraControlInfo& info = kExtraControls[port - kPortFirstExtra];
    const int32_t whole = wholeValue(value, info.minimum, info.maximum);
    switch (info.control) {
    case ExtraControl::preFilterType:
    case ExtraControl::postFilterType: {
        // What the editor's button leaves after cycling to this type.
        const bool pre = info.control == ExtraControl::preFilterType;
        (pre ? core.values.preFilter.type : core.values.postFilter.type) = whole;
        FreezeProgram& program = programs[currentProgramIndex()];
        (pre ? program.preFilterType : program.postFilterType) = whole;
        break;
    }
    case ExtraControl::sequenceLength: setSequenceLength(sequenceLengthValueFor(whole)); break;
    case ExtraControl::midiNoteControl:
        if (isMidiNoteControl() != (whole != 0)) toggleMidiNoteControl();
        break;
    case ExtraControl::noteRecordStart:
        if (isNoteRecordStart() != (whole != 0)) toggleNoteRecordStart();
        break;
    case ExtraControl::repeatTillNoteOff:
        if (isRepeatTillNoteOff() != (whole != 0)) toggleRepeatTillNoteOff();
        break;
    case ExtraControl::inverse:
        if (isInverse() != (whole != 0)) toggleInverse();
        break;
    }
}

// Only a port whose value changed since the last run acts, in port order. Most runs change
// nothing: one branch-free pass over all the ports says so.
void Lv2Effect::applyControlPorts() {
    uint32_t changed = 0;
#pragma GCC unroll 32
    for (uint32_t i = 0; i < kNumControlPorts; ++i) changed |= bitsOf(*controls[i]) ^ bitsOf(lastControls[i]);
    if (changed == 0) return;
    for (uint32_t i = 0; i < kNumControlPorts; ++i) {
        const float value = *controls[i];
        if (bitsOf(value) == bitsOf(lastControls[i])) continue;
        lastControls[i] = value;
        applyControl(kPortFirstParameter + i, value);
    }
}

void Lv2Effect::sendMidi(const uint8_t* bytes, uint32_t size, int64_t frame) {
    // One event at a time through the VST 2 event handler, so notes are read as there.
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames =
        static_cast<int32_t>(std::clamp<int64_t>(frame, 0, std::numeric_limits<int32_t>::max()));
    for (uint32_t i = 0; i < 3 && i < size; ++i) event.midiData[i] = static_cast<char>(bytes[i]);
    VstEvents list{};
    list.numEvents = 1;
    list.events[0] = reinterpret_cast<VstEvent*>(&event);
    processEvents(&list);
}

void Lv2Effect::takeTempo(const LV2_Atom_Object& position) {
    const LV2_Atom* bpm = nullptr;
    lv2_atom_object_get(&position, uris.timeBeatsPerMinute, &bpm, 0);
    if (!bpm) return;
    // The engine keeps any number in range (no information below 1 BPM: 120).
    const void* body = LV2_ATOM_BODY_CONST(bpm);
    if (bpm->type == uris.atomFloat && bpm->size >= sizeof(float))
        timeInfo.tempo = *static_cast<const float*>(body);
    else if (bpm->type == uris.atomDouble && bpm->size >= sizeof(double))
        timeInfo.tempo = *static_cast<const double*>(body);
    else if (bpm->type == uris.atomInt && bpm->size >= sizeof(int32_t))
        timeInfo.tempo = *static_cast<const int32_t*>(body);
    else if (bpm->type == uris.atomLong && bpm->size >= sizeof(int64_t))
        timeInfo.tempo = static_cast<double>(*static_cast<const int64_t*>(body));
}

void Lv2Effect::readEvents(const LV2_Atom_Sequence* sequence) {
    // Without URIDs no event type can be told from another.
    if (!sequence || !uris.mapped()) return;
    LV2_ATOM_SEQUENCE_FOREACH(sequence, event) {
        const LV2_Atom& body = event->body;
        if (body.type == uris.midiEvent) {
            sendMidi(static_cast<const uint8_t*>(LV2_ATOM_BODY_CONST(&body)), body.size, event->time.frames);
        } else if ((body.type == uris.atomObject || body.type == uris.atomBlank) &&
                   body.size >= sizeof(LV2_Atom_Object_Body)) {
            const auto& object = reinterpret_cast<const LV2_Atom_Object&>(body);
            if (object.body.otype == uris.timePosition) takeTempo(object);
        }
    }
}

void Lv2Effect::run(uint32_t frames) {
    applyControlPorts();
    readEvents(timeEvents);
    readEvents(events);
    const bool connected = audio[0] && audio[1] && audio[2] && audio[3];
    if (!connected) {
        for (int i = 2; i < 4; ++i)
            if (audio[i]) std::fill(audio[i], audio[i] + frames, 0.0f);
        return;
    }
    for (uint32_t done = 0; done < frames;) {
        const uint32_t block = std::min(frames - done, kLongestBlock);
        float* inputs[2] = {audio[0] + done, audio[1] + done};
        float* outputs[2] = {audio[2] + done, audio[3] + done};
        processReplacing(inputs, outputs, static_cast<int32_t>(block));
        done += block;
    }
}
