// Drag and drop onto the Frame window: the OLE drop target the runtime holds for the window,
// what a drop passes to the views, shortcut resolution, and reference counts.
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "TestDataObject.h"
#include "Win32TestSupport.h"
#include "gui/win32/OleDropTarget.h"
#include "gui/win32/ShortcutResolution.h"

namespace {

// Records every drop that reaches it.
class DropView : public View {
public:
    explicit DropView(const Rect& rect) : View(rect) {}
    bool onDrop(void** items, int32_t count, int32_t type, Point& where) override {
        ++drops;
        lastType = type;
        lastCount = count;
        lastWhere = where;
        texts.clear();
        const int32_t strings = type == dropFiles ? count : 1;
        for (int32_t i = 0; i < strings; ++i) {
            texts.emplace_back(static_cast<const char*>(items[i]));
        }
        return true;
    }
    int drops = 0;
    int32_t lastType = -1;
    int32_t lastCount = -1;
    Point lastWhere;
    std::vector<std::string> texts;
};

// The target the OLE runtime keeps for a registered window (the window property OLE sets);
// none when the window has no registration.
IDropTarget* runtimeTarget(void* window) {
    return static_cast<IDropTarget*>(GetPropA(static_cast<HWND>(window), "OleDropTargetInterface"));
}

class DropTargetTest : public Win32Test {
protected:
    void SetUp() override {
        Win32Test::SetUp();
        host = std::make_unique<HostWindow>(100, 50, 600, 400);
        frame = new Frame(Rect{0, 0, 300, 200}, host->get(), nullptr);
        view = new DropView(Rect{0, 0, 300, 200});
        frame->addView(view);
    }
    void TearDown() override {
        delete frame;
        host.reset();
        EXPECT_EQ(win32port::liveDropTargets(), 0);
    }
    // Drags data over the window at window point where and drops it, as OLE does.
    // The effect Drop answers lands in lastEffect.
    HRESULT dragAndDrop(IDataObject* data, Point where, DWORD keyState = MK_LBUTTON) {
        IDropTarget* target = runtimeTarget(frame->getWindow());
        EXPECT_NE(target, nullptr);
        if (target == nullptr) {
            return E_FAIL;
        }
        SetCursorPos(100 + where.h, 50 + where.v);
        const POINTL screen{100 + where.h, 50 + where.v};
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragEnter(data, keyState, screen, &effect);
        target->DragOver(keyState, screen, &effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        const HRESULT result = target->Drop(data, keyState, screen, &effect);
        lastEffect = effect;
        return result;
    }

    std::unique_ptr<HostWindow> host;
    Frame* frame = nullptr;
    DropView* view = nullptr;
    DWORD lastEffect = 0;
};

TEST_F(DropTargetTest, TheRuntimeHoldsOneTargetWhileDropIsEnabled) {
    ASSERT_TRUE(frame->isDropEnabled());
    IDropTarget* target = runtimeTarget(frame->getWindow());
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(win32port::liveDropTargets(), 1);
    const struct {
        const IID* iid;
        HRESULT expected;
    } interfaces[] = {{&IID_IUnknown, S_OK},
                      {&IID_IDropTarget, S_OK},
                      {&IID_IDataObject, E_NOINTERFACE},
                      {&IID_IDropSource, E_NOINTERFACE},
                      {&IID_IMarshal, E_NOINTERFACE}};
    for (const auto& i : interfaces) {
        void* answer = reinterpret_cast<void*>(1);
        EXPECT_EQ(target->QueryInterface(*i.iid, &answer), i.expected);
        EXPECT_EQ(answer, i.expected == S_OK ? static_cast<void*>(target) : nullptr);
        if (answer != nullptr) {
            // The answer holds a reference besides the runtime's.
            const ULONG up = target->AddRef();
            const ULONG down = target->Release();
            EXPECT_EQ(up, down + 1);
            EXPECT_GE(down, 2u);
            target->Release();
        }
    }
    EXPECT_EQ(target->DragLeave(), S_OK);

    EXPECT_TRUE(frame->enableDrop(true));  // already registered: still the one target
    EXPECT_EQ(win32port::liveDropTargets(), 1);
    EXPECT_TRUE(frame->enableDrop(false));
    EXPECT_FALSE(frame->isDropEnabled());
    EXPECT_EQ(runtimeTarget(frame->getWindow()), nullptr);
    EXPECT_EQ(win32port::liveDropTargets(), 0);
    EXPECT_TRUE(frame->enableDrop(true));
    EXPECT_NE(runtimeTarget(frame->getWindow()), nullptr);
    EXPECT_EQ(win32port::liveDropTargets(), 1);
}

TEST_F(DropTargetTest, DragEffectsFollowTheFormatAndTheControlKey) {
    IDropTarget* target = runtimeTarget(frame->getWindow());
    ASSERT_NE(target, nullptr);
    TestDataObject* offers[] = {TestDataObject::text("hello"), TestDataObject::files({"C:\\a.txt"}),
                                new TestDataObject(CF_UNICODETEXT, {'h', 0, 0, 0}),
                                new TestDataObject(CF_DIB, std::vector<char>(64, 0))};
    const bool accepted[] = {true, true, false, false};
    const DWORD keyStates[] = {0, MK_LBUTTON, MK_CONTROL, MK_LBUTTON | MK_CONTROL | MK_SHIFT};
    for (int o = 0; o < 4; ++o) {
        for (const DWORD keys : keyStates) {
            const DWORD expected = !accepted[o]               ? DROPEFFECT_NONE
                                   : (keys & MK_CONTROL) != 0 ? DROPEFFECT_COPY
                                                              : DROPEFFECT_MOVE;
            DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
            EXPECT_EQ(target->DragEnter(offers[o], keys, POINTL{0, 0}, &effect), S_OK);
            EXPECT_EQ(effect, expected) << o << " " << keys;
            effect = DROPEFFECT_LINK;
            EXPECT_EQ(target->DragOver(keys, POINTL{5, 5}, &effect), S_OK);
            EXPECT_EQ(effect, expected) << o << " " << keys;
        }
    }
    // Without a data object or an effect to fill nothing is accepted and nothing breaks.
    EXPECT_EQ(target->DragEnter(nullptr, 0, POINTL{0, 0}, nullptr), S_OK);
    DWORD effect = DROPEFFECT_COPY;
    target->DragOver(0, POINTL{0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(target->Drop(nullptr, 0, POINTL{0, 0}, nullptr), S_OK);
    EXPECT_EQ(view->drops, 0);
    for (TestDataObject* offer : offers) {
        offer->Release();
    }
}

TEST_F(DropTargetTest, TextArrivesAsOneItemCountedInBytes) {
    for (const bool terminated : {true, false}) {
        TestDataObject* data = TestDataObject::text("dropped text", terminated);
        data->useReleaseObject = true;
        EXPECT_EQ(dragAndDrop(data, Point{30, 40}), S_OK);
        EXPECT_EQ(view->drops, terminated ? 1 : 2);
        EXPECT_EQ(view->lastType, dropData);
        EXPECT_EQ(view->lastCount, terminated ? 13 : 12);
        // Without a terminator in the block the view still gets a terminated string.
        EXPECT_EQ(view->texts, (std::vector<std::string>{"dropped text"}));
        EXPECT_EQ(view->lastWhere, (Point{30, 40}));
        // The data was read, not taken over: the source must not delete it.
        EXPECT_EQ(lastEffect, static_cast<DWORD>(DROPEFFECT_COPY));
        EXPECT_EQ(data->releaser.releases, 1);  // the medium was released through its object
        data->Release();
    }
}

TEST_F(DropTargetTest, FileListsSkipPathsThatCannotBeReadWhole) {
    const std::string tooLong = "C:\\" + std::string(1500, 'x') + ".txt";
    TestDataObject* data = TestDataObject::files({"C:\\first.wav", tooLong, "D:\\third file.wav"});
    data->useReleaseObject = true;
    EXPECT_EQ(dragAndDrop(data, Point{299, 199}, MK_LBUTTON | MK_CONTROL), S_OK);
    EXPECT_EQ(view->drops, 1);
    EXPECT_EQ(view->lastType, dropFiles);
    EXPECT_EQ(view->lastCount, 2);
    EXPECT_EQ(view->texts, (std::vector<std::string>{"C:\\first.wav", "D:\\third file.wav"}));
    EXPECT_EQ(view->lastWhere, (Point{299, 199}));
    EXPECT_EQ(data->releaser.releases, 1);
    data->Release();
}

TEST_F(DropTargetTest, UnsupportedFormatsAndModalViewsGetNothing) {
    TestDataObject* unicode = new TestDataObject(CF_UNICODETEXT, {'h', 0, 0, 0});
    EXPECT_EQ(dragAndDrop(unicode, Point{10, 10}), S_OK);
    EXPECT_EQ(view->drops, 0);
    EXPECT_EQ(lastEffect, static_cast<DWORD>(DROPEFFECT_NONE));
    unicode->Release();

    DropView modal(Rect{0, 0, 300, 200});
    frame->setModalView(&modal);
    TestDataObject* text = TestDataObject::text("nobody");
    EXPECT_EQ(dragAndDrop(text, Point{10, 10}), S_OK);
    EXPECT_EQ(view->drops, 0);
    EXPECT_EQ(modal.drops, 0);
    EXPECT_EQ(lastEffect, static_cast<DWORD>(DROPEFFECT_NONE));
    frame->setModalView(nullptr);
    text->Release();
}

void sendMouse(DWORD flags, int x = 0, int y = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if ((flags & MOUSEEVENTF_ABSOLUTE) != 0) {
        input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    SendInput(1, &input, sizeof input);
}

// The OLE runtime's own drag loop, started from another window of the test and driven by
// synthesized input from a second thread, drops text on the Frame window.
TEST_F(DropTargetTest, ARealDragFromAnotherWindowDropsOnTheFrame) {
    const Point source{50, 600};  // the test's desktop window, outside the host
    sendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, source.h, source.v);
    sendMouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(pumpUntil([] { return (GetKeyState(VK_LBUTTON) & 0x8000) != 0; }));
    const DWORD dragThread = GetCurrentThreadId();
    std::atomic<bool> dragReturned{false};
    std::thread user([dragThread, &dragReturned] {
        for (int step = 1; step <= 10; ++step) {
            Sleep(40);
            sendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 50 + 10 * step, 600 - 50 * step);
        }
        Sleep(300);
        sendMouse(MOUSEEVENTF_LEFTUP);
        // Should the runtime miss the release, Escape ends its loop instead of the test hanging.
        for (int wait = 0; wait < 300 && !dragReturned; ++wait) {
            Sleep(10);
        }
        if (!dragReturned) {
            PostThreadMessageA(dragThread, WM_KEYDOWN, VK_ESCAPE, 0);
        }
    });
    TestDataObject* data = TestDataObject::text("dragged for real");
    TestDropSource dropSource;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = DoDragDrop(data, &dropSource, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    dragReturned = true;
    user.join();
    std::printf("DoDragDrop: %08lx, effect %lu, drops %d\n", static_cast<unsigned long>(result),
                static_cast<unsigned long>(effect), view->drops);
    EXPECT_EQ(result, DRAGDROP_S_DROP);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));  // the text stays where it was
    EXPECT_EQ(view->drops, 1);
    EXPECT_EQ(view->texts, (std::vector<std::string>{"dragged for real"}));
    EXPECT_EQ(view->lastWhere, (Point{50, 50}));  // (150, 100) on the screen
    data->Release();
}

// A shortcut made with the shell's link object, pointing to target.
bool makeShortcut(const std::string& shortcut, const std::string& target) {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link)))) {
        return false;
    }
    IPersistFile* file = nullptr;
    bool made = SUCCEEDED(link->SetPath(target.c_str())) &&
                SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
    if (made) {
        WCHAR wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, shortcut.c_str(), -1, wide, MAX_PATH);
        made = SUCCEEDED(file->Save(wide, TRUE));
        file->Release();
    }
    link->Release();
    return made;
}

