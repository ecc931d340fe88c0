// A top-level window of the timing host, the parent a host gives the editor.
#pragma once

// Processor time the whole process used so far, in seconds.
double processCpuSeconds();

class ParentWindow {
public:
    ParentWindow();
    ~ParentWindow();
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;

    // The handle effEditOpen takes (HWND, or an X window id); null when none could be made.
    void* handle() const { return window; }
    // Sizes the window's inside (to hold the whole editor at any scale).
    void resize(int width, int height);
    // Lets the window system deliver what is pending (messages, drawing).
    void pump();
    // Presses the left button at a point of the window (synthesized at the window system, as a
    // mouse would) and releases it after the given time, without the caller's help.
    bool holdButton(int x, int y, double seconds);

private:
    void* window = nullptr;
    void* display = nullptr;
};
