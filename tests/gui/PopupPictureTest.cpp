// PopupPicture: opening as the modal view, closing, the left-button rule and the listener.
#include "GuiTestSupport.h"
#include "gui/Bitmap.h"
#include "gui/PopupPicture.h"

namespace {

class CountingListener : public ControlListener {
public:
    void valueChanged(DrawContext* /*context*/, Control* control) override {
        ++calls;
        lastValue = control->getValue();
    }
    int calls = 0;
    float lastValue = -1.0f;
};

class PopupPictureTest : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        host = headless::createHostWindow(0, 0, 600, 400);
        frame = new Frame(Rect{0, 0, 525, 300}, host, nullptr);
        frame->idleRedraw();  // first paint
        help = new Bitmap(133);
        under = new RecordingView(Rect{0, 0, 100, 100}, &log, "under");
        frame->addView(under);
        popup =
            new PopupPicture(Rect{370, 210, 495, 233}, &listener, 0, help, Rect{0, 0, 525, 300}, Point{0, 0});
        help->release();  // the control holds it now
        frame->addView(popup);
    }
    void TearDown() override {
        delete frame;
        headless::destroyHostWindow(host);
    }
    void click(Point where, int32_t buttons) {
        headless::setPointer(where, buttons);
        headless::postButtonPress(frame->getWindow(), where, buttons);
        headless::postButtonRelease(frame->getWindow(), where);
        frame->idleRedraw();
        headless::setPointer(where, 0);
    }

    void* host = nullptr;
    Frame* frame = nullptr;
    Bitmap* help = nullptr;
    std::vector<std::string> log;
    RecordingView* under = nullptr;
    PopupPicture* popup = nullptr;
    CountingListener listener;
};

TEST_F(PopupPictureTest, OpensOverTheWholeWindowAndClosesWithTheNextClick) {
    EXPECT_EQ(help->refCount(), 1);
    EXPECT_EQ(popup->getBackground(), help);

    click(Point{380, 220}, buttonRight);  // only the left button opens it
    EXPECT_EQ(popup->getValue(), 0.0f);
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_EQ(listener.calls, 0);

    click(Point{495, 233}, buttonLeft);  // bottom-right corner of the button
    EXPECT_EQ(popup->getValue(), 1.0f);
    EXPECT_EQ(frame->getModalView(), popup);
    EXPECT_EQ(popup->getSize(), (Rect{0, 0, 525, 300}));
    EXPECT_EQ(popup->getSavedRect(), (Rect{370, 210, 495, 233}));
    EXPECT_EQ(listener.calls, 1);
    EXPECT_EQ(listener.lastValue, 1.0f);
    // The help page is on the screen: its border and its paper.
    EXPECT_EQ(headless::pixel(frame->getWindow(), 0, 150), (Color{63, 88, 160, 0}));
    EXPECT_EQ(headless::pixel(frame->getWindow(), 520, 295), (Color{250, 242, 222, 0}));

    // Clicks reach only the picture: the view below hears nothing; any click inside closes it.
    const int drawsBefore = under->draws;
    click(Point{50, 50}, buttonLeft);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(popup->getValue(), 0.0f);
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_EQ(popup->getSize(), (Rect{370, 210, 495, 233}));
    EXPECT_EQ(listener.calls, 2);
    EXPECT_GT(under->draws, drawsBefore);  // the whole Frame was redrawn
    EXPECT_EQ(headless::pixel(frame->getWindow(), 50, 50), colorGreen);
}

TEST_F(PopupPictureTest, ClosedItDrawsNothingAndDisabledItIgnoresClicks) {
    Canvas canvas(600, 400, Color{1, 2, 3, 0});
    popup->draw(canvas.ctx());
    EXPECT_EQ(canvas.inkBox(Color{1, 2, 3, 0}).right, -1);
    EXPECT_FALSE(popup->isDirty());

    popup->setMouseEnabled(false);
    headless::setPointer(Point{380, 220}, buttonLeft);
    Point where{380, 220};
    popup->mouse(canvas.ctx(), where);
    EXPECT_EQ(popup->getValue(), 0.0f);
}

TEST_F(PopupPictureTest, WithoutAFrameOrWithAnotherModalViewItStaysClosed) {
    RecordingView other(Rect{}, nullptr, "other");
    frame->setModalView(&other);
    Canvas canvas(10, 10);
    headless::setPointer(Point{380, 220}, buttonLeft);
    Point where{380, 220};
    popup->mouse(canvas.ctx(), where);
    EXPECT_EQ(popup->getValue(), 0.0f);
    EXPECT_EQ(popup->getSize(), (Rect{370, 210, 495, 233}));
    EXPECT_EQ(listener.calls, 0);
    EXPECT_TRUE(popup->isDirty());
    frame->setModalView(nullptr);

    PopupPicture lonely(Rect{0, 0, 10, 10}, &listener, 0, nullptr, Rect{0, 0, 50, 50});
    lonely.mouse(canvas.ctx(), where);
    lonely.mouse(canvas.ctx(), where);
    EXPECT_EQ(lonely.getSize(), (Rect{0, 0, 10, 10}));
    EXPECT_EQ(listener.calls, 0);
    headless::setPointer(Point{0, 0}, 0);
}

}  // namespace
