// MIDI note control: the event list, note-on and note-off; the audio path applies pending notes.
#include <cmath>

#include "engine/FreezeEffect.h"
#include "engine/Ranges.h"

namespace {

constexpr int32_t kHeldRepeatLimit = 9999999;  // a note-on repeats the loop until a note-off
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
            noteOff(note, midi->deltaFrames);
        else if (status == kStatusNoteOn)
            noteOn(note, velocity, midi->deltaFrames);
    }
    return 1;
}

void FreezeEffect::noteOn(int32_t note, int32_t velocity, int32_t deltaFrames) {
    (void)velocity;  // only tells note-on from note-off
    // Every semitone changes the length: the exponent is a real division.
    const double frequency = 440.0 * std::pow(2.0, (static_cast<double>(note) - 57.0) / 12.0);
    if (repeatTillNoteOff) repeatLimit = kHeldRepeatLimit;
    int32_t steps = sizeSteps;
    if (steps < 1) steps = 1;
    if (steps > kMaxSteps) steps = kMaxSteps;
    noteLoopLength = truncToInt((1.0 / frequency) * hostSampleRate * steps, 0, kMaxLoopLength);
    notePending = true;
    // An offset before the block cannot be honoured later than its first sample; counting
    // a negative one down would keep the note pending for ever.
    noteDelay = deltaFrames < 0 ? 0 : deltaFrames;
}

void FreezeEffect::noteOff(int32_t note, int32_t deltaFrames) {
    (void)note;  // any key ends the repetition, at once
    (void)deltaFrames;
    if (repeatTillNoteOff) repeatLimit = 1;
}
