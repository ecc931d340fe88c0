// A top-level window of the timing host, the parent a host gives the editor.
#pragma once

class ParentWindow {
public:
    ParentWindow();
    ~ParentWindow();
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;

    // The handle effEditOpen takes (HWND, or an X window id); null when none could be made.
    void* handle() const { return window; }
    // Lets the window system deliver what is pending (messages, drawing).
    void pump();

private:
    void* window = nullptr;
    void* display = nullptr;
};
