// What the Frame needs from the object that created it (the editor), and nothing more.
#pragma once

#include "gui/Geometry.h"

class DrawContext;

class FrameOwner {
public:
    virtual ~FrameOwner() = default;
    // GUI thread. Lets the host and the window repaint while a control tracks the mouse in a
    // loop of its own (the editor's controls track in events and need none).
    virtual void pumpIdle() {}
    // GUI thread. True once the host asked to close the window while a control tracks the mouse
    // (from inside the host's idle): the tracking loop must end before the views can go.
    virtual bool isClosing() const { return false; }
    // GUI thread. The window's screen density changed (it moved to another monitor).
    virtual void screenChanged() {}
    // GUI thread. A press no view took (on the background), in unscaled window pixels.
    virtual void backgroundPress(DrawContext* /*context*/, const Point& /*where*/) {}
};