class ShortcutTest : public DropTargetTest {
protected:
    void SetUp() override {
        DropTargetTest::SetUp();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "brindle drop test " + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        target = folder + "\\a rather long target name.wav";
        HANDLE file = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(file);
        char shortPath[MAX_PATH] = "";
        GetShortPathNameA(target.c_str(), shortPath, MAX_PATH);
        shortTarget = shortPath;
    }
    void TearDown() override {
        for (const auto& name : made) {
            DeleteFileA(name.c_str());
        }
        DeleteFileA(target.c_str());
        RemoveDirectoryA(folder.c_str());
        DropTargetTest::TearDown();
    }
    std::string make(const std::string& name) {
        made.push_back(folder + "\\" + name);
        return made.back();
    }
    std::string folder;
    std::string target;
    std::string shortTarget;
    std::vector<std::string> made;
};

TEST_F(ShortcutTest, DroppedShortcutsArriveAsTheirTargetsShortPath) {
    const std::string lower = make("to target.lnk");
    const std::string upper = make("TO TARGET 2.LNK");
    ASSERT_TRUE(makeShortcut(lower, target));
    ASSERT_TRUE(makeShortcut(upper, target));
    ASSERT_FALSE(shortTarget.empty());
    std::printf("target %s, short path %s\n", target.c_str(), shortTarget.c_str());
    TestDataObject* data = TestDataObject::files({lower, upper, target});
    EXPECT_EQ(dragAndDrop(data, Point{1, 1}), S_OK);
    EXPECT_EQ(view->texts, (std::vector<std::string>{shortTarget, shortTarget, target}));
    data->Release();
}

