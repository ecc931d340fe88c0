// The host's event list read into note-ons and note-offs with their offsets for the plug-in,
// which holds a pending note until its sample.
#include "vst2/FreezeEffect.h"

namespace {

constexpr int32_t kStatusNoteOn = 0x90;
constexpr int32_t kStatusNoteOff = 0x80;

}  // namespace

int32_t FreezeEffect::processEvents(VstEvents* events) {
    if (!events) return 1;
    // Hosts allocate the list with numEvents pointers, beyond the two the record declares.
    VstEvent* const* list = events->events;
    const int32_t count = events->numEvents;
    for (int32_t i = 0; i < count; ++i) {
        const VstEvent* event = list[i];
        if (!event || event->type != kVstMidiType) continue;
        const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
        const int32_t status = static_cast<unsigned char>(midi->midiData[0]) & 0xF0;
        const int32_t note = static_cast<unsigned char>(midi->midiData[1]) & 0x7F;
        const int32_t velocity = static_cast<unsigned char>(midi->midiData[2]) & 0x7F;
        if (status == kStatusNoteOff || (status == kStatusNoteOn && velocity == 0))
            neutral.noteOff();
        else if (status == kStatusNoteOn)
            neutral.noteOn(note, midi->deltaFrames);
    }
    return 1;
}
