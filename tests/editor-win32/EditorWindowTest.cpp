// The editor's window in a host window: open, idle, close and reopen, the help picture with real
// clicks, a thousand openings, and a host that destroys its window first.
#include <functional>
#include <cstdio>

#include "EditorLayout.h"
#include "Gesture.h"
#include "LoadedEditor.h"

namespace {

using EditorWindow = EditorHost;

// Under Wine a GDI handle's low word indexes its table and a handle without a high word is
// accepted, so probing every index counts the process's live GDI objects. Elsewhere it finds none.
int32_t liveGdiObjects() {
    int32_t count = 0;
    for (uintptr_t index = 1; index < 0x10000; ++index) {
        count += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0 ? 1 : 0;
    }
    return count;
}

bool pluginClassRegistered() {
    char name[32];
    HMODULE module = GetModuleHandleA("brindleLoop.dll");
    std::snprintf(name, sizeof name, "Plugin%08x",
                  static_cast<unsigned>(reinterpret_cast<uintptr_t>(module)));
    WNDCLASSA info;
    return module != nullptr && GetClassInfoA(module, name, &info) != 0;
}

size_t differing(const WindowImage& a, const WindowImage& b) {
    size_t count = 0;
    for (size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i)
        count += a.pixels[i] != b.pixels[i] ? 1 : 0;
    return count;
}

TEST_F(EditorWindow, OpenIdleCloseAndReopen) {
    ERect* rect = nullptr;
    ASSERT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ((std::vector<int>{rect->top, rect->left, rect->bottom, rect->right}),
              (std::vector<int>{0, 0, 300, 525}));
    idle();  // before any open: nothing
    EXPECT_TRUE(pluginWindowsIn(hostWindow()).empty());
    HWND previous = nullptr;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(open(), 1);
        HWND window = editorWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_NE(window, previous);  // every opening builds a new window
        EXPECT_EQ(GetParent(window), hostWindow());
        EXPECT_TRUE(IsWindowVisible(window));
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, 525);
        EXPECT_EQ(client.bottom, 300);
        RECT onScreen{};
        GetWindowRect(window, &onScreen);
        EXPECT_EQ(onScreen.left, kEditorOnScreen.x);
        EXPECT_EQ(onScreen.top, kEditorOnScreen.y);
        pumpUntil([] { return true; });
        idle();
        idle();
        close();
        EXPECT_FALSE(IsWindow(window));
        EXPECT_TRUE(pluginWindowsIn(hostWindow()).empty());
        EXPECT_FALSE(pluginClassRegistered());
        idle();  // after close: nothing
        previous = window;
    }
}

TEST_F(EditorWindow, HelpPictureComesWithOneClickAndGoesWithTheNext) {
    openAndShow();
    const WindowImage panels = capture(editorWindow(), 525, 300);
    ASSERT_TRUE(click(layout::kHelpButton));
    const WindowImage help = capture(editorWindow(), 525, 300);
    EXPECT_GT(differing(help, panels), help.pixels.size() / 4);
    // The picture covers the whole window, not just the button.
    size_t changedRows = 0;
    for (int32_t y = 0; y < 300; y += 10) {
        for (int32_t x = 0; x < 525; ++x) {
            if (help.at(x, y) != panels.at(x, y)) {
                ++changedRows;
                break;
            }
        }
    }
    EXPECT_GE(changedRows, 28u);
    // While it is up the live views stay under it, whatever the host changes.
    setParameter(0, 1.0f);
    idle();
    EXPECT_EQ(differing(capture(editorWindow(), 525, 300), help), 0u);
    // The next click, here on the first slider, only hides it.
    ASSERT_TRUE(click(POINT{layout::sliderX(0), layout::kSliders.y + 99}));
    idle();
    EXPECT_FLOAT_EQ(parameter(0), 1.0f);
    const WindowImage back = capture(editorWindow(), 525, 300);
    EXPECT_LT(differing(back, panels), help.pixels.size() / 50);
    EXPECT_NE(back.at(layout::sliderX(0), layout::kSliders.y + 10),
              panels.at(layout::sliderX(0), layout::kSliders.y + 10));
}

