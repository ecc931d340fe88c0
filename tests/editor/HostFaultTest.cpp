// What real hosts do to an editor: windows destroyed under it and banks loaded while it is open.
#include <string>

#include "EditorTestSupport.h"
#include "editor/MidiModePanel.h"

namespace {

constexpr Point kSliders{15, 10};
constexpr Point kMidi{15, 240};

class HostFaults : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        open();
        idle();
    }
};

TEST_F(HostFaults, ReopensInTheNewWindowAfterTheHostLostItsOwn) {
    const struct {
        const char* how;
        bool destroyOld;
        bool idleBetween;
    } cases[] = {{"destroyed, idle before the open", true, true},
                 {"destroyed, opened at once", true, false},
                 {"opened in another window while open", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        void* next = headless::createHostWindow(kScreen.h, kScreen.v, 600, 400);
        if (c.destroyOld) {
            headless::destroyHostWindow(hostWindow);
            if (c.idleBetween) idle();
        }
        void* old = frame()->getWindow();
        EXPECT_EQ(dispatch(effEditOpen, 0, 0, next), 1);
        if (!c.destroyOld) headless::destroyHostWindow(hostWindow);
        hostWindow = next;
        ASSERT_NE(frame(), nullptr);
        EXPECT_NE(frame()->getWindow(), old);
        EXPECT_FALSE(headless::isWindow(old));
        EXPECT_EQ(frame()->getParentWindow(), next);
        EXPECT_EQ(frame()->viewCount(), 6);
        idle();
        EXPECT_TRUE(headless::isVisible(frame()->getWindow()));
        // Drawn: the slider bank's trough, not the window's erase colour.
        EXPECT_EQ(pixel(kSliders.h + 6, kSliders.v + 8), (Color{200, 200, 220, 0}));
    }
    // The same window again is the same editor.
    void* window = frame()->getWindow();
    EXPECT_EQ(dispatch(effEditOpen, 0, 0, hostWindow), 1);
    EXPECT_EQ(frame()->getWindow(), window);
}

TEST_F(HostFaults, MidiSwitchesFollowABankLoadedWhileOpen) {
    void* data = nullptr;
    const intptr_t size = dispatch(effGetChunk, 0, 0, &data);
    ASSERT_EQ(size, 1476);
    std::vector<unsigned char> bank(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
    const bool states[][3] = {{true, false, true}, {false, true, false}, {true, true, true}};
    for (const auto& want : states) {
        for (int32_t i = 0; i < 3; ++i) bank[static_cast<size_t>(1472 + i)] = want[i] ? 1 : 0;
        dispatch(effSetChunk, 0, size, bank.data());
        idle();
        for (int32_t i = 0; i < MidiModePanel::switchCount; ++i) {
            const Rect box = MidiModePanel::switchRects[i].offset(kMidi.h, kMidi.v);
            EXPECT_EQ(pixel(box.left + 1, box.top + 1),
                      want[i] ? (Color{247, 153, 57, 0}) : (Color{200, 200, 200, 0}))
                << "switch " << i;
        }
    }
}

}  // namespace
