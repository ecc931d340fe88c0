// The opcode dispatcher: answers, argument passing and requests that must change nothing.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "RecordingHost.h"
#include "vst2/EditorBase.h"
#include "vst2/FreezeEffectEdit.h"

namespace {

struct EditorCalls {
    int opens = 0, closes = 0, idles = 0, knobMode = -1;
    VstKeyCode lastKey{};
    bool destroyed = false;
};

class FakeEditor : public EditorBase {
public:
    FakeEditor(HostEffect* owner, EditorCalls& log) : EditorBase(owner), calls(log) {}
    ~FakeEditor() override { calls.destroyed = true; }
    int32_t getRect(ERect** rect) override {
        *rect = &area;
        return 1;
    }
    int32_t open(void*) override { return ++calls.opens, 1; }
    void close() override { ++calls.closes; }
    void idle() override { ++calls.idles; }
    int32_t keyDown(VstKeyCode& key) override { return calls.lastKey = key, 1; }
    int32_t keyUp(VstKeyCode& key) override { return calls.lastKey = key, 0; }
    int32_t setKnobMode(int32_t mode) override { return calls.knobMode = mode, 1; }
    ERect area{0, 0, 300, 525};

private:
    EditorCalls& calls;
};

class DispatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecordingHost::reset();
        effect = new FreezeEffectEdit(RecordingHost::callback);
        record = effect->getEffectRecord();
    }
    void TearDown() override {
        if (record) record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    }
    intptr_t call(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                  float opt = 0.0f) {
        return record->dispatcher(record, opcode, index, value, ptr, opt);
    }
    std::string text(int32_t opcode, int32_t index = 0) {
        char buffer[64];
        std::memset(buffer, '#', sizeof buffer);
        buffer[63] = '\0';
        call(opcode, index, 0, buffer);
        return buffer;
    }
    FreezeEffectEdit* effect = nullptr;
    AEffect* record = nullptr;
};

}  // namespace

TEST_F(DispatcherTest, FixedAnswers) {
    EXPECT_EQ(call(effIdentify), 0x4E764566);
    EXPECT_EQ(call(effGetVstVersion), 2200);
    EXPECT_EQ(call(effKeysRequired), 1);
    EXPECT_EQ(call(effGetPlugCategory), 0);
    EXPECT_EQ(call(effGetNumProgramCategories), 1);
    EXPECT_EQ(call(effGetCurrentMidiProgram, 0), -1);
    EXPECT_EQ(call(effCanBeAutomated, 0), 1);
    EXPECT_EQ(call(effCanBeAutomated, 999), 1);
    EXPECT_EQ(call(effConnectInput, 0, 1), 1);
    EXPECT_EQ(call(effConnectOutput, 1, 0), 1);
    EXPECT_EQ(call(effGetVu), 0);
    EXPECT_EQ(call(effGetVendorVersion), 0);
    EXPECT_EQ(call(effGetTailSize), 0);
    EXPECT_EQ(call(effOpen), 0);
    for (int32_t opcode : std::initializer_list<int32_t>{effString2Parameter,
                                                         effGetProgramNameIndexed,
                                                         effCopyProgram,
                                                         effGetInputProperties,
                                                         effGetOutputProperties,
                                                         effOfflineNotify,
                                                         effOfflinePrepare,
                                                         effOfflineRun,
                                                         effProcessVarIo,
                                                         effSetSpeakerArrangement,
                                                         effSetBypass,
                                                         effGetEffectName,
                                                         effSetViewPosition,
                                                         effGetParameterProperties,
                                                         effHasMidiProgramsChanged,
                                                         effGetMidiKeyName,
                                                         effBeginSetProgram,
                                                         effEndSetProgram,
                                                         effGetMidiProgramName,
                                                         effGetMidiProgramCategory,
                                                         effGetCurrentPosition,
                                                         effGetDestinationBuffer,
                                                         effGetIcon,
                                                         effIdle,
                                                         effVendorSpecific})
        EXPECT_EQ(call(opcode), 0) << "opcode " << opcode;
    // The error text request writes nothing.
    EXPECT_EQ(text(effGetErrorText), std::string(63, '#'));
}

