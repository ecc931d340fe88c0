// The host's event list read into note-ons and note-offs with their offsets for the plug-in,
// which holds a pending note until its sample.
#include "plugin/MidiNote.h"
#include "vst2/FreezeEffect.h"

int32_t FreezeEffect::processEvents(VstEvents* events) {
    if (!events) return 1;
    // Hosts allocate the list with numEvents pointers, beyond the two the record declares.
    VstEvent* const* list = events->events;
    const int32_t count = events->numEvents;
    for (int32_t i = 0; i < count; ++i) {
        const VstEvent* event = list[i];
        if (!event || event->type != kVstMidiType) continue;
        const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
        TimedEvent note{};
        if (!noteOfMidi(reinterpret_cast<const uint8_t*>(midi->midiData), 3, note)) continue;
        if (note.type == EventType::noteOff)
            neutral.noteOff();
        else
            neutral.noteOn(note.number, midi->deltaFrames);
    }
    return 1;
}
