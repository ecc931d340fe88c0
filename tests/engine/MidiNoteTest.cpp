// MIDI note control in the signal path: note lengths, timing of pending notes, the three modes.
#include <gtest/gtest.h>

#include <climits>

#include "CoreRig.h"

namespace {

std::unique_ptr<CoreRig> noteRig(bool control, bool recordStart, bool tillNoteOff) {
    auto rig = makeRig();
    if (control) rig->toggleMidiNoteControl();
    if (recordStart) rig->toggleNoteRecordStart();
    if (tillNoteOff) rig->toggleRepeatTillNoteOff();
    return rig;
}

TEST(MidiNotes, LengthIsSizeStepsPeriodsOfTheNote) {
    const struct {
        float size;
        int32_t note;
        int32_t expected;
    } cases[] = {{0.0f, 57, 100}, {1.0f, 57, 1603}, {0.0f, 69, 50}, {1.0f, 45, 3207},
                 {0.0f, 0, 2696}, {1.0f, 0, 43151}, {1.0f, 127, 28}};
    for (const auto& c : cases) {
        auto rig = noteRig(true, false, false);
        rig->setParameter(kParamSize, c.size);
        rig->core.noteOn(c.note, 0);
        EXPECT_EQ(rig->state().noteLoopLength, c.expected) << c.note << " size " << c.size;
        render(*rig, Stereo(4), 4);
        EXPECT_EQ(rig->getLoopLength(), c.expected) << c.note;
    }
    // Every semitone changes the length.
    auto rig = noteRig(true, false, false);
    rig->setParameter(kParamSize, 1.0f);
    int32_t previous = INT_MAX;
    for (int32_t note = 0; note < 128; ++note) {
        rig->core.noteOn(note, 0);
        EXPECT_LT(rig->state().noteLoopLength, previous) << note;
        previous = rig->state().noteLoopLength;
    }
}

TEST(MidiNotes, NoteLandsAtItsDeltaFramesInTheNextBlock) {
    // With Note->RecordStart the note starts a recording: slot 1 then holds the sample after it.
    Stereo ramp(64);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp.left[i] = ramp.right[i] = 0.001f * static_cast<float>(i + 1);
    const struct {
        int32_t delta;
        int32_t appliedAt;
    } cases[] = {{10, 10}, {0, 0}, {-7, 0}, {INT_MIN, 0}, {62, 62}};
    for (const auto& c : cases) {
        auto rig = noteRig(true, true, false);
        rig->core.noteOn(57, c.delta);
        render(*rig, ramp, 64);
        EXPECT_FALSE(rig->state().notePending) << c.delta;
        EXPECT_EQ(rig->getLoopLength(), 400) << c.delta;  // size 0.25: 4 x 100.2
        EXPECT_EQ(rig->getBufferL()[1], ramp.left[static_cast<size_t>(c.appliedAt + 1)]) << c.delta;
    }
    // An offset beyond a short block carries into the following blocks.
    auto rig = noteRig(true, true, false);
    rig->core.noteOn(57, 10);
    render(*rig, Stereo(6), 6);
    EXPECT_TRUE(rig->state().notePending);
    EXPECT_EQ(rig->state().noteDelay, 4);
    render(*rig, ramp, 64);
    EXPECT_EQ(rig->getBufferL()[1], ramp.left[5]);

    // A huge offset keeps the note waiting without harm; the next note replaces it.
    rig->core.noteOn(60, INT_MAX);
    render(*rig, Stereo(1000), 250);
    EXPECT_TRUE(rig->state().notePending);
    EXPECT_EQ(rig->state().noteDelay, INT_MAX - 1000);
    rig->core.noteOn(57, 0);
    render(*rig, Stereo(1), 1);
    EXPECT_FALSE(rig->state().notePending);
}

TEST(MidiNotes, AppliedNoteRestartsTheCountWithAFade) {
    auto rig = noteRig(true, false, false);
    render(*rig, Stereo(1372 * 40), 512);
    EXPECT_GE(rig->state().repeatCount, rig->state().repeatLimit);  // stopped
    rig->core.noteOn(57, 3);
    render(*rig, Stereo(3), 3);
    EXPECT_TRUE(rig->state().notePending);
    render(*rig, Stereo(1), 1);
    EXPECT_FALSE(rig->state().notePending);
    EXPECT_EQ(rig->state().repeatCount, 0);
    EXPECT_FALSE(rig->isRecording());  // the envelope still starts recordings
    EXPECT_EQ(rig->getLoopLength(), 400);
    EXPECT_EQ(rig->getStepIndex(), 0);
}

TEST(MidiNotes, PendingNoteWaitsForNoteControl) {
    auto rig = noteRig(false, false, false);
    rig->core.noteOn(57, 2);
    render(*rig, Stereo(100), 50);
    EXPECT_TRUE(rig->state().notePending);
    EXPECT_EQ(rig->state().noteDelay, 2);
    EXPECT_EQ(rig->getLoopLength(), 1372);
    rig->toggleMidiNoteControl();
    render(*rig, Stereo(3), 3);
    EXPECT_FALSE(rig->state().notePending);
    EXPECT_EQ(rig->getLoopLength(), 400);
}

TEST(MidiNotes, RecordStartWithoutNoteControlRecordsNothing) {
    auto rig = noteRig(false, true, false);
    for (int32_t block = 0; block < 40; ++block) {
        rig->core.noteOn(60 + block % 12, 5);
        render(*rig, Stereo(512, 0.9f), 512);
    }
    EXPECT_FALSE(rig->isRecording());
    EXPECT_EQ(rig->getStepIndex(), 0);
    for (int32_t i = 0; i < kBufferLength; ++i) ASSERT_EQ(rig->getBufferL()[i], 0.0f) << i;
}

TEST(MidiNotes, NoteStartedRecordingIgnoresTheHoldOffAndTheSequencer) {
    auto rig = noteRig(true, true, false);
    for (int32_t n = 0; n < 3; ++n) {
        rig->core.noteOn(57, 0);
        render(*rig, Stereo(450, 0.5f), 450);  // 400 samples of recording, then idle
        EXPECT_FALSE(rig->isRecording()) << n;
        EXPECT_FALSE(rig->state().holdOff) << n;
        EXPECT_EQ(rig->getStepIndex(), 0);
        EXPECT_EQ(rig->getBufferL()[400], 0.5f);
    }
}

TEST(MidiNotes, RepeatTillNoteOffHoldsUntilANoteOff) {
    auto rig = noteRig(false, false, true);
    render(*rig, Stereo(16), 16);
    EXPECT_EQ(rig->state().repeatLimit, 0);  // never computed from the parameter in this mode
    rig->core.noteOn(57, 0);
    EXPECT_EQ(rig->state().repeatLimit, 9999999);
    // Repeats well past the parameter's 17 passes.
    Stereo burst(1372 * 30, 0.0f);
    for (size_t i = 0; i < 100; ++i) burst.left[i] = burst.right[i] = 0.9f;
    render(*rig, burst, 512);
    EXPECT_GT(rig->state().repeatCount, 20);
    rig->core.noteOff();
    EXPECT_EQ(rig->state().repeatLimit, 1);
    render(*rig, Stereo(1), 1);
    EXPECT_GE(rig->state().repeatCount, rig->state().repeatLimit);
}

}  // namespace
