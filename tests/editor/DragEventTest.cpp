// Drags in the window's own events: every event returns at once, each kind of control reaches
// the host as a gesture (begin, values, end) through the plug-in's edit sink, double-click and
// Ctrl+click reset, Shift moves finer, the wheel steps, and closes, reopens and destroyed windows
// in the middle of a held drag.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "editor/MidiModePanel.h"
#include "editor/SliderBank.h"
#include "editor/StepPanel.h"
#include "plugin/FreezePlugin.h"

namespace {

constexpr Point kSliders{15, 10};
constexpr Point kSteps{15, 135};
constexpr Point kMidi{15, 240};

int32_t sliderX(int32_t i) { return kSliders.h + SliderBank::sliderRects[i].left + 9; }
int32_t stepX(int32_t i) { return kSteps.h + StepPanel::stepRect(i).left + 9; }
Point centre(const Rect& local, Point origin) {
    return Point{origin.h + (local.left + local.right) / 2, origin.v + (local.top + local.bottom) / 2};
}
const Point kMeter = centre(SliderBank::meterRect, kSliders);
const int32_t kLengthX = kSteps.h + StepPanel::lengthRect.left + 9;

// What the host is told, in order: "b7" begin, "v7=0.5" a value, "e7" end.
class RecordingSink final : public EditSink {
public:
    void beginEdit(int32_t control) override { log.push_back("b" + std::to_string(control)); }
    void performEdit(int32_t control, float value) override {
        char text[48];
        std::snprintf(text, sizeof text, "v%d=%.4g", static_cast<int>(control), static_cast<double>(value));
        log.push_back(text);
        if (onEdit) onEdit();
    }
    void endEdit(int32_t control) override { log.push_back("e" + std::to_string(control)); }
    virtual ~RecordingSink() = default;
    std::vector<std::string> log;
    std::function<void()> onEdit;
};

std::string joined(const std::vector<std::string>& log) {
    std::string text;
    for (const std::string& entry : log) text += (text.empty() ? "" : " ") + entry;
    return text;
}

class DragEvents : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        open();
        idle();
        effect->plugin().setEditSink(&sink);
    }
    void TearDown() override {
        effect->plugin().setEditSink(nullptr);
        EditorFixture::TearDown();
    }
    FreezePlugin& plugin() { return effect->plugin(); }
    void* window() { return frame()->getWindow(); }
    // Events at editor points, taken by one idle.
    void down(Point at, int32_t buttons = buttonLeft, int32_t time = -1) {
        headless::postButtonPress(window(), at, buttons, time);
        idle();
    }
    void move(Point at, int32_t buttons = buttonLeft) {
        headless::postMotion(window(), at, buttons);
        idle();
    }
    void up(Point at) {
        headless::postButtonRelease(window(), at, 0);
        idle();
    }
    RecordingSink sink;
};

TEST_F(DragEvents, EachEventReturnsAtOnceAndTheHostRunsBetween) {
    // The press, the moves and the release each come back from the editor's idle with the value
    // of that one event set: no loop polls the pointer or calls the host's idle meanwhile.
    const int64_t queries = headless::pointerQueries();
    const int32_t x = sliderX(1);
    const struct {
        int32_t row;
        float value;
    } path[] = {{99, 0.0f}, {56, 43.0f / 87.0f}, {12, 1.0f}};
    down({x, kSliders.v + path[0].row});
    EXPECT_FLOAT_EQ(plugin().getProgramValue(1), path[0].value);
    for (const auto& step : path) {
        move({x, kSliders.v + step.row});
        EXPECT_FLOAT_EQ(plugin().getProgramValue(1), step.value) << step.row;
        EXPECT_TRUE(frame()->isDragging());
    }
    // A paint that arrives during the drag is drawn at the same idle.
    headless::postExpose(window(), Rect{0, 0, 525, 300});
    move({x, kSliders.v + 110});
    EXPECT_EQ(headless::pendingEvents(window()), 0);
    EXPECT_FLOAT_EQ(plugin().getProgramValue(1), 1.0f);  // outside every slider the last value again
    up({x, kSliders.v + 110});
    EXPECT_FALSE(frame()->isDragging());
    EXPECT_EQ(testHost().idleCalls, 0);
    EXPECT_EQ(headless::pointerQueries(), queries);
}

