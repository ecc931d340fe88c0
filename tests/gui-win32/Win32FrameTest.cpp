// The Frame's window on Windows: the shared window class, the window procedure's paint, button
// and destroy handling, and a click synthesized with SendInput.
#include <cstdio>
#include <cstring>

#include "Win32TestSupport.h"
#include "gui/Bitmap.h"
#include "gui/PaintPump.h"
#include "gui/PopupPicture.h"
#include "gui/win32/Win32Frame.h"

namespace {

class Win32FrameTest : public Win32Test {};

bool classRegistered(const char* name) {
    WNDCLASSA info;
    return GetClassInfoA(GetModuleHandleA(nullptr), name, &info) != 0;
}

TEST_F(Win32FrameTest, TwoFramesShareOneClassUnregisteredWithTheLast) {
    HostWindow host(0, 0, 600, 400);
    auto* first = new Frame(Rect{0, 0, 100, 50}, host.get(), nullptr);
    ASSERT_NE(first->getWindow(), nullptr);
    char expected[32];
    std::snprintf(expected, sizeof expected, "Plugin%08x",
                  static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr))));
    EXPECT_STREQ(win32port::frameClassName(), expected);
    char actual[64] = "";
    GetClassNameA(static_cast<HWND>(first->getWindow()), actual, sizeof actual);
    EXPECT_STREQ(actual, expected);
    EXPECT_TRUE(classRegistered(expected));
    EXPECT_EQ(win32port::frameClassUsers(), 1);

    auto* second = new Frame(Rect{0, 0, 30, 30}, host.get(), nullptr);
    EXPECT_EQ(win32port::frameClassUsers(), 2);
    RECT rect;
    GetClientRect(static_cast<HWND>(second->getWindow()), &rect);
    EXPECT_EQ(rect.right, 30);
    EXPECT_EQ(rect.bottom, 30);
    EXPECT_EQ(GetParent(static_cast<HWND>(second->getWindow())), host.get());
    EXPECT_TRUE(IsWindowVisible(static_cast<HWND>(second->getWindow())));
    char title[32] = "";
    GetWindowTextA(static_cast<HWND>(second->getWindow()), title, sizeof title);
    EXPECT_STREQ(title, "Window");

    delete first;
    EXPECT_TRUE(classRegistered(expected));
    EXPECT_EQ(win32port::frameClassUsers(), 1);
    HWND secondWindow = static_cast<HWND>(second->getWindow());
    delete second;
    EXPECT_FALSE(IsWindow(secondWindow));
    EXPECT_FALSE(classRegistered(expected));
    EXPECT_EQ(win32port::frameClassUsers(), 0);

    // And again: the class comes back with the next Frame.
    Frame third(Rect{0, 0, 10, 10}, host.get(), nullptr);
    EXPECT_TRUE(classRegistered(expected));
}

TEST_F(Win32FrameTest, PaintMessagesDrawAndClearTheFirstDrawWait) {
    HostWindow host(50, 60, 600, 400);
    Frame frame(Rect{0, 0, 525, 300}, host.get(), nullptr);
    auto* background = new Bitmap(128);
    frame.setBackground(background);
    background->release();
    std::vector<std::string> log;
    auto* view = new RecordingView(Rect{20, 20, 60, 60}, &log, "view");
    frame.addView(view);
    view->setDirty(true);
    // Before the first paint, idle draws nothing.
    frame.idleRedraw();
    EXPECT_EQ(view->draws, 0);
    InvalidateRect(static_cast<HWND>(frame.getWindow()), nullptr, TRUE);
    ASSERT_TRUE(pumpUntil([&] { return !frame.isFirstDrawPending(); }));
    EXPECT_GE(view->draws, 1);
    frame.idleRedraw();
    EXPECT_FALSE(view->isDirty());
    HDC dc = GetDC(static_cast<HWND>(frame.getWindow()));
    EXPECT_EQ(fromRef(GetPixel(dc, 0, 150)), (Color{63, 88, 160, 0}));
    EXPECT_EQ(fromRef(GetPixel(dc, 200, 100)), (Color{255, 208, 116, 0}));
    EXPECT_EQ(fromRef(GetPixel(dc, 21, 21)), colorGreen);
    EXPECT_EQ(fromRef(GetPixel(dc, 59, 59)), colorGreen);
    EXPECT_EQ(fromRef(GetPixel(dc, 60, 60)), (Color{255, 208, 116, 0}));
    ReleaseDC(static_cast<HWND>(frame.getWindow()), dc);
}