TEST_F(ShortcutTest, PathsThatAreNoUsableShortcutStayAsTheyAre) {
    const std::string notALink = make("not a link.lnk");
    HANDLE file = CreateFileA(notALink.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "plain text", 10, &written, nullptr);
    CloseHandle(file);
    const std::string mixed = make("Mixed Case.LnK");
    ASSERT_TRUE(makeShortcut(mixed, target));
    const struct {
        std::string path;
        bool resolved;
    } cases[] = {
        {mixed, true},
        {notALink, false},
        {folder + "\\missing.lnk", false},
        {folder + "\\no extension", false},
        {target, false},
        {mixed + "x", false},
        {mixed + ".txt", false},
        {".lnk", false},
        {"", false},
    };
    for (const auto& c : cases) {
        char path[win32port::kDropPathBytes] = "";
        lstrcpynA(path, c.path.c_str(), sizeof path);
        EXPECT_EQ(win32port::resolveShortcut(path), c.resolved) << c.path;
        EXPECT_EQ(std::string(path), c.resolved ? shortTarget : c.path) << c.path;
    }
}

TEST_F(DropTargetTest, NoTargetOutlivesItsFrameOverAHundredLifetimes) {
    delete frame;
    frame = nullptr;
    EXPECT_EQ(win32port::liveDropTargets(), 0);
    for (int round = 0; round < 100; ++round) {
        auto* lifetime = new Frame(Rect{0, 0, 50, 50}, host->get(), nullptr);
        ASSERT_EQ(win32port::liveDropTargets(), 1) << round;
        if (round % 10 == 0) {
            // A drop on the way holds references of its own for a while.
            IDropTarget* target = runtimeTarget(lifetime->getWindow());
            ASSERT_NE(target, nullptr);
            TestDataObject* data = TestDataObject::text("x");
            DWORD effect = 0;
            target->DragEnter(data, 0, POINTL{0, 0}, &effect);
            target->Drop(data, 0, POINTL{0, 0}, &effect);
            data->Release();
        }
        delete lifetime;
        ASSERT_EQ(win32port::liveDropTargets(), 0) << round;
    }
    // The host destroys its window before the editor closes: the target goes with the window.
    auto* orphaned = new Frame(Rect{0, 0, 50, 50}, host->get(), nullptr);
    EXPECT_EQ(win32port::liveDropTargets(), 1);
    host->destroy();
    EXPECT_EQ(win32port::liveDropTargets(), 0);
    EXPECT_FALSE(orphaned->isDropEnabled());
    delete orphaned;
    frame = new Frame(Rect{0, 0, 10, 10}, nullptr, nullptr);
}

