// The Frame: view list, mouse, key, drop and wheel dispatch, modal view, idle redraw, window.
#include "GuiTestSupport.h"
#include "gui/Bitmap.h"
#include "gui/FrameOwner.h"
#include "gui/PaintPump.h"
#include "gui/x11/WindowSystem.h"
#include "gui/KeyStroke.h"

namespace {

class CountingOwner : public FrameOwner {
public:
    void pumpIdle() override { ++pumps; }
    int pumps = 0;
};

// Counts update calls, so idle passes can be seen even when nothing is drawn.
class UpdateCountingView : public RecordingView {
public:
    using RecordingView::RecordingView;
    void update(DrawContext* context) override {
        ++updates;
        RecordingView::update(context);
    }
    int updates = 0;
};

class FrameTest : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        host = headless::createHostWindow(40, 30, 800, 600);
        frame = new Frame(Rect{0, 0, 200, 100}, host, &owner);
    }
    void TearDown() override {
        delete frame;
        headless::destroyHostWindow(host);
    }
    RecordingView* add(const Rect& rect, const std::string& name, Color color = colorGreen) {
        auto* view = new RecordingView(rect, &log, name, color);
        EXPECT_TRUE(frame->addView(view));
        return view;
    }
    // Clicks at a window point the way the X server reports it, handled at the next idle.
    void clickAt(Point where, int32_t buttons = buttonLeft) {
        headless::setPointer(Point{40 + where.h, 30 + where.v}, buttons);
        headless::postButtonPress(frame->getWindow(), where, buttons);
        headless::postButtonRelease(frame->getWindow(), where);
        frame->idleRedraw();
        headless::setPointer(Point{40 + where.h, 30 + where.v}, 0);
    }
    Color screen(int32_t x, int32_t y) { return headless::pixel(frame->getWindow(), x, y); }

    void* host = nullptr;
    CountingOwner owner;
    Frame* frame = nullptr;
    std::vector<std::string> log;
};

TEST_F(FrameTest, ClicksReachTheTopMostMouseEnabledView) {
    RecordingView* below = add(Rect{0, 0, 50, 50}, "below");
    RecordingView* above = add(Rect{25, 25, 75, 75}, "above");
    clickAt(Point{30, 30});
    EXPECT_EQ(log, (std::vector<std::string>{"above.mouse"}));
    EXPECT_EQ(above->lastClick, (Point{30, 30}));

    above->setMouseEnabled(false);
    log.clear();
    clickAt(Point{50, 50});  // right and bottom edge of the lower view
    EXPECT_EQ(log, (std::vector<std::string>{"below.mouse"}));
    EXPECT_EQ(below->lastClick, (Point{50, 50}));

    log.clear();
    clickAt(Point{60, 60});  // only the disabled view is there
    clickAt(Point{150, 90});
    EXPECT_TRUE(log.empty());

    // Direct dispatch follows the same rules.
    above->setMouseEnabled(true);
    Canvas canvas(4, 4);
    Point where{75, 75};
    frame->mouse(canvas.ctx(), where);
    EXPECT_EQ(log, (std::vector<std::string>{"above.mouse"}));
}

TEST_F(FrameTest, AModalViewTakesEveryClickInsideItAndNothingElseGetsOne) {
    add(Rect{0, 0, 200, 100}, "base");
    auto* modal = new UpdateCountingView(Rect{10, 10, 40, 40}, &log, "modal");
    auto* other = new RecordingView(Rect{0, 0, 5, 5}, &log, "other");
    EXPECT_EQ(frame->setModalView(modal), 1);
    EXPECT_EQ(modal->attached, 1);
    EXPECT_EQ(frame->setModalView(other), 0);
    EXPECT_EQ(frame->getModalView(), modal);
    EXPECT_EQ(other->attached, 0);

    clickAt(Point{100, 80});
    EXPECT_TRUE(log.empty());
    clickAt(Point{40, 40});
    EXPECT_EQ(log, (std::vector<std::string>{"modal.mouse"}));

    // Idle passes reach the modal view's update every time, and only it.
    frame->idleRedraw();  // first paint
    const int before = modal->updates;
    frame->idleRedraw();
    frame->idleRedraw();
    EXPECT_EQ(modal->updates, before + 2);
    EXPECT_TRUE(frame->anythingDirty());

    EXPECT_EQ(frame->setModalView(nullptr), 1);
    EXPECT_EQ(modal->detached, 1);
    EXPECT_EQ(frame->setModalView(nullptr), 1);
    EXPECT_EQ(frame->setModalView(other), 1);
    EXPECT_EQ(frame->setModalView(nullptr), 1);
    modal->release();
    other->release();
}

