// Lv2Effect: ports, the event inputs and the run loop.
#include "lv2/Lv2Effect.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

#include <lv2/atom/atom.h>
#include <lv2/atom/util.h>
#include <lv2/midi/midi.h>
#include <lv2/time/time.h>

#include "lv2/Lv2Uris.h"
#include "plugin/MidiNote.h"
#include "plugin/PluginInfo.h"

namespace {

// The longest block handed to the plug-in at once: the host's count is unsigned, the plug-in's not.
constexpr uint32_t kLongestBlock = 1u << 30;

// The tag an instance of this build carries: its version, size and port count.
void writeBuildTag(char (&tag)[48]) {
    std::memset(tag, 0, sizeof tag);
    std::snprintf(tag, sizeof tag, "brindleLoop LV2 %s %u %u", kVersionString,
                  static_cast<unsigned>(sizeof(Lv2Effect)), static_cast<unsigned>(kNumPorts));
}

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

LV2_URID uridOf(const LV2_URID_Map* map, const char* uri) {
    return map && map->map ? map->map(map->handle, uri) : 0;
}

// A number atom's value as a double; false for any other type or a body too small.
bool numberOf(const LV2_Atom* atom, const Lv2Urids& uris, double& value) {
    if (!atom) return false;
    const void* body = LV2_ATOM_BODY_CONST(atom);
    if (atom->type == uris.atomFloat && atom->size >= sizeof(float))
        value = static_cast<double>(*static_cast<const float*>(body));
    else if (atom->type == uris.atomDouble && atom->size >= sizeof(double))
        value = *static_cast<const double*>(body);
    else if (atom->type == uris.atomInt && atom->size >= sizeof(int32_t))
        value = *static_cast<const int32_t*>(body);
    else if (atom->type == uris.atomLong && atom->size >= sizeof(int64_t))
        value = static_cast<double>(*static_cast<const int64_t*>(body));
    else
        return false;
    return true;
}

}  // namespace

Lv2Urids::Lv2Urids(const LV2_URID_Map* map)
    : atomBlank(uridOf(map, LV2_ATOM__Blank)), atomObject(uridOf(map, LV2_ATOM__Object)),
      atomFloat(uridOf(map, LV2_ATOM__Float)), atomDouble(uridOf(map, LV2_ATOM__Double)),
      atomInt(uridOf(map, LV2_ATOM__Int)), atomLong(uridOf(map, LV2_ATOM__Long)),
      midiEvent(uridOf(map, LV2_MIDI__MidiEvent)), timePosition(uridOf(map, LV2_TIME__Position)),
      timeBeatsPerMinute(uridOf(map, LV2_TIME__beatsPerMinute)), timeSpeed(uridOf(map, LV2_TIME__speed)),
      timeBeat(uridOf(map, LV2_TIME__beat)), stateBank(uridOf(map, BRINDLE_LV2_STATE_BANK)),
      stateBankType(uridOf(map, BRINDLE_LV2_STATE_BANK_TYPE)), stateProgram(uridOf(map, BRINDLE_LV2_STATE_PROGRAM)) {}

Lv2Effect::Lv2Effect(double rate, const LV2_URID_Map* map) : uris(map) {
    writeBuildTag(buildTag);
    neutral.setSampleRate(rate);
    // An LV2 host always gives a tempo: 120 until time:Position says otherwise.
    transport.hasTempo = true;
    transport.tempo = 120.0;
    for (uint32_t i = 0; i < kNumControlPorts; ++i) {
        lastControls[i] = controlValue(kPortFirstParameter + i);
        controls[i] = &lastControls[i];
    }
}

bool Lv2Effect::isThisBuild(const void* instance) {
    if (!instance) return false;
    char expected[48];
    writeBuildTag(expected);
    return std::memcmp(instance, expected, sizeof expected) == 0;
}

