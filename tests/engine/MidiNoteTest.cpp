// MIDI note control: note lengths, timing of pending notes, the three modes.
#include <gtest/gtest.h>

#include <climits>

#include "EngineProbe.h"

namespace {

std::unique_ptr<EngineProbe> noteEffect(bool control, bool recordStart, bool tillNoteOff) {
    auto effect = makeProbe();
    if (control) effect->toggleMidiNoteControl();
    if (recordStart) effect->toggleNoteRecordStart();
    if (tillNoteOff) effect->toggleRepeatTillNoteOff();
    return effect;
}

void send(FreezeEffect& effect, int32_t delta, int status, int note, int velocity) {
    MidiList list;
    list.add(delta, status, note, velocity);
    EXPECT_EQ(effect.processEvents(list.list()), 1);
}

TEST(MidiNotes, LengthIsSizeStepsPeriodsOfTheNote) {
    const struct {
        float size;
        int32_t note;
        int32_t expected;
    } cases[] = {{0.0f, 57, 100}, {1.0f, 57, 1603}, {0.0f, 69, 50}, {1.0f, 45, 3207},
                 {0.0f, 0, 2696}, {1.0f, 0, 43151}, {1.0f, 127, 28}};
    for (const auto& c : cases) {
        auto effect = noteEffect(true, false, false);
        effect->setParameter(kParamSize, c.size);
        send(*effect, 0, 0x90, c.note, 100);
        EXPECT_EQ(effect->noteLoopLength, c.expected) << c.note << " size " << c.size;
        render(*effect, Stereo(4), 4);
        EXPECT_EQ(effect->getLoopLength(), c.expected) << c.note;
    }
    // Every semitone changes the length.
    auto effect = noteEffect(true, false, false);
    effect->setParameter(kParamSize, 1.0f);
    int32_t previous = INT_MAX;
    for (int32_t note = 0; note < 128; ++note) {
        send(*effect, 0, 0x90, note, 100);
        EXPECT_LT(effect->noteLoopLength, previous) << note;
        previous = effect->noteLoopLength;
    }
}

TEST(MidiNotes, NoteLandsAtItsDeltaFramesInTheNextBlock) {
    // With Note->RecordStart the note starts a recording: slot 1 then holds the sample after it.
    Stereo ramp(64);
    for (size_t i = 0; i < ramp.size(); ++i) ramp.left[i] = ramp.right[i] = 0.001f * static_cast<float>(i + 1);
    const struct {
        int32_t delta;
        int32_t appliedAt;
    } cases[] = {{10, 10}, {0, 0}, {-7, 0}, {INT_MIN, 0}, {62, 62}};
    for (const auto& c : cases) {
        auto effect = noteEffect(true, true, false);
        send(*effect, c.delta, 0x90, 57, 100);
        render(*effect, ramp, 64);
        EXPECT_FALSE(effect->notePending) << c.delta;
        EXPECT_EQ(effect->getLoopLength(), 400) << c.delta;  // size 0.25: 4 x 100.2
        EXPECT_EQ(effect->getBufferL()[1], ramp.left[static_cast<size_t>(c.appliedAt + 1)]) << c.delta;
    }
    // An offset beyond a short block carries into the following blocks.
    auto effect = noteEffect(true, true, false);
    send(*effect, 10, 0x90, 57, 100);
    render(*effect, Stereo(6), 6);
    EXPECT_TRUE(effect->notePending);
    EXPECT_EQ(effect->noteDelay, 4);
    render(*effect, ramp, 64);
    EXPECT_EQ(effect->getBufferL()[1], ramp.left[5]);

    // A huge offset keeps the note waiting without harm; the next note replaces it.
    send(*effect, INT_MAX, 0x90, 60, 100);
    render(*effect, Stereo(1000), 250);
    EXPECT_TRUE(effect->notePending);
    EXPECT_EQ(effect->noteDelay, INT_MAX - 1000);
    send(*effect, 0, 0x90, 57, 100);
    render(*effect, Stereo(1), 1);
    EXPECT_FALSE(effect->notePending);
}

TEST(MidiNotes, AppliedNoteRestartsTheCountWithAFade) {
    auto effect = noteEffect(true, false, false);
    render(*effect, Stereo(1372 * 40), 512);
    EXPECT_GE(effect->repeatCount, effect->repeatLimit);  // stopped
    send(*effect, 3, 0x90, 57, 1);
    render(*effect, Stereo(3), 3);
    EXPECT_TRUE(effect->notePending);
    render(*effect, Stereo(1), 1);
    EXPECT_FALSE(effect->notePending);
    EXPECT_EQ(effect->repeatCount, 0);
    EXPECT_FALSE(effect->isRecording());  // the envelope still starts recordings
    EXPECT_EQ(effect->getLoopLength(), 400);
    EXPECT_EQ(effect->getStepIndex(), 0);
}

TEST(MidiNotes, PendingNoteWaitsForNoteControl) {
    auto effect = noteEffect(false, false, false);
    send(*effect, 2, 0x90, 57, 100);
    render(*effect, Stereo(100), 50);
    EXPECT_TRUE(effect->notePending);
    EXPECT_EQ(effect->noteDelay, 2);
    EXPECT_EQ(effect->getLoopLength(), 1372);
    effect->toggleMidiNoteControl();
    render(*effect, Stereo(3), 3);
    EXPECT_FALSE(effect->notePending);
    EXPECT_EQ(effect->getLoopLength(), 400);
}

TEST(MidiNotes, RecordStartWithoutNoteControlRecordsNothing) {
    auto effect = noteEffect(false, true, false);
    for (int32_t block = 0; block < 40; ++block) {
        send(*effect, 5, 0x90, 60 + block % 12, 100);
        render(*effect, Stereo(512, 0.9f), 512);
    }
    EXPECT_FALSE(effect->isRecording());
    EXPECT_EQ(effect->getStepIndex(), 0);
    for (int32_t i = 0; i < kBufferLength; ++i) ASSERT_EQ(effect->getBufferL()[i], 0.0f) << i;
}

TEST(MidiNotes, NoteStartedRecordingIgnoresTheHoldOffAndTheSequencer) {
    auto effect = noteEffect(true, true, false);
    for (int32_t n = 0; n < 3; ++n) {
        send(*effect, 0, 0x90, 57, 100);
        render(*effect, Stereo(450, 0.5f), 450);  // 400 samples of recording, then idle
        EXPECT_FALSE(effect->isRecording()) << n;
        EXPECT_FALSE(effect->holdOff) << n;
        EXPECT_EQ(effect->getStepIndex(), 0);
        EXPECT_EQ(effect->getBufferL()[400], 0.5f);
    }
}

TEST(MidiNotes, RepeatTillNoteOffHoldsUntilAnyNoteOff) {
    struct Off {
        int status;
        int note;
        int velocity;
    };
    const Off offs[] = {{0x80, 57, 64}, {0x80, 99, 0}, {0x90, 12, 0}, {0x8F, 57, 1}, {0x9F, 57, 0}};
    for (const Off& off : offs) {
        auto effect = noteEffect(false, false, true);
        render(*effect, Stereo(16), 16);
        EXPECT_EQ(effect->repeatLimit, 0);  // never computed from the parameter in this mode
        send(*effect, 0, 0x90, 57, 100);
        EXPECT_EQ(effect->repeatLimit, 9999999);
        // Repeats well past the parameter's 17 passes.
        Stereo burst(1372 * 30, 0.0f);
        for (size_t i = 0; i < 100; ++i) burst.left[i] = burst.right[i] = 0.9f;
        render(*effect, burst, 512);
        EXPECT_GT(effect->repeatCount, 20);
        send(*effect, 0, off.status, off.note, off.velocity);
        EXPECT_EQ(effect->repeatLimit, 1);
        render(*effect, Stereo(1), 1);
        EXPECT_GE(effect->repeatCount, effect->repeatLimit);
    }
}

TEST(MidiNotes, OtherMessagesAndEventsChangeNothing) {
    auto effect = noteEffect(true, true, true);
    render(*effect, Stereo(8), 8);
    const int32_t limit = effect->repeatLimit;
    MidiList list;
    list.add(0, 0xC0, 5, 0);     // program change
    list.add(0, 0xB3, 64, 127);  // controller
    list.add(0, 0xE0, 0, 64);    // pitch bend
    list.add(0, 0xA0, 57, 30);   // aftertouch
    list.add(0, 0xF0, 0x7E, 0);  // system
    VstEvents* events = list.list();
    EXPECT_EQ(effect->processEvents(events), 1);
    EXPECT_FALSE(effect->notePending);
    EXPECT_EQ(effect->repeatLimit, limit);

    // A non-MIDI event, null entries, a negative count and a null list are skipped.
    list.events[0].type = 6;   // a SysEx event
    list.events[0].midiData[0] = static_cast<char>(0x90);
    list.events[0].midiData[1] = 57;
    list.events[0].midiData[2] = 100;
    events = list.list();
    events->events[1] = nullptr;
    EXPECT_EQ(effect->processEvents(events), 1);
    events->numEvents = -3;
    EXPECT_EQ(effect->processEvents(events), 1);
    EXPECT_EQ(effect->processEvents(nullptr), 1);
    EXPECT_FALSE(effect->notePending);

    // The last of several note-ons before a block wins; channels do not matter.
    MidiList notes;
    notes.add(3, 0x95, 45, 10);
    notes.add(7, 0x9A, 57, 10);
    EXPECT_EQ(effect->processEvents(notes.list()), 1);
    EXPECT_EQ(effect->noteDelay, 7);
    EXPECT_EQ(effect->noteLoopLength, 400);
}

}  // namespace