TEST_F(Win32FrameTest, ASynthesizedClickReachesTheTopMostMouseEnabledView) {
    HostWindow host(100, 100, 400, 300);
    Frame frame(Rect{0, 0, 300, 200}, host.get(), nullptr);
    std::vector<std::string> log;
    auto* below = new RecordingView(Rect{0, 0, 100, 100}, &log, "below");
    auto* middle = new RecordingView(Rect{50, 50, 150, 150}, &log, "middle");
    auto* top = new RecordingView(Rect{60, 60, 70, 70}, &log, "top");
    frame.addView(below);
    frame.addView(middle);
    frame.addView(top);
    top->setMouseEnabled(false);
    pumpUntil([&] { return !frame.isFirstDrawPending(); });

    SetCursorPos(100 + 65, 100 + 65);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
    EXPECT_TRUE(pumpUntil([&] { return !log.empty(); }));
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
    pumpUntil([] { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0; });
    ASSERT_EQ(log, (std::vector<std::string>{"middle.mouse"}));
    EXPECT_EQ(middle->lastClick, (Point{65, 65}));
    EXPECT_TRUE((middle->buttonsSeen & buttonLeft) != 0) << middle->buttonsSeen;
    EXPECT_EQ(middle->pointerSeen, (Point{65, 65}));
    EXPECT_EQ(frame.viewUnderMouse(), top);
    Point location;
    frame.mouseLocation(location);
    EXPECT_EQ(location, (Point{65, 65}));
}

TEST_F(Win32FrameTest, TheHelpPictureOpensAndClosesWithRealClicks) {
    HostWindow host(0, 0, 600, 400);
    Frame frame(Rect{0, 0, 525, 300}, host.get(), nullptr);
    auto* help = new Bitmap(133);
    auto* popup = new PopupPicture(Rect{370, 210, 495, 233}, nullptr, 0, help, Rect{0, 0, 525, 300});
    help->release();
    frame.addView(popup);
    pumpUntil([&] { return !frame.isFirstDrawPending(); });
    auto click = [&](int x, int y) {
        SetCursorPos(x, y);
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        SendInput(1, &input, sizeof input);
        const float before = popup->getValue();
        pumpUntil([&] { return popup->getValue() != before; });
        input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(1, &input, sizeof input);
        pumpUntil([] { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0; });
    };
    click(400, 220);
    EXPECT_EQ(popup->getValue(), 1.0f);
    EXPECT_EQ(frame.getModalView(), popup);
    HDC dc = GetDC(static_cast<HWND>(frame.getWindow()));
    EXPECT_EQ(fromRef(GetPixel(dc, 520, 295)), (Color{250, 242, 222, 0}));
    ReleaseDC(static_cast<HWND>(frame.getWindow()), dc);
    click(20, 20);
    EXPECT_EQ(popup->getValue(), 0.0f);
    EXPECT_EQ(frame.getModalView(), nullptr);
    EXPECT_EQ(popup->getSize(), (Rect{370, 210, 495, 233}));
}

TEST_F(Win32FrameTest, DestroyingTheParentClosesTheFrame) {
    HostWindow host(0, 0, 300, 200);
    Frame frame(Rect{0, 0, 100, 100}, host.get(), nullptr);
    auto* view = new RecordingView(Rect{0, 0, 10, 10}, nullptr, "view");
    frame.addView(view);
    pumpUntil([&] { return !frame.isFirstDrawPending(); });
    ASSERT_TRUE(frame.isOpen());
    host.destroy();
    EXPECT_FALSE(frame.isOpen());
    EXPECT_EQ(frame.getParentWindow(), nullptr);
    const int draws = view->draws;
    view->setDirty(true);
    frame.idleRedraw();
    EXPECT_EQ(view->draws, draws);
}

TEST_F(Win32FrameTest, AnIdlePumpCanDispatchOnePendingPaint) {
    HostWindow host(0, 0, 300, 200);
    Frame frame(Rect{0, 0, 100, 100}, host.get(), nullptr);
    auto* view = new RecordingView(Rect{0, 0, 10, 10}, nullptr, "view");
    frame.addView(view);
    pumpUntil([&] { return !frame.isFirstDrawPending(); });
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
    const int draws = view->draws;
    InvalidateRect(static_cast<HWND>(frame.getWindow()), nullptr, FALSE);
    EXPECT_TRUE(dispatchPendingPaint());
    EXPECT_EQ(view->draws, draws + 1);
    EXPECT_FALSE(dispatchPendingPaint());
}

TEST_F(Win32FrameTest, WithoutAParentThereIsNoWindow) {
    Frame orphan(Rect{0, 0, 10, 10}, nullptr, nullptr);
    EXPECT_EQ(orphan.getWindow(), nullptr);
    EXPECT_FALSE(orphan.enableDrop(true));
    auto* view = new RecordingView(Rect{0, 0, 5, 5}, nullptr, "v");
    orphan.addView(view);
    view->setDirty(true);
    orphan.redrawView(nullptr);
    EXPECT_EQ(view->draws, 0);
}

}  // namespace

