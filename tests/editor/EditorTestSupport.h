// Helpers of the editor tests: the plug-in with its editor open in a headless host window, a
// host that counts idle calls, pixel and text probes, and scripted presses.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "editor/FreezeEditor.h"
#include "gui/Color.h"
#include "gui/Frame.h"
#include "gui/x11/HeadlessScreen.h"
#include "vst2/VstApi.h"
#include "vst2/FreezeEffectEdit.h"

inline bool operator==(const Color& a, const Color& b) { return sameRgb(a, b); }

inline std::ostream& operator<<(std::ostream& out, const Color& c) {
    return out << "(" << int(c.red) << "," << int(c.green) << "," << int(c.blue) << ")";
}

// The host: answers the version, counts idle calls and lets a test act inside them.
struct TestHost {
    int32_t idleCalls = 0;
    // The last audioMasterSizeWindow: width, height; and how many came.
    Point sizeAsked;
    int32_t sizeCalls = 0;
    std::function<void()> onIdle;
};
TestHost& testHost();
intptr_t testHostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                          float opt);

// One press as the tracking loop sees it, a sample per pass: the press, then what each later
// poll of the buttons and the position reads.
struct PressScript {
    std::vector<headless::PointerState> samples;
    // One pass with the pointer at an editor point and these buttons held.
    PressScript& at(Point where, int32_t buttons = 1);
    // The button is released (the loop's last pass).
    PressScript& release();
};

// The plug-in with its editor open in a host window whose top-left corner is at kScreen.
class EditorFixture : public ::testing::Test {
public:
    static constexpr Point kScreen{100, 50};

protected:
    void SetUp() override;
    void TearDown() override;

    FreezeEditor* editor() const { return effect->freezeEditor(); }
    Frame* frame() const { return editor()->getFrame(); }
    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f) {
        return record->dispatcher(record, opcode, index, value, ptr, opt);
    }
    void open() { dispatch(effEditOpen, 0, 0, hostWindow); }
    // The host's word on the scale, as hosts send it; the answer.
    intptr_t tellScale(float factor) {
        return dispatch(effVendorSpecific, fourCharCode('P', 'r', 'e', 'S'), fourCharCode('A', 'e', 'C', 's'),
                        nullptr, factor);
    }
    // What effEditGetRect answers: width, height.
    Point editorSize() {
        ERect* rect = nullptr;
        dispatch(effEditGetRect, 0, 0, &rect);
        return rect != nullptr ? Point{rect->right - rect->left, rect->bottom - rect->top} : Point{};
    }
    void idle() { dispatch(effEditIdle); }
    // What the window shows at an editor pixel.
    Color pixel(int32_t x, int32_t y) const;
    // Whether the window shows text (drawn centred in box with the font and colour) there:
    // drawing the same text again over it changes no pixel by much, while a missing or
    // different text leaves glyph pixels that change a lot.
    bool showsText(const Rect& box, const char* text, int32_t fontId, int32_t size, int32_t face,
                   Color color) const;
    // Posts a press at the script's first point and lets the editor's idle run the tracking loop.
    void press(const PressScript& script);

    FreezeEffectEdit* effect = nullptr;
    AEffect* record = nullptr;
    void* hostWindow = nullptr;
};
