// The effect as the host sees it, adapted to the signal path: one time request per block
// (after the filters' coefficients, in the block's order), the time record's tempo and rate
// handed over, MIDI event lists read into note-ons and note-offs with their offsets.
#include <gtest/gtest.h>

#include <climits>

#include "TestHost.h"

namespace {

std::unique_ptr<FreezeEffect> noteEffect(bool control, bool recordStart, bool tillNoteOff) {
    auto effect = makeEffect();
    if (control) effect->plugin().toggleMidiNoteControl();
    if (recordStart) effect->plugin().toggleNoteRecordStart();
    if (tillNoteOff) effect->plugin().toggleRepeatTillNoteOff();
    return effect;
}

void send(FreezeEffect& effect, int32_t delta, int status, int note, int velocity) {
    MidiList list;
    list.add(delta, status, note, velocity);
    EXPECT_EQ(effect.processEvents(list.list()), 1);
}

TEST(EffectAdapter, EveryBlockAsksForTimeOnceWithPositionAndTempo) {
    auto effect = makeEffect();
    TestHost& host = currentTestHost();
    Stereo in(64, 0.1f);
    Stereo out(64);
    float* inputs[2] = {in.left.data(), in.right.data()};
    float* outputs[2] = {out.left.data(), out.right.data()};
    for (int32_t frames : {64, 0, -5, 1}) {
        for (bool accumulate : {false, true}) {
            host.opcodes.clear();
            host.values.clear();
            if (accumulate)
                effect->process(inputs, outputs, frames);
            else
                effect->processReplacing(inputs, outputs, frames);
            ASSERT_EQ(host.opcodes.size(), 1u) << frames;
            EXPECT_EQ(host.opcodes[0], audioMasterGetTime);
            EXPECT_EQ(host.values[0], 0x600);
        }
    }
}

TEST(EffectAdapter, TheTimeRecordSetsTempoAndRate) {
    auto effect = makeEffect();
    TestHost& host = currentTestHost();
    host.timeInfo.tempo = 60.0;
    host.timeInfo.sampleRate = 48000.0;
    effect->processReplacing(nullptr, nullptr, 0);
    EXPECT_EQ(effect->plugin().core().state().tempo, 60);
    EXPECT_EQ(effect->plugin().core().state().hostSampleRate, 48000);
    EXPECT_EQ(effect->plugin().getLoopLength(), 4 * 750);
    host.serveTime = false;  // no record: the last values stay
    host.timeInfo.tempo = 90.0;
    effect->process(nullptr, nullptr, 0);
    EXPECT_EQ(effect->plugin().core().state().tempo, 60);
}

TEST(EffectAdapter, NoteOnsReachTheSignalPathWithTheirOffsets) {
    auto effect = noteEffect(true, false, false);
    send(*effect, 17, 0x93, 57, 100);  // any channel
    const CoreState& audio = effect->plugin().core().state();
    EXPECT_TRUE(audio.notePending);
    EXPECT_EQ(audio.noteDelay, 17);
    EXPECT_EQ(audio.noteLoopLength, 400);
    send(*effect, INT_MIN, 0x90, 69, 1);
    EXPECT_EQ(audio.noteDelay, 0);
    EXPECT_EQ(audio.noteLoopLength, 200);
}

// Status 0x80 on any channel, or a note-on of velocity 0, is a note-off, for any key; it ends
// the repetition of Repeat till NoteOff at once.
TEST(EffectAdapter, EveryFormOfNoteOffEndsTheRepetition) {
    struct Off {
        int status;
        int note;
        int velocity;
    };
    const Off offs[] = {{0x80, 57, 64}, {0x80, 99, 0}, {0x90, 12, 0}, {0x8F, 57, 1}, {0x9F, 57, 0}};
    for (const Off& off : offs) {
        auto effect = noteEffect(false, false, true);
        send(*effect, 0, 0x90, 57, 100);
        EXPECT_EQ(effect->plugin().core().state().repeatLimit, 9999999);
        send(*effect, 0, off.status, off.note, off.velocity);
        EXPECT_EQ(effect->plugin().core().state().repeatLimit, 1) << off.status << " " << off.note;
    }
}

TEST(EffectAdapter, OtherMessagesAndEventsChangeNothing) {
    auto effect = noteEffect(true, true, true);
    const CoreState& audio = effect->plugin().core().state();
    render(*effect, Stereo(8), 8);
    const int32_t limit = audio.repeatLimit;
    MidiList list;
    list.add(0, 0xC0, 5, 0);     // program change
    list.add(0, 0xB3, 64, 127);  // controller
    list.add(0, 0xE0, 0, 64);    // pitch bend
    list.add(0, 0xA0, 57, 30);   // aftertouch
    list.add(0, 0xF0, 0x7E, 0);  // system
    VstEvents* events = list.list();
    EXPECT_EQ(effect->processEvents(events), 1);
    EXPECT_FALSE(audio.notePending);
    EXPECT_EQ(audio.repeatLimit, limit);

    // A non-MIDI event, null entries, a negative count and a null list are skipped.
    list.events[0].type = 6;  // a SysEx event
    list.events[0].midiData[0] = static_cast<char>(0x90);
    list.events[0].midiData[1] = 57;
    list.events[0].midiData[2] = 100;
    events = list.list();
    events->events[1] = nullptr;
    EXPECT_EQ(effect->processEvents(events), 1);
    events->numEvents = -3;
    EXPECT_EQ(effect->processEvents(events), 1);
    EXPECT_EQ(effect->processEvents(nullptr), 1);
    EXPECT_FALSE(audio.notePending);

    // The last of several note-ons before a block wins; channels do not matter.
    MidiList notes;
    notes.add(3, 0x95, 45, 10);
    notes.add(7, 0x9A, 57, 10);
    EXPECT_EQ(effect->processEvents(notes.list()), 1);
    EXPECT_EQ(audio.noteDelay, 7);
    EXPECT_EQ(audio.noteLoopLength, 400);
}

}  // namespace