TEST_F(DispatcherTest, OpcodesOutsideTheTableAnswerZeroAndChangeNothing) {
    call(effSetProgram, 0, 4);
    effect->setParameter(kParamSize, 0.6f);
    for (int32_t opcode :
         std::initializer_list<int32_t>{effEditDraw, effEditMouse, effEditKey, effEditTop, effEditSleep, 69,
                                        70, 100, 1000, INT_MAX, -1, -2, -1000, INT_MIN}) {
        char buffer[256] = {};
        EXPECT_EQ(call(opcode, 1, 1, buffer, 1.0f), 0) << "opcode " << opcode;
        EXPECT_EQ(buffer[0], 0);
    }
    EXPECT_EQ(call(effGetProgram), 4);
    EXPECT_EQ(effect->getParameter(kParamSize), 0.6f);
}

TEST_F(DispatcherTest, ProgramNumbersOutsideTheBankAreIgnored) {
    call(effSetProgram, 0, 5);
    EXPECT_EQ(call(effGetProgram), 5);
    for (intptr_t bad : {intptr_t{16}, intptr_t{-1}, intptr_t{1000}, intptr_t{INT_MIN}}) {
        EXPECT_EQ(call(effSetProgram, 0, bad), 0);
        EXPECT_EQ(call(effGetProgram), 5);
    }
    EXPECT_EQ(text(effGetProgramName), "Init 6");
}

TEST_F(DispatcherTest, NamesLabelsAndDisplays) {
    for (const ParameterInfo& info : kParameterTable) {
        EXPECT_EQ(text(effGetParamName, info.index), info.vstName);
        EXPECT_EQ(text(effGetParamLabel, info.index), info.vstLabel);
    }
    EXPECT_EQ(text(effGetParamDisplay, 7), "0.150000");
    EXPECT_EQ(text(effGetParamDisplay, 2), "4.000000");
    // Indices outside 0..11 leave the host's buffer alone.
    for (int32_t index : {-1, 12, INT_MAX, INT_MIN}) {
        EXPECT_EQ(text(effGetParamName, index), std::string(63, '#'));
        EXPECT_EQ(text(effGetParamLabel, index), std::string(63, '#'));
        EXPECT_EQ(text(effGetParamDisplay, index), std::string(63, '#'));
    }
    // A null buffer is not written through.
    EXPECT_EQ(call(effGetParamName, 0, 0, nullptr), 0);
    EXPECT_EQ(call(effGetProgramName, 0, 0, nullptr), 0);
    EXPECT_EQ(text(effGetVendorString), "Ulvar @ Fennelworks");
    EXPECT_EQ(call(effGetVendorString, 0, 0, nullptr), 0);
    char product[64];
    EXPECT_EQ(call(effGetProductString, 0, 0, product), 1);
    EXPECT_STREQ(product, "brindleLoop1.0");
}

TEST_F(DispatcherTest, CapabilitiesAreExactAndCaseSensitive) {
    char text[64];
    for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo"}) {
        std::strcpy(text, yes);
        EXPECT_EQ(call(effCanDo, 0, 0, text), 1) << yes;
    }
    for (const char* no : {"receivevstevents", "sendVstEvents", "", "receiveVstEvents "}) {
        std::strcpy(text, no);
        EXPECT_EQ(call(effCanDo, 0, 0, text), -1) << no;
    }
    EXPECT_EQ(call(effCanDo, 0, 0, nullptr), -1);
}