TEST_F(FrameTest, IdleRedrawWaitsForTheFirstPaintAndStopsWhenTheWindowIsGone) {
    RecordingView* view = add(Rect{10, 10, 30, 30}, "view");
    view->setDirty(true);
    headless::discardEvents(frame->getWindow());  // the window has not been painted yet
    frame->idleRedraw();
    EXPECT_EQ(view->draws, 0);
    EXPECT_TRUE(frame->isFirstDrawPending());

    headless::postExpose(frame->getWindow(), Rect{0, 0, 200, 100});
    frame->idleRedraw();
    EXPECT_FALSE(frame->isFirstDrawPending());
    EXPECT_EQ(view->draws, 2);  // the paint, then the dirty view
    EXPECT_FALSE(view->isDirty());
    EXPECT_EQ(screen(15, 15), colorGreen);

    frame->idleRedraw();
    EXPECT_EQ(view->draws, 2);  // nothing dirty: nothing drawn
    view->setDirty(true);
    frame->idleRedraw();
    EXPECT_EQ(view->draws, 3);

    headless::destroyHostWindow(host);
    host = nullptr;
    view->setDirty(true);
    frame->idleRedraw();
    EXPECT_FALSE(frame->isOpen());
    EXPECT_EQ(frame->getParentWindow(), nullptr);
    EXPECT_EQ(view->draws, 3);
    Canvas canvas(4, 4);
    frame->update(canvas.ctx());
    EXPECT_EQ(view->draws, 3);
    frame->redrawView(nullptr);  // no device context for a destroyed window
    EXPECT_EQ(view->draws, 3);
}

TEST_F(FrameTest, PaintsDrawTheBackgroundAndOnlyTheViewsThatMeetTheArea) {
    auto* background = new Bitmap(128);
    frame->setBackground(background);
    EXPECT_EQ(background->refCount(), 2);
    background->release();
    RecordingView* left = add(Rect{10, 10, 30, 30}, "left");
    RecordingView* right = add(Rect{150, 10, 170, 30}, "right", colorBlue);
    headless::discardEvents(frame->getWindow());
    headless::postExpose(frame->getWindow(), Rect{0, 0, 100, 100});
    frame->idleRedraw();
    EXPECT_EQ(left->draws, 1);
    EXPECT_EQ(right->draws, 0);                         // outside the painted area
    EXPECT_EQ(screen(0, 50), (Color{63, 88, 160, 0}));  // background border, in the area
    EXPECT_EQ(screen(199, 50), x11port::kEraseColor);   // outside the area: only erased
    EXPECT_EQ(screen(20, 20), colorGreen);
}

TEST_F(FrameTest, UpdateDrawsEverythingWhenTheFrameIsDirtyOtherwiseOnlyDirtyViews) {
    RecordingView* a = add(Rect{0, 0, 10, 10}, "a");
    RecordingView* b = add(Rect{20, 0, 30, 10}, "b");
    Canvas canvas(4, 4);
    b->setDirty(true);
    frame->update(canvas.ctx());
    EXPECT_EQ(a->draws, 0);
    EXPECT_EQ(b->draws, 1);
    frame->setDirty(true);
    EXPECT_TRUE(frame->anythingDirty());
    frame->update(canvas.ctx());
    EXPECT_EQ(a->draws, 1);
    EXPECT_EQ(b->draws, 2);
    EXPECT_FALSE(frame->isDirty());
    EXPECT_FALSE(frame->anythingDirty());
}

TEST_F(FrameTest, RedrawViewDrawsTheViewOrEverything) {
    RecordingView* a = add(Rect{0, 0, 10, 10}, "a");
    RecordingView* b = add(Rect{20, 0, 30, 10}, "b");
    RecordingView stranger(Rect{0, 0, 1, 1}, nullptr, "stranger");
    frame->redrawView(b);
    EXPECT_EQ(a->draws, 0);
    EXPECT_EQ(b->draws, 1);
    frame->redrawView(&stranger);
    EXPECT_EQ(a->draws, 1);
    EXPECT_EQ(b->draws, 2);
    EXPECT_EQ(stranger.draws, 0);
    frame->redrawView(nullptr);
    EXPECT_EQ(a->draws, 2);
    EXPECT_FALSE(frame->isFirstDrawPending());
}

