// What the Frame needs from the object that created it (the editor), and nothing more.
#pragma once

class FrameOwner {
public:
    virtual ~FrameOwner() = default;
    // GUI thread. Lets the host and the window repaint while a control tracks the mouse.
    virtual void pumpIdle() = 0;
};
