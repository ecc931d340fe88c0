// SendInput gestures played from a thread of their own.
#include "Gesture.h"

#include <atomic>

#include "HostWindows.h"

namespace {

POINT onScreen(POINT editorPoint) {
    return POINT{kEditorOnScreen.x + editorPoint.x, kEditorOnScreen.y + editorPoint.y};
}

// Absolute coordinates are 0..65535 across the screen; aim at the middle of the pixel so that
// both truncating and rounding conversions land on it.
LONG normalized(LONG pixel, int span) {
    return static_cast<LONG>((static_cast<int64_t>(2 * pixel + 1) * 65536) / (2 * span));
}

// Set when this thread takes a button-down message from its queue: the editor's loop starts then.
std::atomic<bool> pressTaken{false};

LRESULT CALLBACK watchMessages(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE &&
        (message->message == WM_LBUTTONDOWN || message->message == WM_RBUTTONDOWN)) {
        pressTaken = true;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool buttonsUp() {
    return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0 && (GetAsyncKeyState(VK_RBUTTON) & 0x8000) == 0;
}

}  // namespace

bool movePointer(POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = normalized(screen.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = normalized(screen.y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    if (SendInput(1, &input, sizeof input) != 1) return false;
    POINT now{};
    GetCursorPos(&now);
    return now.x == screen.x && now.y == screen.y;
}

Gesture& Gesture::press(POINT editorPoint, bool rightButton) {
    right = rightButton;
    // Wine answers GetAsyncKeyState from a per-thread copy for 50 ms after it last read a button
    // up: a drag that starts sooner than that after the GUI thread's last poll would read as
    // released once the loop polls past the press itself.
    steps.push_back(Step{onScreen(editorPoint), 0, 70});
    steps.push_back(Step{onScreen(editorPoint),
                         static_cast<DWORD>(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN), pauseMs});
    return *this;
}

Gesture& Gesture::moveTo(POINT editorPoint) {
    steps.push_back(Step{onScreen(editorPoint), 0, pauseMs});
    return *this;
}

Gesture& Gesture::release() {
    const POINT at = steps.empty() ? kEditorOnScreen : steps.back().screen;
    steps.push_back(Step{at, static_cast<DWORD>(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP), 0});
    return *this;
}

Gesture& Gesture::pause(DWORD milliseconds) {
    pauseMs = milliseconds;
    return *this;
}

DWORD WINAPI Gesture::inject(void* self) {
    auto* gesture = static_cast<Gesture*>(self);
    bool ok = true;
    for (const Step& step : gesture->steps) {
        if (step.flags == 0) {
            ok = movePointer(step.screen) && ok;
        } else {
            INPUT input{};
            input.type = INPUT_MOUSE;
            input.mi.dwFlags = step.flags;
            pressTaken = false;
            ok = SendInput(1, &input, sizeof input) == 1 && ok;
            // The moves and the release must come after the loop has started, however slowly
            // the other thread gets to its queue.
            const DWORD start = GetTickCount();
            while ((step.flags & (MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_RIGHTDOWN)) != 0 && !pressTaken &&
                   GetTickCount() - start < 3000) {
                Sleep(1);
            }
        }
        Sleep(step.pauseAfter);
    }
    gesture->injectedAll = ok;
    return 0;
}

bool Gesture::play() {
    injectedAll = false;
    // A gesture always ends with the button up, or the editor's loop would never return.
    if (steps.empty() || (steps.back().flags & (MOUSEEVENTF_LEFTUP | MOUSEEVENTF_RIGHTUP)) == 0) release();
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, watchMessages, nullptr, GetCurrentThreadId());
    HANDLE thread = CreateThread(nullptr, 0, inject, this, 0, nullptr);
    if (thread == nullptr) {
        if (hook != nullptr) UnhookWindowsHookEx(hook);
        return false;
    }
    // The tracking loop runs inside one of these dispatches; it returns once it sees the release.
    const bool finished =
        pumpUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0 && buttonsUp(); }, 10000);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    if (hook != nullptr) UnhookWindowsHookEx(hook);
    pumpUntil([] { return true; });
    return finished && injectedAll;
}

void releaseButtons() {
    if (buttonsUp()) return;
    for (DWORD up : {MOUSEEVENTF_LEFTUP, MOUSEEVENTF_RIGHTUP}) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = up;
        SendInput(1, &input, sizeof input);
    }
}

namespace {

DWORD WINAPI playHeldDrag(void* context) {
    const auto* drag = static_cast<const HeldDrag*>(context);
    movePointer(drag->path.front());
    Sleep(70);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &input, sizeof input);
    const DWORD start = GetTickCount();
    for (size_t i = 1; i < drag->path.size(); ++i) {
        Sleep(300);
        movePointer(drag->path[i]);
    }
    while (GetTickCount() - start < drag->holdMs) Sleep(5);
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
    return 0;
}

}  // namespace

HANDLE HeldDrag::start() { return CreateThread(nullptr, 0, playHeldDrag, this, 0, nullptr); }

bool click(POINT editorPoint, bool right) { return Gesture().press(editorPoint, right).release().play(); }
