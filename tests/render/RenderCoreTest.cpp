// The render core's parts: MIDI files and note text, the bank editor, block schedules.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

#include "tools/render/BankEdit.h"
#include "tools/render/MidiFile.h"
#include "tools/render/MidiText.h"
#include "tools/render/RenderSession.h"

namespace {

using Bytes = std::vector<unsigned char>;

void append(Bytes& out, std::initializer_list<int> bytes) {
    for (int b : bytes) out.push_back(static_cast<unsigned char>(b));
}

void appendLength(Bytes& out, size_t n) {
    append(out, {static_cast<int>(n >> 24 & 0xFF), static_cast<int>(n >> 16 & 0xFF),
                 static_cast<int>(n >> 8 & 0xFF), static_cast<int>(n & 0xFF)});
}

Bytes midiFile(int format, int division, const std::vector<Bytes>& tracks) {
    Bytes out;
    append(out, {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, format, 0, static_cast<int>(tracks.size()),
                 division >> 8 & 0xFF, division & 0xFF});
    for (const Bytes& track : tracks) {
        append(out, {'M', 'T', 'r', 'k'});
        appendLength(out, track.size());
        out.insert(out.end(), track.begin(), track.end());
    }
    return out;
}

TEST(MidiFile, TicksBecomeSamplesThroughTheTempoMap) {
    // 480 ticks per quarter. Tempo 120 (500000 us) until tick 960, then 60 (1000000 us).
    Bytes track;
    append(track, {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});  // 500000
    append(track, {0x83, 0x60, 0x90, 57, 100});                 // tick 480: note on
    append(track, {0x83, 0x60, 57, 0});                         // tick 960, running status: off
    append(track, {0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40});  // 1000000 from tick 960
    append(track, {0x00, 0xC0, 5});                             // program change: not a note
    append(track, {0x83, 0x60, 0x80, 60, 64});                  // tick 1440: note off
    append(track, {0x00, 0xF0, 0x02, 0x43, 0xF7});              // system exclusive
    append(track, {0x00, 0x9F, 61, 1});                         // channel 16
    append(track, {0x00, 0xFF, 0x2F, 0x00});
    std::vector<MidiNote> notes;
    std::string error;
    ASSERT_TRUE(parseMidiFile(midiFile(0, 480, {track}), 44100.0, 90.0, notes, error)) << error;
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[0].position, 22050);  // half a second
    EXPECT_EQ(notes[0].status, 0x90);
    EXPECT_EQ(notes[1].position, 44100);
    EXPECT_EQ(notes[1].data2, 0);         // velocity 0: the plug-in takes it as a note-off
    EXPECT_EQ(notes[2].position, 88200);  // a quarter at 60 BPM: one more second
    EXPECT_EQ(notes[2].status, 0x80);
    EXPECT_EQ(notes[3].status, 0x9F);
    EXPECT_EQ(notes[3].position, 88200);
}

TEST(MidiFile, FormatOneMergesTracksAndFollowsTheRenderTempoWithoutTempoEvents) {
    Bytes conductor;
    append(conductor, {0x00, 0xFF, 0x2F, 0x00});
    Bytes first;
    append(first, {0x60, 0x90, 40, 90, 0x00, 0xFF, 0x2F, 0x00});  // tick 96
    Bytes second;
    append(second, {0x30, 0x91, 50, 90, 0x30, 0x81, 50, 0});  // ticks 48 and 96, no end event
    std::vector<MidiNote> notes;
    std::string error;
    ASSERT_TRUE(parseMidiFile(midiFile(1, 96, {conductor, first, second}), 48000.0, 100.0, notes, error))
        << error;
    ASSERT_EQ(notes.size(), 3u);
    // At 100 BPM a quarter (96 ticks) is 0.6 s.
    EXPECT_EQ(notes[0].position, 14400);
    EXPECT_EQ(notes[0].data1, 50);
    EXPECT_EQ(notes[1].position, 28800);
    EXPECT_EQ(notes[1].data1, 40);  // same tick: the earlier track first
    EXPECT_EQ(notes[2].status, 0x81);

    // SMPTE division: 25 frames of 40 ticks, so a tick is a millisecond.
    Bytes smpte;
    append(smpte, {0x81, 0x48, 0x90, 60, 1});  // tick 200
    notes.clear();
    ASSERT_TRUE(parseMidiFile(midiFile(0, 0xE728, {smpte}), 44100.0, 120.0, notes, error)) << error;
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].position, 8820);
}

