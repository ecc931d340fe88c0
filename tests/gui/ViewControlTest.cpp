// Views and controls: dirty rules, hit tests, references and the background bitmap.
#include "GuiTestSupport.h"
#include "gui/Bitmap.h"

namespace {

class ViewControlTest : public HeadlessTest {};

TEST_F(ViewControlTest, ControlDirtyRulesFollowTheDrawnValue) {
    PlainControl control(Rect{0, 0, 10, 10});
    EXPECT_TRUE(control.isDirty());  // drawn 1.0, value 0.0
    EXPECT_EQ(control.getDrawnValue(), 1.0f);
    control.setDirty(false);
    EXPECT_FALSE(control.isDirty());
    EXPECT_EQ(control.getDrawnValue(), 0.0f);
    control.setValue(0.7f);
    EXPECT_TRUE(control.isDirty());
    Canvas canvas(4, 4);
    control.update(canvas.ctx());
    EXPECT_EQ(control.draws, 1);
    EXPECT_FALSE(control.isDirty());
    control.update(canvas.ctx());
    EXPECT_EQ(control.draws, 1);  // clean: skipped

    control.setDirty(true);
    EXPECT_EQ(control.getDrawnValue(), -1.0f);
    control.setValue(-1.0f);
    control.setDirty(true);
    EXPECT_EQ(control.getDrawnValue(), 0.0f);
    // Clearing only the flag leaves it dirty: the drawn value still differs.
    control.View::setDirty(false);
    EXPECT_TRUE(control.isDirty());

    // A plain view has only its flag.
    View view(Rect{0, 0, 5, 5});
    EXPECT_FALSE(view.isDirty());
    view.setSize(Rect{1, 1, 6, 6});
    EXPECT_TRUE(view.isDirty());
    EXPECT_EQ(view.getSize(), (Rect{1, 1, 6, 6}));
}

TEST_F(ViewControlTest, ValuesAreStoredAsGivenAndClampedOnlyOnRequest) {
    PlainControl control(Rect{0, 0, 10, 10});
    EXPECT_EQ(control.getDefaultValue(), 0.5f);
    EXPECT_EQ(control.getMin(), 0.0f);
    EXPECT_EQ(control.getMax(), 1.0f);
    EXPECT_EQ(control.getWheelStep(), 0.1f);
    EXPECT_EQ(control.getTag(), 7);
    const struct {
        float value, expected;
    } cases[] = {{2.0f, 1.0f}, {-0.5f, 0.0f}, {0.25f, 0.25f}, {1.0f, 1.0f}, {0.0f, 0.0f}};
    for (const auto& c : cases) {
        control.setValue(c.value);
        EXPECT_EQ(control.getValue(), c.value);  // setValue never clamps
        control.clampValue();
        EXPECT_EQ(control.getValue(), c.expected) << c.value;
    }
    control.setMin(0.2f);
    control.setMax(0.4f);
    control.setValue(0.1f);
    control.clampValue();
    EXPECT_EQ(control.getValue(), 0.2f);
}

TEST_F(ViewControlTest, HitTestsIncludeAllFourEdges) {
    View view(Rect{10, 20, 30, 40});
    const struct {
        Point p;
        bool inside;
    } points[] = {{{10, 20}, true}, {{30, 40}, true},  {{30, 20}, true},  {{10, 40}, true}, {{20, 30}, true},
                  {{9, 30}, false}, {{31, 30}, false}, {{20, 19}, false}, {{20, 41}, false}};
    for (const auto& c : points) {
        EXPECT_EQ(view.containsPoint(c.p), c.inside) << c.p.h << "," << c.p.v;
    }
    const struct {
        Rect r;
        bool meets;
    } rects[] = {{{30, 40, 50, 60}, true}, {{0, 0, 10, 20}, true},    {{31, 20, 50, 40}, false},
                 {{0, 0, 9, 50}, false},   {{10, 41, 30, 50}, false}, {{0, 0, 100, 100}, true},
                 {{15, 25, 16, 26}, true}};
    for (const auto& c : rects) {
        EXPECT_EQ(view.intersects(c.r), c.meets) << c.r.left << "," << c.r.top;
    }
    Rect area;
    view.getMouseArea(area);
    EXPECT_EQ(area, (Rect{10, 20, 30, 40}));
    view.setMouseArea(Rect{1, 2, 3, 4});
    view.getMouseArea(area);
    EXPECT_EQ(area, (Rect{1, 2, 3, 4}));
    EXPECT_TRUE(view.containsPoint(Point{30, 40}));  // the mouse area decides nothing
}

TEST_F(ViewControlTest, ReleaseDestroysAtZeroOnly) {
    std::vector<std::string> log;
    auto* view = new RecordingView(Rect{}, &log, "v");
    view->addRef();
    EXPECT_EQ(view->refCount(), 2);
    view->release();
    EXPECT_EQ(view->refCount(), 1);
    EXPECT_TRUE(log.empty());
    view->release();
    EXPECT_EQ(log, (std::vector<std::string>{"v.destroyed"}));
}

// Counts already at zero or below: release must neither delete (these live on the stack) nor count.
class CountedView : public View {
public:
    explicit CountedView(int32_t count) : View(Rect{}) { referenceCount = count; }
};

class CountedBitmap : public Bitmap {
public:
    explicit CountedBitmap(int32_t count) : Bitmap(nullptr, 2, 2) { referenceCount = count; }
};

TEST_F(ViewControlTest, ReleaseAtZeroOrBelowDoesNothing) {
    for (int32_t count : {0, -3}) {
        CountedView view(count);
        view.release();
        EXPECT_EQ(view.refCount(), count);
        CountedBitmap bitmap(count);
        bitmap.release();
        EXPECT_EQ(bitmap.refCount(), count);
    }
}

TEST_F(ViewControlTest, ControlsHoldOneReferenceToTheirBackground) {
    auto* first = new Bitmap(nullptr, 4, 4);
    auto* second = new Bitmap(nullptr, 4, 4);
    {
        PlainControl control(Rect{0, 0, 4, 4}, first);
        EXPECT_EQ(first->refCount(), 2);
        control.setBackground(first);  // the same one again changes nothing
        EXPECT_EQ(first->refCount(), 2);
        control.setBackground(second);
        EXPECT_EQ(first->refCount(), 1);
        EXPECT_EQ(second->refCount(), 2);
        EXPECT_EQ(control.getBackground(), second);
        control.setBackground(nullptr);
        EXPECT_EQ(second->refCount(), 1);
        EXPECT_EQ(control.getBackground(), nullptr);
        control.setBackground(second);
    }
    EXPECT_EQ(second->refCount(), 1);  // dropped by the destructor
    first->release();
    second->release();
}

}  // namespace