TEST_F(FrameTest, KeysGoToTheModalViewThenTopDownWhateverTheMouseState) {
    RecordingView* a = add(Rect{0, 0, 10, 10}, "a");
    RecordingView* b = add(Rect{0, 0, 10, 10}, "b");
    KeyStroke key{};
    EXPECT_EQ(frame->onKeyDown(key), -1);
    a->keyAnswer = 5;
    EXPECT_EQ(frame->onKeyDown(key), 5);
    EXPECT_EQ(frame->onKeyUp(key), 105);
    b->keyAnswer = 0;
    b->setMouseEnabled(false);
    EXPECT_EQ(frame->onKeyDown(key), 0);
    RecordingView modal(Rect{}, nullptr, "modal");
    modal.keyAnswer = 9;
    frame->setModalView(&modal);
    EXPECT_EQ(frame->onKeyDown(key), 9);
    modal.keyAnswer = -1;
    EXPECT_EQ(frame->onKeyDown(key), 0);
    frame->setModalView(nullptr);
}

TEST_F(FrameTest, DropsGoTopDownToMouseEnabledViewsUnderThePoint) {
    RecordingView* a = add(Rect{0, 0, 50, 50}, "a");
    RecordingView* b = add(Rect{0, 0, 50, 50}, "b");
    Point where{50, 50};
    a->dropAnswer = true;
    EXPECT_TRUE(frame->onDrop(nullptr, 0, dropFiles, where));
    EXPECT_EQ(b->drops, 1);  // asked first, said no
    EXPECT_EQ(a->drops, 1);
    b->setMouseEnabled(false);
    EXPECT_TRUE(frame->onDrop(nullptr, 0, dropFiles, where));
    EXPECT_EQ(b->drops, 1);
    Point outside{51, 10};
    EXPECT_FALSE(frame->onDrop(nullptr, 0, dropData, outside));
    RecordingView modal(Rect{}, nullptr, "modal");
    frame->setModalView(&modal);
    EXPECT_FALSE(frame->onDrop(nullptr, 0, dropFiles, where));
    EXPECT_EQ(a->drops, 2);
    frame->setModalView(nullptr);
}

TEST_F(FrameTest, TheWheelGoesToTheViewUnderThePointer) {
    RecordingView* a = add(Rect{0, 0, 50, 50}, "a");
    RecordingView* b = add(Rect{40, 40, 90, 90}, "b");
    b->setMouseEnabled(false);  // not considered for the wheel
    headless::setPointer(Point{40 + 45, 30 + 45}, 0);
    EXPECT_EQ(frame->viewUnderMouse(), b);
    EXPECT_TRUE(frame->onWheel(nullptr, Point{0, 0}, -2.5f));
    EXPECT_EQ(b->wheels, 1);
    EXPECT_EQ(b->lastWheel, (Point{45, 45}));  // the pointer, not the point given
    EXPECT_EQ(b->wheelDistance, -2.5f);
    EXPECT_NE(b->wheelContext, nullptr);
    Canvas canvas(4, 4);
    headless::setPointer(Point{40 + 10, 30 + 10}, 0);
    EXPECT_TRUE(frame->onWheel(canvas.ctx(), Point{0, 0}, 1.0f));
    EXPECT_EQ(a->wheelContext, canvas.ctx());
    headless::setPointer(Point{40 + 150, 30 + 10}, 0);
    EXPECT_EQ(frame->viewUnderMouse(), nullptr);
    EXPECT_FALSE(frame->onWheel(nullptr, Point{0, 0}, 1.0f));
}

TEST_F(FrameTest, TheViewListGrowsKeepsOrderAndReleasesWhatItOwns) {
    std::vector<RecordingView*> views;
    for (int i = 0; i < 25; ++i) {
        views.push_back(add(Rect{i, 0, i + 1, 1}, "v" + std::to_string(i)));
        EXPECT_EQ(views.back()->getFrame(), frame);
        EXPECT_EQ(views.back()->attached, 1);
    }
    EXPECT_EQ(frame->viewCount(), 25);
    EXPECT_EQ(frame->viewAt(24), views[24]);
    EXPECT_EQ(frame->viewAt(25), nullptr);
    EXPECT_EQ(frame->viewAt(-1), nullptr);
    EXPECT_FALSE(frame->addView(nullptr));

    views[3]->addRef();
    EXPECT_TRUE(frame->removeView(views[3], true));
    EXPECT_EQ(views[3]->refCount(), 1);
    EXPECT_EQ(views[3]->detached, 1);
    EXPECT_FALSE(frame->hasView(views[3]));
    EXPECT_EQ(frame->viewAt(3), views[4]);
    EXPECT_EQ(frame->viewCount(), 24);
    EXPECT_TRUE(frame->removeView(views[3], true));  // not there: nothing happens
    EXPECT_EQ(views[3]->refCount(), 1);
    views[3]->release();

    EXPECT_TRUE(frame->removeView(views[5], false));
    EXPECT_EQ(views[5]->refCount(), 1);
    views[5]->release();

    log.clear();
    delete frame;
    frame = nullptr;
    EXPECT_EQ(log.size(), 23u);  // every remaining view released and destroyed
    frame = new Frame(Rect{0, 0, 10, 10}, host, nullptr);
}