namespace {

// The class brush erases the window before the first paint draws anything: the system's button
// face. The Linux port erases with Windows' standard scheme's (240,240,240); Wine's own scheme
// has 245,245,245.
TEST_F(Win32FrameTest, TheWindowIsErasedWithTheButtonFace) {
    HostWindow host(0, 0, 300, 200);
    Frame frame(Rect{0, 0, 100, 100}, host.get(), nullptr);
    InvalidateRect(static_cast<HWND>(frame.getWindow()), nullptr, TRUE);
    ASSERT_TRUE(pumpUntil([&] { return !frame.isFirstDrawPending(); }));
    HDC dc = GetDC(static_cast<HWND>(frame.getWindow()));
    const Color erased = fromRef(GetPixel(dc, 50, 50));
    ReleaseDC(static_cast<HWND>(frame.getWindow()), dc);
    EXPECT_EQ(erased, fromRef(GetSysColor(COLOR_BTNFACE)));
    std::printf("button face %d,%d,%d\n", erased.red, erased.green, erased.blue);
}

}  // namespace

namespace {

// Logs the events of a drag as the Frame hands them on.
class DragView : public View {
public:
    explicit DragView(const Rect& area) : View(area) {}
    void onMouseDown(DrawContext*, const MouseEvent& event) override { add("down", event); }
    void onMouseMoved(DrawContext*, const MouseEvent& event) override { add("move", event); }
    void onMouseUp(DrawContext*, const MouseEvent& event) override { add("up", event); }
    void onMouseCancelled() override { log.push_back("cancel"); }
    bool onMouseWheel(DrawContext*, const MouseEvent& event, float distance) override {
        add(distance > 0 ? "wheel+" : "wheel-", event);
        return true;
    }
    void add(const char* what, const MouseEvent& event) {
        char text[64];
        std::snprintf(text, sizeof text, "%s %d,%d b%d c%d", what, static_cast<int>(event.where.h),
                      static_cast<int>(event.where.v), static_cast<int>(event.buttons),
                      static_cast<int>(event.clicks));
        log.push_back(text);
    }
    std::vector<std::string> log;
};

LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace

TEST_F(Win32FrameTest, ADragIsThePressTheMovesUnderCaptureAndTheRelease) {
    HostWindow host(0, 0, 600, 400);
    Frame frame(Rect{0, 0, 200, 100}, host.get(), nullptr);
    auto* view = new DragView(Rect{10, 10, 90, 90});
    frame.addView(view);
    auto* window = static_cast<HWND>(frame.getWindow());
    const struct {
        UINT message;
        WPARAM keys;
        LPARAM where;
    } drag[] = {{WM_LBUTTONDOWN, MK_LBUTTON, at(20, 30)},
                {WM_MOUSEMOVE, MK_LBUTTON, at(25, 35)},
                {WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, at(150, 95)},  // outside the view: still its
                {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, at(150, 95)},  // part of the drag
                {WM_RBUTTONUP, MK_LBUTTON, at(150, 95)},
                {WM_LBUTTONUP, 0, at(150, 95)},
                {WM_MOUSEMOVE, 0, at(30, 30)}};  // after the release: nobody's
    bool capturedDuring = true;
    for (const auto& m : drag) {
        SendMessageA(window, m.message, m.keys, m.where);
        if (m.keys != 0) capturedDuring = capturedDuring && GetCapture() == window;
    }
    EXPECT_TRUE(capturedDuring);
    EXPECT_EQ(GetCapture(), nullptr);
    const std::vector<std::string> expected = {"down 20,30 b1 c1", "move 25,35 b1 c1", "move 150,95 b9 c1",
                                               "up 150,95 b0 c1"};
    EXPECT_EQ(view->log, expected);
    // A second press soon after at the same place is a double-click; another window taking the
    // pointer mid-drag cancels it.
    view->log.clear();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at(20, 30));
    EXPECT_EQ(GetCapture(), window);
    SetCapture(host.get());
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, at(22, 30));
    ReleaseCapture();
    const std::vector<std::string> second = {"down 20,30 b1 c2", "cancel"};
    EXPECT_EQ(view->log, second);
    // The wheel over the view is its own, given in notches.
    view->log.clear();
    POINT screen{40, 40};
    ClientToScreen(window, &screen);
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM(screen.x, screen.y));
    const std::vector<std::string> wheel = {"wheel- 40,40 b8 c1"};
    EXPECT_EQ(view->log, wheel);
}