void Lv2Effect::connectPort(uint32_t port, void* data) {
    if (port <= kPortOutputRight)
        audio[port] = static_cast<float*>(data);
    else if (port == kPortEvents)
        events = static_cast<const LV2_Atom_Sequence*>(data);
    else if (port == kPortTime)
        timeEvents = static_cast<const LV2_Atom_Sequence*>(data);
    else if (port == kPortEnabled)
        enabled = static_cast<const float*>(data);
    else if (isControlPort(port))
        controls[port - kPortFirstParameter] =
            data ? static_cast<const float*>(data) : &lastControls[port - kPortFirstParameter];
}

// As a VST 2 host switches the effect off and on: the freeze buffers start empty.
void Lv2Effect::activate() { neutral.clearBuffers(); }

float Lv2Effect::controlValue(uint32_t port) const {
    if (!isControlPort(port)) return 0.0f;
    return neutral.getControl(static_cast<int32_t>(port - kPortFirstParameter));
}

void Lv2Effect::applyControl(uint32_t port, float value) {
    if (isControlPort(port)) neutral.setControl(static_cast<int32_t>(port - kPortFirstParameter), value);
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

// Notes go to the plug-in one at a time as they are read, as a VST 2 host's list does.
void Lv2Effect::takeMidi(const uint8_t* bytes, uint32_t size, int64_t frame) {
    TimedEvent note{};
    if (!noteOfMidi(bytes, size, note)) return;
    if (note.type == EventType::noteOff)
        neutral.noteOff();
    else
        neutral.noteOn(note.number, static_cast<int32_t>(std::clamp<int64_t>(frame, 0, std::numeric_limits<int32_t>::max())));
}

void Lv2Effect::takePosition(const LV2_Atom_Object& position) {
    const LV2_Atom* bpm = nullptr;
    const LV2_Atom* speed = nullptr;
    const LV2_Atom* beat = nullptr;
    lv2_atom_object_get(&position, uris.timeBeatsPerMinute, &bpm, uris.timeSpeed, &speed, uris.timeBeat, &beat,
                        0);
    // The plug-in keeps any number in range (no information below 1 BPM: 120).
    double value = 0.0;
    if (numberOf(bpm, uris, value)) transport.tempo = value;
    if (numberOf(speed, uris, value)) transport.playing = value != 0.0;
    if (numberOf(beat, uris, value)) {
        transport.hasPosition = true;
        transport.beatPosition = value;
    }
}

// Every event is checked against the end of its sequence before it is read: a sequence whose
// sizes do not add up is read only as far as they do.
void Lv2Effect::readEvents(const LV2_Atom_Sequence* sequence) {
    // Without URIDs no event type can be told from another.
    if (!sequence || !uris.mapped() || sequence->atom.size < sizeof(LV2_Atom_Sequence_Body)) return;
    const auto* at = reinterpret_cast<const uint8_t*>(&sequence->body + 1);
    const auto* end = reinterpret_cast<const uint8_t*>(&sequence->body) + sequence->atom.size;
    while (at < end && static_cast<size_t>(end - at) >= sizeof(LV2_Atom_Event)) {
        const auto* event = reinterpret_cast<const LV2_Atom_Event*>(at);
        const LV2_Atom& body = event->body;
        const size_t room = static_cast<size_t>(end - at) - sizeof(LV2_Atom_Event);
        if (body.size > room) return;
        if (body.type == uris.midiEvent) {
            takeMidi(static_cast<const uint8_t*>(LV2_ATOM_BODY_CONST(&body)), body.size, event->time.frames);
        } else if ((body.type == uris.atomObject || body.type == uris.atomBlank) &&
                   body.size >= sizeof(LV2_Atom_Object_Body)) {
            const auto& object = reinterpret_cast<const LV2_Atom_Object&>(body);
            if (object.body.otype == uris.timePosition) takePosition(object);
        }
        at += lv2_atom_pad_size(static_cast<uint32_t>(sizeof(LV2_Atom_Event) + body.size));
    }
}

void Lv2Effect::run(uint32_t frames) {
    applyControlPorts();
    if (enabled) neutral.setBypass(!(*enabled > 0.5f));
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
        const float* inputs[2] = {audio[0] + done, audio[1] + done};
        float* outputs[2] = {audio[2] + done, audio[3] + done};
        neutral.process(inputs, outputs, static_cast<int32_t>(block), EventList{}, transport);
        done += block;
    }
}