// Each Frame initialises OLE on its thread itself and gives back exactly what it took; a thread
// the host keeps in the multithreaded apartment stays so (whether OLE then registers the target
// is the runtime's business: Wine does, Windows does not).
TEST(DropThreadTest, EachFrameInitialisesOleOnItsOwnThread) {
    moduleInstance = GetModuleHandleA(nullptr);
    testDesktop();  // registers the host window class
    for (const bool hostTookTheMultithreadedApartment : {false, true}) {
        bool registered = false;
        bool enabled = false;
        HRESULT afterwards = E_FAIL;
        std::thread gui([&] {
            if (hostTookTheMultithreadedApartment) {
                CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            }
            HWND parent = CreateWindowExA(0, "BrindleTestHost", "host", WS_POPUP, 0, 0, 100, 100, nullptr,
                                          nullptr, GetModuleHandleA(nullptr), nullptr);
            {
                Frame frame(Rect{0, 0, 50, 50}, parent, nullptr);
                registered = runtimeTarget(frame.getWindow()) != nullptr;
                enabled = frame.isDropEnabled();
            }
            DestroyWindow(parent);
            // S_OK: nothing was left initialised; S_FALSE: the apartment is still there.
            afterwards = CoInitializeEx(
                nullptr, hostTookTheMultithreadedApartment ? COINIT_MULTITHREADED : COINIT_APARTMENTTHREADED);
            CoUninitialize();
            if (hostTookTheMultithreadedApartment) {
                CoUninitialize();
            }
        });
        gui.join();
        if (!hostTookTheMultithreadedApartment) {
            EXPECT_TRUE(registered);
            EXPECT_TRUE(enabled);
        }
        std::printf("multithreaded %d: registered %d\n", hostTookTheMultithreadedApartment, registered);
        EXPECT_EQ(afterwards, hostTookTheMultithreadedApartment ? S_FALSE : S_OK);
        EXPECT_EQ(win32port::liveDropTargets(), 0);
    }
}

}  // namespace
