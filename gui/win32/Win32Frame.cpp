// The Frame's window on Windows: the shared "Plugin%08x" class, the child window and its window
// procedure (paint, button presses, destruction).
#include <cstdio>

#include <windows.h>
#include <ole2.h>

#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/FrameOwner.h"
#include "gui/ModuleInstance.h"
#include "gui/Port.h"
#include "gui/win32/GdiObjects.h"
#include "gui/win32/OleDropTarget.h"
#include "gui/win32/Win32Frame.h"
#include "gui/PressMemory.h"

namespace {

// Shared by every Frame of the module: registered with the first window, unregistered with the last.
char className[32] = "";
int32_t classUseCount = 0;

HINSTANCE instance() { return static_cast<HINSTANCE>(moduleInstance); }

Frame* frameOf(HWND window) { return reinterpret_cast<Frame*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

// The buttons and modifiers a button message reports, as mouseButtons gives them.
int32_t pressButtons(WPARAM wParam) {
    int32_t buttons = 0;
    buttons |= (wParam & MK_LBUTTON) != 0 ? buttonLeft : 0;
    buttons |= (wParam & MK_MBUTTON) != 0 ? buttonMiddle : 0;
    buttons |= (wParam & MK_RBUTTON) != 0 ? buttonRight : 0;
    buttons |= (wParam & MK_SHIFT) != 0 ? modShift : 0;
    buttons |= (wParam & MK_CONTROL) != 0 ? modControl : 0;
    buttons |= (GetKeyState(VK_MENU) & 0x8000) != 0 ? modAlt : 0;
    return buttons;
}

Point clientPoint(LPARAM lParam) {
    return Point{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
}

// Runs an event's handler with a context on the window.
template <class Handler>
void withContext(HWND window, Frame* frame, Handler handler) {
    HDC dc = gdi::getDC(window);
    {
        DrawContext context(frame, dc, window);
        handler(context);
    }
    gdi::releaseDC(window, dc);
}

LRESULT CALLBACK frameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Frame* frame = frameOf(window);
    switch (message) {
    case WM_DESTROY:
        if (frame != nullptr) {
            frame->onWindowDestroyed();
        }
        break;
    case 0x02E3:  // WM_DPICHANGED_AFTERPARENT: the host's window moved to a screen of another density
        if (frame != nullptr && frame->getEditor() != nullptr) {
            frame->getEditor()->screenChanged();
        }
        break;
    case WM_PAINT:
        if (frame != nullptr && GetUpdateRect(window, nullptr, FALSE)) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            {
                DrawContext context(frame, dc, window);
                frame->drawRect(&context, frame->getScale().covering(Rect{paint.rcPaint.left, paint.rcPaint.top,
                                                                          paint.rcPaint.right, paint.rcPaint.bottom}));
            }
            EndPaint(window, &paint);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (frame != nullptr) {
            // The moves and the release come to this window wherever the pointer goes until
            // the drag ends; the host's loop runs between them.
            if (!frame->isDragging()) {
                SetCapture(window);
            }
            const Point pixel = clientPoint(lParam);
            POINT screen{pixel.h, pixel.v};
            ClientToScreen(window, &screen);
            const int32_t buttons = pressButtons(wParam);
            const auto time = static_cast<uint32_t>(GetMessageTime());
            withContext(window, frame, [&](DrawContext& context) {
                const pressMemory::PressScope press(buttons, Point{screen.x, screen.y});
                frame->mouseDown(&context, frame->getScale().unscaled(pixel), buttons, time);
            });
            if (frameOf(window) == frame && !frame->isDragging() && GetCapture() == window) {
                ReleaseCapture();  // nothing took the press
            }
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        if (frame != nullptr && frame->isDragging()) {
            withContext(window, frame, [&](DrawContext& context) {
                frame->mouseMoved(&context, frame->getScale().unscaled(clientPoint(lParam)), pressButtons(wParam));
            });
            return 0;
        }
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (frame != nullptr && frame->isDragging()) {
            withContext(window, frame, [&](DrawContext& context) {
                frame->mouseUp(&context, frame->getScale().unscaled(clientPoint(lParam)), pressButtons(wParam));
            });
            if (frameOf(window) == frame && !frame->isDragging() && GetCapture() == window) {
                ReleaseCapture();
            }
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        // Another window took the pointer (a dialog, the host): the drag is over without a release.
        if (frame != nullptr && reinterpret_cast<HWND>(lParam) != window) {
            frame->cancelDrag();
        }
        break;
    case WM_MOUSEWHEEL:
        if (frame != nullptr) {
            POINT client{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
            ScreenToClient(window, &client);
            const float notches = static_cast<float>(static_cast<int16_t>(HIWORD(wParam))) / WHEEL_DELTA;
            bool taken = false;
            withContext(window, frame, [&](DrawContext& context) {
                taken = frame->wheelAt(&context, frame->getScale().unscaled(Point{client.x, client.y}),
                                       pressButtons(LOWORD(wParam)), notches);
            });
            if (taken) {
                return 0;
            }
        }
        break;  // the default procedure sends it on to the host's window
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void registerClass() {
    if (++classUseCount != 1) {
        return;
    }
    std::snprintf(className, sizeof className, "Plugin%08x",
                  static_cast<unsigned>(reinterpret_cast<uintptr_t>(moduleInstance)));
    WNDCLASSA windowClass;
    windowClass.style = CS_GLOBALCLASS;
    windowClass.lpfnWndProc = frameWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance();
    windowClass.hIcon = nullptr;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
}

void unregisterClass() {
    if (--classUseCount == 0) {
        UnregisterClassA(className, instance());
    }
}

}  // namespace

namespace win32port {

const char* frameClassName() { return className; }

int32_t frameClassUsers() { return classUseCount; }

}  // namespace win32port

struct FramePort {
    Frame* frame = nullptr;
    HWND window = nullptr;
    // The cursor current at the first setCursor, none until then.
    HCURSOR defaultCursor = nullptr;
    // OleInitialize succeeded for this Frame and is balanced at its end.
    bool oleInitialized = false;
};

void PortDeleter::operator()(FramePort* state) const {
    if (state == nullptr) {
        return;
    }
    if (state->oleInitialized) {
        OleUninitialize();
    }
    if (state->window != nullptr) {
        // Without its Frame, the WM_DESTROY sent now goes to the default procedure.
        SetWindowLongPtrA(state->window, GWLP_USERDATA, 0);
        DestroyWindow(state->window);
        unregisterClass();
    }
    delete state;
}

namespace port {

FramePort* attachFrame(Frame* frame) {
    auto* state = new FramePort;
    state->frame = frame;
    // S_FALSE: already initialised on this thread, counted all the same. A thread the host runs
    // in the multithreaded apartment refuses (RPC_E_CHANGED_MODE): nothing to give back.
    state->oleInitialized = SUCCEEDED(OleInitialize(nullptr));
    return state;
}

bool createWindow(FramePort& state, void* parent, const Rect& size) {
    if (state.window != nullptr || parent == nullptr) {
        return false;
    }
    registerClass();
    HWND window =
        CreateWindowExA(0, className, "Window", WS_CHILD | WS_VISIBLE, 0, 0, size.right - size.left,
                        size.bottom - size.top, static_cast<HWND>(parent), nullptr, instance(), nullptr);
    if (window == nullptr) {
        // No window will be destroyed for this use: give it back now.
        unregisterClass();
        return false;
    }
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.frame));
    state.window = window;
    return true;
}

void* windowHandle(const FramePort& state) { return state.window; }

void hideWindow(FramePort& state) {
    if (state.window != nullptr) {
        ShowWindow(state.window, SW_HIDE);
    }
}

void showWindow(FramePort& state) {
    if (state.window != nullptr) {
        ShowWindow(state.window, SW_SHOW);
    }
}

void* acquireDeviceContext(void* window) {
    return window != nullptr ? gdi::getDC(static_cast<HWND>(window)) : nullptr;
}

void releaseDeviceContext(void* window, void* deviceContext) {
    gdi::releaseDC(static_cast<HWND>(window), static_cast<HDC>(deviceContext));
}

Point windowPosition(void* window) {
    RECT rect{0, 0, 0, 0};
    GetWindowRect(static_cast<HWND>(window), &rect);
    return Point{rect.left, rect.top};
}

void setCursor(FramePort& state, int32_t kind) {
    if (state.defaultCursor == nullptr) {
        state.defaultCursor = GetCursor();
    }
    LPCSTR shapes[] = {nullptr, IDC_WAIT, IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL, IDC_SIZENESW, IDC_SIZENWSE};
    if (kind == cursorDefault) {
        SetCursor(state.defaultCursor);
    } else if (kind > cursorDefault && kind <= cursorResizeDiagonalDown) {
        SetCursor(LoadCursorA(nullptr, shapes[kind]));
    }
}

bool setDropTarget(FramePort& state, Frame* frame, bool enabled) {
    return enabled ? win32port::registerDropTarget(state.window, frame)
                   : win32port::revokeDropTarget(state.window);
}

void pumpEvents(void* /*window*/) {}

uint32_t doubleClickTime() { return GetDoubleClickTime(); }

}  // namespace port

bool dispatchPendingPaint() {
    MSG message;
    if (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        DispatchMessageA(&message);
        return true;
    }
    return false;
}