TEST_F(EditorWindow, AThousandOpeningsLeaveNoWindowNorGdiObject) {
    openAndShow();  // the first opening may create what lives as long as the process
    close();
    const int32_t windows = threadWindowCount();
    const int32_t gdi = liveGdiObjects();
    if (gdi > 0) {  // the probe sees a new object
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        EXPECT_EQ(liveGdiObjects(), gdi + 1);
        DeleteObject(brush);
    }
    const DWORD gdiCount = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userCount = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(open(), 1) << i;
        idle();
        close();
    }
    pumpUntil([] { return true; });
    EXPECT_EQ(threadWindowCount(), windows);
    EXPECT_TRUE(pluginWindowsIn(hostWindow()).empty());
    EXPECT_EQ(liveGdiObjects(), gdi);
    std::printf(
        "1000 openings: thread windows %d -> %d; GDI objects (handle probe) %d -> %d; "
        "GetGuiResources GDI %lu -> %lu, USER %lu -> %lu\n",
        windows, threadWindowCount(), gdi, liveGdiObjects(), static_cast<unsigned long>(gdiCount),
        static_cast<unsigned long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)),
        static_cast<unsigned long>(userCount),
        static_cast<unsigned long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)));
    // Where GetGuiResources answers (real Windows), it must agree.
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiCount);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userCount);
}

namespace {

// Holds a drag on slider 0 (from its bottom up) while the test's thread runs the host's loop;
// the host acts once, between two events of the drag, when the press has set the slider.
void holdDragAndAct(EditorHost& host, const std::function<void()>& act, const std::function<float()>& value) {
    const int32_t x = layout::sliderX(0);
    HeldDrag drag{{POINT{kEditorOnScreen.x + x, kEditorOnScreen.y + 109},
                   POINT{kEditorOnScreen.x + x, kEditorOnScreen.y + 60},
                   POINT{kEditorOnScreen.x + x, kEditorOnScreen.y + 15}},
                  1200};
    HANDLE thread = drag.start();
    ASSERT_NE(thread, nullptr);
    bool acted = false;
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(thread, 0) != WAIT_OBJECT_0 && GetTickCount() - start < 10000) {
        pumpUntil([] { return true; });
        if (!acted && value() == 0.0f) {
            act();
            acted = true;
        }
        host.idleOnce();
        Sleep(10);
    }
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    pumpUntil([] { return true; });
    EXPECT_TRUE(acted);
}

}  // namespace

TEST_F(EditorWindow, AHostThatDestroysItsWindowBeforeClosing) {
    // Between two idle calls, and between two events of a held drag.
    for (bool duringDrag : {false, true}) {
        SCOPED_TRACE(duringDrag ? "during a drag" : "between idle calls");
        HWND parent = makeTopLevelWindow();
        ASSERT_EQ(open(parent), 1);
        ASSERT_EQ(pluginWindowsIn(parent).size(), 1u);
        pumpUntil([] { return true; });
        idle();
        if (duringDrag) {
            setParameter(0, 0.5f);
            holdDragAndAct(*this, [parent] { DestroyWindow(parent); }, [this] { return parameter(0); });
            EXPECT_FALSE(IsWindow(parent));
            // The drag ended with the window, after its press.
            EXPECT_FLOAT_EQ(parameter(0), 0.0f);
        } else {
            DestroyWindow(parent);
        }
        idle();
        idle();
        close();
        EXPECT_FALSE(pluginClassRegistered());
    }
    // The effect goes on: a new window opens and draws.
    openAndShow();
    EXPECT_EQ(pixel(layout::kSteps.x + 6, layout::kSteps.y + 6), layout::kCurrentStep);
}

TEST_F(EditorWindow, AHostThatClosesOrReopensTheEditorDuringAHeldDrag) {
    for (bool reopen : {false, true}) {
        SCOPED_TRACE(reopen ? "closed and opened again" : "closed");
        openAndShow();
        HWND window = editorWindow();
        setParameter(0, 0.5f);
        holdDragAndAct(
            *this,
            [&] {
                close();
                if (reopen) open();
            },
            [this] { return parameter(0); });
        // The drag ended with the window that had it.
        EXPECT_FLOAT_EQ(parameter(0), 0.0f);
        idle();
        EXPECT_FALSE(IsWindow(window));
        if (reopen) {
            // The new window shows the editor, not an empty frame.
            ASSERT_EQ(pluginWindowsIn(hostWindow()).size(), 1u);
            EXPECT_TRUE(IsWindowVisible(editorWindow()));
            pumpUntil([] { return true; });
            idle();
            EXPECT_EQ(pixel(layout::kSteps.x + 6, layout::kSteps.y + 6), layout::kCurrentStep);
            close();
        }
        EXPECT_TRUE(pluginWindowsIn(hostWindow()).empty());
    }
    openAndShow();
    EXPECT_EQ(pixel(layout::kSteps.x + 6, layout::kSteps.y + 6), layout::kCurrentStep);
}

}  // namespace