TEST_F(FrameTest, FramesShareTheWindowSystemUntilTheLastIsGone) {
    const int32_t windows = headless::childWindowCount();
    auto* second = new Frame(Rect{0, 0, 20, 20}, host, nullptr);
    EXPECT_EQ(headless::childWindowCount(), windows + 1);
    EXPECT_NE(second->getWindow(), frame->getWindow());
    EXPECT_TRUE(second->isDropEnabled());
    delete second;
    EXPECT_EQ(headless::childWindowCount(), windows);
    EXPECT_TRUE(headless::isWindow(frame->getWindow()));
    void* window = frame->getWindow();
    delete frame;
    frame = nullptr;
    EXPECT_FALSE(headless::isWindow(window));
    EXPECT_EQ(headless::childWindowCount(), windows - 1);
    frame = new Frame(Rect{0, 0, 10, 10}, host, nullptr);
}

TEST_F(FrameTest, WithoutAParentThereIsNoWindowAndNothingToDrawOn) {
    Frame orphan(Rect{0, 0, 10, 10}, nullptr, nullptr);
    EXPECT_EQ(orphan.getWindow(), nullptr);
    EXPECT_FALSE(orphan.createWindow(nullptr));
    EXPECT_FALSE(orphan.enableDrop(true));
    EXPECT_TRUE(orphan.enableDrop(false));
    auto* view = new RecordingView(Rect{0, 0, 5, 5}, nullptr, "v");
    orphan.addView(view);
    view->setDirty(true);
    orphan.idleRedraw();
    orphan.redrawView(nullptr);
    EXPECT_EQ(view->draws, 0);
    // An unknown parent handle is no window either.
    Frame stray(Rect{0, 0, 10, 10}, reinterpret_cast<void*>(uintptr_t{12345}), nullptr);
    EXPECT_EQ(stray.getWindow(), nullptr);
}

TEST_F(FrameTest, ControlsReachTheEditorsIdlePumpThroughTheirFrame) {
    auto* control = new PlainControl(Rect{0, 0, 5, 5});
    control->pumpIdle();
    EXPECT_EQ(owner.pumps, 0);
    frame->addView(control);
    EXPECT_EQ(control->getEditor(), &owner);
    control->pumpIdle();
    EXPECT_EQ(owner.pumps, 1);
    Frame noEditor(Rect{0, 0, 5, 5}, host, nullptr);
    auto* lonely = new PlainControl(Rect{0, 0, 5, 5});
    noEditor.addView(lonely);
    lonely->pumpIdle();
    EXPECT_EQ(owner.pumps, 1);
}

TEST_F(FrameTest, AnIdlePumpCanPaintOnePendingAreaButClicksWait) {
    RecordingView* view = add(Rect{10, 10, 30, 30}, "view");
    headless::discardEvents(frame->getWindow());
    EXPECT_FALSE(dispatchPendingPaint());
    headless::postButtonPress(frame->getWindow(), Point{20, 20});
    headless::postExpose(frame->getWindow(), Rect{0, 0, 50, 50});
    headless::postExpose(frame->getWindow(), Rect{100, 0, 150, 50});
    EXPECT_TRUE(dispatchPendingPaint());
    EXPECT_EQ(view->draws, 1);
    EXPECT_FALSE(frame->isFirstDrawPending());
    EXPECT_TRUE(log.empty());  // the press is still queued
    EXPECT_EQ(headless::pendingEvents(frame->getWindow()), 2);
    EXPECT_TRUE(dispatchPendingPaint());
    EXPECT_EQ(view->draws, 1);  // the second area does not meet the view
    EXPECT_FALSE(dispatchPendingPaint());
    frame->idleRedraw();
    EXPECT_EQ(log, (std::vector<std::string>{"view.mouse"}));
}

}  // namespace