TEST_F(DragEvents, EveryKindOfControlReachesTheHostAsAGesture) {
    const std::string pre = std::to_string(controlOfSetting(Setting::preFilterType));
    const std::string post = std::to_string(controlOfSetting(Setting::postFilterType));
    const std::string length = std::to_string(controlOfSetting(Setting::sequenceLength));
    const std::string inverse = std::to_string(controlOfSetting(Setting::inverse));
    const std::string slider1 = std::to_string(parameterOfSlot(1));
    const std::string slider2 = std::to_string(parameterOfSlot(2));
    const std::string slider9 = std::to_string(parameterOfSlot(9));
    const std::string threshold = std::to_string(kParamThreshold);
    const Point preBox = centre(SliderBank::preTypeRect, kSliders);
    const Point postBox = centre(SliderBank::postTypeRect, kSliders);
    const Point inverseBox = centre(SliderBank::inverseRect, kSliders);
    struct Event {
        char kind;  // d down, m move, u up
        Point at;
        int32_t buttons;
    };
    const struct {
        const char* what;
        std::vector<Event> events;
        std::string told;
    } cases[] = {
        {"slider drag",
         {{'d', {sliderX(1), kSliders.v + 99}, 1}, {'m', {sliderX(1), kSliders.v + 56}, 1},
          {'m', {sliderX(1), kSliders.v + 110}, 1}, {'u', {sliderX(1), 0}, 0}},
         "b" + slider1 + " v" + slider1 + "=0 v" + slider1 + "=0.4943 v" + slider1 + "=0.4943 e" + slider1},
        {"sideways over two sliders (one per program slot, the ninth is a filter's)",
         {{'d', {sliderX(1), kSliders.v + 12}, 1}, {'m', {sliderX(2), kSliders.v + 99}, 1},
          {'m', {sliderX(9), kSliders.v + 99}, 1}, {'u', {0, 0}, 0}},
         "b" + slider1 + " v" + slider1 + "=1 e" + slider1 + " b" + slider2 + " v" + slider2 + "=0 e" + slider2 +
             " b" + slider9 + " v" + slider9 + "=0 e" + slider9},
        {"threshold drag",
         {{'d', {kMeter.h, kSliders.v + 95}, 1}, {'m', {kMeter.h, kSliders.v + 50}, 1},
          {'m', {kMeter.h, kSliders.v + 200}, 1}, {'u', {0, 0}, 0}},
         "b" + threshold + " v" + threshold + "=0 v" + threshold + "=0.5 e" + threshold},
        {"pre filter click, held", {{'d', preBox, 1}, {'m', preBox, 1}, {'u', preBox, 0}},
         "b" + pre + " v" + pre + "=1 e" + pre},
        {"post filter click", {{'d', postBox, 1}, {'u', postBox, 0}}, "b" + post + " v" + post + "=1 e" + post},
        {"inverse, held", {{'d', inverseBox, 1}, {'m', inverseBox, 1}, {'u', inverseBox, 0}},
         "b" + inverse + " v" + inverse + "=1 e" + inverse},
        {"sequence length drag",
         {{'d', {kLengthX, kSteps.v + 50}, 1}, {'m', {kLengthX, kSteps.v + 5}, 1}, {'u', {0, 0}, 0}},
         "b" + length + " v" + length + "=8 v" + length + "=16 e" + length},
        {"steps are the editor's own", {{'d', {stepX(3), kSteps.v + 50}, 1}, {'u', {0, 0}, 0}}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sink.log.clear();
        for (const Event& event : c.events) {
            if (event.kind == 'd') down(event.at, event.buttons);
            if (event.kind == 'm') move(event.at, event.buttons);
            if (event.kind == 'u') up(event.at);
        }
        EXPECT_EQ(joined(sink.log), c.told);
    }
    // The three MIDI switches: one click each, the new state.
    for (int32_t i = 0; i < MidiModePanel::switchCount; ++i) {
        const Point box = centre(MidiModePanel::switchRects[i], kMidi);
        const std::string control = std::to_string(controlOfSetting(Setting::midiNoteControl) + i);
        sink.log.clear();
        down(box);
        up(box);
        EXPECT_EQ(joined(sink.log), "b" + control + " v" + control + "=1 e" + control) << i;
    }
    // What the sink was told is what the plug-in holds.
    EXPECT_EQ(plugin().getPreFilterType(), FilterType::LP);
    EXPECT_TRUE(plugin().isInverse() && plugin().isMidiNoteControl() && plugin().isRepeatTillNoteOff());
}

TEST_F(DragEvents, ResetFineAndWheel) {
    const std::string slider0 = std::to_string(parameterOfSlot(0));
    const float sliderDefault = FreezePlugin::defaultOf(parameterOfSlot(0));
    const Point onSlider{sliderX(0), kSliders.v + 56};
    const Point onStep{stepX(5), kSteps.v + 30};
    const struct {
        const char* what;
        int32_t buttons;
        int32_t firstTime;  // -1: no earlier click
        int32_t time;
        bool resets;
    } resets[] = {{"double-click", buttonLeft, 5000, 5200, true},
                  {"two clicks too far apart", buttonLeft, 8000, 9000, false},
                  {"Ctrl+click", buttonLeft | modControl, -1, 12000, true}};
    for (const auto& r : resets) {
        SCOPED_TRACE(r.what);
        plugin().setProgramValue(0, 0.9f);
        plugin().setThreshold(0.9f);
        plugin().setStepValue(5, 0.9f);
        for (Point at : {onSlider, kMeter, onStep}) {
            if (r.firstTime >= 0) {
                down(at, buttonLeft, r.firstTime);
                up(at);
            }
            down(at, r.buttons, r.time);
            up(at);
        }
        EXPECT_FLOAT_EQ(plugin().getProgramValue(0), r.resets ? sliderDefault : 43.0f / 87.0f);
        EXPECT_FLOAT_EQ(plugin().getThreshold(), r.resets ? kDefaultThreshold : 0.5f);
        EXPECT_FLOAT_EQ(plugin().getStepValue(5), r.resets ? 0.5f : 70.0f / 90.0f);
    }
    sink.log.clear();
    down(onSlider, buttonLeft | modControl);
    up(onSlider);
    char told[64];
    std::snprintf(told, sizeof told, "b%s v%s=%.4g e%s", slider0.c_str(), slider0.c_str(),
                  static_cast<double>(sliderDefault), slider0.c_str());
    EXPECT_EQ(joined(sink.log), told);

    // Shift: a press does not move the value; then ten pixels move it a pixel's worth; without
    // Shift again the value follows the pointer's travel, not its position (no jump).
    plugin().setProgramValue(0, 0.5f);
    down(onSlider, buttonLeft | modShift);
    EXPECT_FLOAT_EQ(plugin().getProgramValue(0), 0.5f);
    move({onSlider.h, onSlider.v - 10}, buttonLeft | modShift);
    EXPECT_FLOAT_EQ(plugin().getProgramValue(0), 0.5f + 1.0f / 87.0f);
    move({onSlider.h, onSlider.v - 11}, buttonLeft);
    EXPECT_FLOAT_EQ(plugin().getProgramValue(0), 0.5f + 1.0f / 87.0f + 1.0f / 87.0f);
    up(onSlider);
    plugin().setStepValue(2, 0.5f);
    down({stepX(2), kSteps.v + 60}, buttonLeft | modShift);
    move({stepX(2), kSteps.v + 51}, buttonLeft | modShift);
    EXPECT_FLOAT_EQ(plugin().getStepValue(2), 0.5f + 9.0f / 900.0f);
    up(onSlider);

    // The wheel: one shown unit per notch (a tenth with Shift); elsewhere it goes to the host.
    const struct {
        const char* what;
        Point at;
        float notches;
        int32_t buttons;
        float before;
        float after;
        bool forwarded;
    } wheels[] = {
        {"slider up", onSlider, 1.0f, 0, 0.5f, 0.51f, false},
        {"slider down with Shift", onSlider, -2.0f, modShift, 0.5f, 0.498f, false},
        {"slider at the top", onSlider, 3.0f, 0, 0.995f, 1.0f, false},
        {"threshold", kMeter, 9.0f, 0, 0.5f, 0.6f, false},
        {"step", onStep, -1.0f, 0, 0.5f, 0.4375f, false},
        {"the MIDI panel", centre(MidiModePanel::switchRects[0], kMidi), 1.0f, 0, 0.5f, 0.5f, true},
        {"the background", {5, 5}, 1.0f, 0, 0.5f, 0.5f, true},
    };
    for (const auto& w : wheels) {
        SCOPED_TRACE(w.what);
        plugin().setProgramValue(0, w.before);
        plugin().setThreshold(w.before);
        plugin().setStepValue(5, w.before);
        const int32_t forwarded = headless::forwardedWheels(window());
        headless::postWheel(window(), w.at, w.notches, w.buttons);
        idle();
        const float now = w.at == kMeter ? plugin().getThreshold()
                          : w.at == onStep ? plugin().getStepValue(5)
                                           : plugin().getProgramValue(0);
        EXPECT_NEAR(now, w.after, 1e-6f);
        EXPECT_EQ(headless::forwardedWheels(window()) - forwarded, w.forwarded ? 1 : 0);
    }
}

TEST_F(DragEvents, ClosesAndDestroyedWindowsDuringAHeldDrag) {
    const std::string slider0 = std::to_string(parameterOfSlot(0));
    const Point onSlider{sliderX(0), kSliders.v + 50};
    const struct {
        const char* what;
        bool fromTheEdit;  // else between two events, as a host's idle does
        bool reopen;
    } cases[] = {{"closed between events", false, false},
                 {"closed and reopened between events", false, true},
                 {"closed by the host on the edit", true, false},
                 {"closed and reopened by the host on the edit", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sink.log.clear();
        if (c.fromTheEdit) {
            sink.onEdit = [&] {
                sink.onEdit = nullptr;
                dispatch(effEditClose);
                if (c.reopen) open();
            };
        }
        down(onSlider);
        if (!c.fromTheEdit) {
            dispatch(effEditClose);
            if (c.reopen) open();
        }
        idle();
        // A window taken back keeps its drag to the release; the edit is over either way.
        if (editor()->getFrame() != nullptr && frame()->isDragging()) up(onSlider);
        ASSERT_EQ(sink.log.size(), 3u);
        EXPECT_EQ(sink.log.front(), "b" + slider0);
        EXPECT_EQ(sink.log.back(), "e" + slider0);
        if (c.reopen) {
            ASSERT_NE(editor()->getFrame(), nullptr);
            EXPECT_TRUE(headless::isVisible(frame()->getWindow()));
            EXPECT_EQ(frame()->viewCount(), 6);
            // Drawn: the slider bank's trough, not the window's erase colour.
            EXPECT_EQ(pixel(kSliders.h + 6, kSliders.v + 8), (Color{200, 200, 220, 0}));
        } else {
            EXPECT_EQ(editor()->getFrame(), nullptr);
            open();
            idle();
        }
    }
    // The host's window destroyed under a held drag: the drag ends, its edit too.
    sink.log.clear();
    down(onSlider);
    headless::destroyHostWindow(hostWindow);
    hostWindow = nullptr;
    idle();
    EXPECT_FALSE(frame()->isOpen());
    EXPECT_FALSE(frame()->isDragging());
    ASSERT_EQ(sink.log.size(), 3u);
    EXPECT_EQ(sink.log.back(), "e" + slider0);
}

}  // namespace