TEST(MidiFile, DamagedFilesAreRefusedWithAReason) {
    Bytes good;
    append(good, {0x00, 0x90, 60, 100, 0x00, 0xFF, 0x2F, 0x00});
    const Bytes file = midiFile(0, 480, {good});
    const struct {
        Bytes bytes;
        const char* says;
    } cases[] = {
        {Bytes(file.begin(), file.begin() + 10), "MThd"},
        {Bytes(file.begin(), file.end() - 3), "past the end"},
        {midiFile(2, 480, {good}), "format 2"},
        {midiFile(0, 0, {good}), "time division"},
        {midiFile(0, 480, {Bytes{0x00, 60, 100}}), "without a status"},
        {midiFile(0, 480, {Bytes{0x00, 0x90, 60}}), "cut short"},
        {midiFile(0, 480, {Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x7F}}), "delta time"},
        {midiFile(0, 480, {Bytes{0x00, 0xFF, 0x51, 0x09, 0x07}}), "meta event"},
        {midiFile(0, 480, {Bytes{0x00, 0x90, 0x80, 1}}), "above 127"},
    };
    for (const auto& c : cases) {
        std::vector<MidiNote> notes;
        std::string error;
        EXPECT_FALSE(parseMidiFile(c.bytes, 44100.0, 120.0, notes, error)) << c.says;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
    Bytes announcesTwo = file;
    announcesTwo[11] = 2;
    std::vector<MidiNote> notes;
    std::string error;
    EXPECT_FALSE(parseMidiFile(announcesTwo, 44100.0, 120.0, notes, error));
    EXPECT_NE(error.find("holds 1"), std::string::npos) << error;
}

TEST(MidiText, LinesBecomeSortedNoteMessages) {
    std::vector<MidiNote> notes;
    std::string error;
    ASSERT_TRUE(parseMidiText("# comment\n300 60 100\n\n100 62 0  # off\r\n100 64 127\n", notes, error))
        << error;
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].position, 100);
    EXPECT_EQ(notes[0].status, 0x80);
    EXPECT_EQ(notes[1].data1, 64);  // equal positions keep their order
    EXPECT_EQ(notes[2].position, 300);
    for (const char* bad : {"10 60", "10 60 100 5", "-1 60 100", "10 128 1", "10 60 -3", "ten 60 100"}) {
        std::vector<MidiNote> none;
        EXPECT_FALSE(parseMidiText(std::string("1 60 1\n") + bad + "\n", none, error)) << bad;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    }
}

TEST(BankEdit, WritesStepsSequenceLengthFilterTypesAndFlags) {
    std::vector<unsigned char> bank(kBankChunkSize, 0xAA);
    EditorSettings settings;
    settings.steps = {{0, 0.25f}, {15, 1.0f}};
    settings.sequenceLength = 8;
    settings.preFilter = 2;
    settings.postFilter = 3;
    settings.midiNoteControl = 1;
    settings.repeatTillNoteOff = 0;
    ASSERT_TRUE(applyEditorSettings(bank, 5, settings));
    auto floatAt = [&](size_t at) {
        float v;
        std::memcpy(&v, bank.data() + at, 4);
        return v;
    };
    auto intAt = [&](size_t at) {
        int32_t v;
        std::memcpy(&v, bank.data() + at, 4);
        return v;
    };
    EXPECT_EQ(floatAt(1344), 0.25f);
    EXPECT_EQ(floatAt(1344 + 15 * 4), 1.0f);
    EXPECT_EQ(bank[1344 + 4], 0xAA);  // other steps untouched
    EXPECT_EQ(floatAt(5 * 84 + 48), 0.5f);
    EXPECT_EQ(intAt(5 * 84 + 52), 2);
    EXPECT_EQ(intAt(5 * 84 + 56), 3);
    EXPECT_EQ(bank[4 * 84 + 52], 0xAA);  // other programs untouched
    EXPECT_EQ(bank[1472], 1);
    EXPECT_EQ(bank[1473], 0xAA);  // not asked for
    EXPECT_EQ(bank[1474], 0);

    std::vector<unsigned char> shortBank(100);
    EXPECT_FALSE(applyEditorSettings(shortBank, 0, settings));
    EXPECT_FALSE(applyEditorSettings(bank, 16, settings));
}

TEST(BlockSchedule, FixedOrVaryingUpToTheLargest) {
    BlockSchedule fixed(512, false);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(fixed.next(), 512);
    BlockSchedule varying(300, true);
    int ones = 0;
    int full = 0;
    int others = 0;
    for (int i = 0; i < 1000; ++i) {
        const int32_t n = varying.next();
        ASSERT_GE(n, 1);
        ASSERT_LE(n, 300);
        (n == 1 ? ones : n == 300 ? full : others)++;
    }
    EXPECT_GT(ones, 100);
    EXPECT_GT(full, 100);
    EXPECT_GT(others, 300);
}

}  // namespace
