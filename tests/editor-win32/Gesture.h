// Pointer gestures synthesized with SendInput. The editor follows a drag in its window's
// messages on this thread (the button-down, the moves under its mouse capture, the button-up),
// so the input comes from a thread of its own while this thread dispatches messages. A message
// hook on this thread tells the injecting one when the button-down has been taken from the
// queue; the moves and the release follow only then.
#pragma once

#include <cstdint>
#include <vector>

#include <windows.h>

class Gesture {
public:
    // Editor points are taken relative to kEditorOnScreen.
    Gesture& press(POINT editorPoint, bool right = false);
    Gesture& moveTo(POINT editorPoint);
    Gesture& release();
    // Each step is followed by this pause (ms) before the next one.
    Gesture& pause(DWORD milliseconds);

    // Plays the steps from another thread while this one dispatches messages. True when every
    // step was injected, the button is up and the dispatch has returned, within the deadline.
    bool play();

private:
    struct Step {
        POINT screen;
        DWORD flags;  // MOUSEEVENTF_* button flags, 0 for a move
        DWORD pauseAfter;
    };
    static DWORD WINAPI inject(void* self);

    std::vector<Step> steps;
    DWORD pauseMs = 80;
    bool right = false;
    bool injectedAll = false;
};

// A press held at the path's first screen point, moved along it (a point every 300 ms) and
// released after holdMs, from a thread of its own while the test's thread is the host.
struct HeldDrag {
    std::vector<POINT> path;
    DWORD holdMs;
    // The thread playing it (null when none could be started); the caller closes it.
    HANDLE start();
};

// Moves the pointer with an absolute SendInput move; true when the pointer is there.
bool movePointer(POINT screen);

// Both buttons up: what a test that ended during a press may have left in Wine's input state.
void releaseButtons();

// A click: press, hold, release, at one editor point.
bool click(POINT editorPoint, bool right = false);