TEST_F(DispatcherTest, SampleRateBlockSizeAndSwitching) {
    EXPECT_EQ(call(effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
    EXPECT_EQ(effect->getSampleRate(), 48000.0f);
    EXPECT_EQ(call(effSetBlockSize, 0, 256), 0);
    EXPECT_EQ(effect->getBlockSize(), 256);
    EXPECT_EQ(call(effSetBlockSizeAndSampleRate, 0, 64, nullptr, 96000.0f), 1);
    EXPECT_EQ(effect->getBlockSize(), 64);
    EXPECT_EQ(effect->getSampleRate(), 96000.0f);

    RecordingHost& host = RecordingHost::instance();
    for (intptr_t on : {intptr_t{1}, intptr_t{2}, intptr_t{-1}}) {
        host.requests.clear();
        EXPECT_EQ(call(effMainsChanged, 0, on), 0);
        ASSERT_EQ(host.countOf(audioMasterWantMidi), 1);
        EXPECT_EQ(host.requests.back().value, 1);
    }
    host.requests.clear();
    call(effMainsChanged, 0, 0);
    EXPECT_EQ(host.countOf(audioMasterWantMidi), 0);
}

TEST_F(DispatcherTest, EditorOpcodesAnswerZeroWithoutAnEditor) {
    // The engine alone has no editor.
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    record = (new FreezeEffect(RecordingHost::callback))->getEffectRecord();
    EXPECT_EQ(record->flags & effFlagsHasEditor, 0);
    ERect* rect = reinterpret_cast<ERect*>(0x1);
    EXPECT_EQ(call(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(call(effEditOpen, 0, 0, reinterpret_cast<void*>(0x1234)), 0);
    EXPECT_EQ(call(effEditClose), 0);
    EXPECT_EQ(call(effEditIdle), 0);
    EXPECT_EQ(call(effEditKeyDown, 'a', 1, nullptr, 2.0f), 0);
    EXPECT_EQ(call(effEditKeyUp, 'a', 1, nullptr, 2.0f), 0);
    EXPECT_EQ(call(effSetEditKnobMode, 0, 2), 0);
}

TEST_F(DispatcherTest, EditorOpcodesReachTheEditor) {
    EditorCalls calls;
    effect->setEditor(new FakeEditor(effect, calls));
    EXPECT_EQ(record->flags & effFlagsHasEditor, effFlagsHasEditor);
    ERect* rect = nullptr;
    EXPECT_EQ(call(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->bottom, 300);
    EXPECT_EQ(rect->right, 525);
    EXPECT_EQ(call(effEditGetRect, 0, 0, nullptr), 0);
    EXPECT_EQ(call(effEditOpen, 0, 0, reinterpret_cast<void*>(0x1234)), 1);
    EXPECT_EQ(call(effEditIdle), 0);
    EXPECT_EQ(call(effEditClose), 0);
    EXPECT_EQ(call(effSetEditKnobMode, 0, 2), 1);
    EXPECT_EQ(call(effEditKeyDown, 'q', 0x1FF, nullptr, 258.9f), 1);
    EXPECT_EQ(calls.lastKey.character, 'q');
    EXPECT_EQ(calls.lastKey.virt, 0xFF);
    EXPECT_EQ(calls.lastKey.modifier, 2);  // trunc(258.9) = 258, low byte 2
    EXPECT_EQ(call(effEditKeyUp, 'q', 3, nullptr, std::nanf("")), 0);
    EXPECT_EQ(calls.lastKey.modifier, 0);
    EXPECT_EQ(call(effEditKeyUp, 'q', 3, nullptr, -1.0f), 0);
    EXPECT_EQ(calls.lastKey.modifier, 0xFF);
    EXPECT_EQ(calls.opens, 1);
    EXPECT_EQ(calls.closes, 1);
    EXPECT_EQ(calls.idles, 1);
    EXPECT_EQ(calls.knobMode, 2);
    // The editor dies with the effect.
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    record = nullptr;
    EXPECT_TRUE(calls.destroyed);
}

TEST_F(DispatcherTest, ParameterChangesReachAnAttachedEditor) {
    struct CountingEditor : EditorBase {
        using EditorBase::EditorBase;
        void setParameter(int32_t index, float value) override { last = index, lastValue = value; }
        int32_t last = -1;
        float lastValue = 0.0f;
    };
    auto* editor = new CountingEditor(effect);
    effect->setEditor(editor);
    record->setParameter(record, kParamBits, 0.25f);
    EXPECT_EQ(editor->last, kParamBits);
    EXPECT_EQ(editor->lastValue, 0.25f);
    EXPECT_TRUE(editor->isRefreshRequested());
    editor->idle();
    EXPECT_FALSE(editor->isRefreshRequested());
}
