// Frame: the root view; owns the child window, the view list and the modal view, and dispatches.
#pragma once

#include <cstdint>
#include <memory>

#include "gui/Port.h"
#include "gui/Scale.h"
#include "gui/View.h"

class Bitmap;
class FrameOwner;

// Cursor kinds of setCursor; other kinds do nothing.
constexpr int32_t cursorDefault = 0;  // the cursor current at the first setCursor call
constexpr int32_t cursorWait = 1;
constexpr int32_t cursorResizeHorizontal = 2;
constexpr int32_t cursorResizeVertical = 3;
constexpr int32_t cursorMove = 4;
constexpr int32_t cursorResizeDiagonalUp = 5;
constexpr int32_t cursorResizeDiagonalDown = 6;

// GUI thread only: the thread that opens the editor, runs the window's events and the idle.
class Frame : public View {
public:
    // Makes a child window of parentWindow covering size (none without a parent). size and every
    // position the Frame and its views deal in are unscaled pixels; the window has size at scale.
    Frame(const Rect& size, void* parentWindow, FrameOwner* editor, Scale scale = Scale());
    ~Frame() override;

    // Background, then every view bottom-up, then the modal view.
    void draw(DrawContext* context) override;
    // Only the update area of the background and the views that meet it.
    void drawRect(DrawContext* context, const Rect& updateRect) override;
    // The top-most mouse-enabled view containing where; only the modal view while one is up.
    void mouse(DrawContext* context, Point& where) override;
    // Draws what is dirty; everything when the Frame itself is dirty; only the modal view if up.
    void update(DrawContext* context) override;
    int32_t onKeyDown(KeyStroke& key) override;
    int32_t onKeyUp(KeyStroke& key) override;
    bool onDrop(void** items, int32_t count, int32_t type, Point& where) override;
    // Offered to the view under the pointer; context may be none.
    bool onWheel(DrawContext* context, const Point& where, float distance) override;
    FrameOwner* getEditor() override;

    // Puts the view on top and takes over the caller's reference.
    virtual bool addView(View* view);
    virtual bool removeView(View* view, bool release = true);
    virtual bool removeAllViews(bool release = true);
    virtual bool hasView(View* view);
    virtual int32_t viewCount();
    // None outside 0..viewCount()-1.
    virtual View* viewAt(int32_t index);

    bool createWindow(void* parent);
    bool enableDrop(bool state);
    // Draws the view at once, or the whole Frame when it is none or not in the list.
    void redrawView(View* view);
    // 1 when accepted; 0 when a view is given while another modal view is up.
    int32_t setModalView(View* view);
    View* getModalView() const { return modalView; }
    // The top-most view whose size contains the pointer, whatever its mouse state.
    View* viewUnderMouse();
    // Pointer position relative to the window (screen position without a window), unscaled.
    bool mouseLocation(Point& where);
    Scale getScale() const { return scale; }
    void setCursor(int32_t kind);
    // Processes pending window events (Linux), then draws what is dirty; nothing before the
    // first draw or after the window is gone.
    void idleRedraw();
    bool anythingDirty();
    void setBackground(Bitmap* bitmap);
    Bitmap* getBackground() const { return background; }

    // The port's window handle, none without a window.
    void* getWindow() const;
    void* getParentWindow() const { return parentWindow; }
    bool isOpen() const { return open; }
    bool isFirstDrawPending() const { return firstDrawPending; }
    bool isDropEnabled() const { return dropRegistered; }
    // True while a view tracks a press (Frame::mouse is on the stack): the views must stay.
    bool isTracking() const { return trackingDepth > 0; }
    // Takes the window off the screen (a close that must wait for a tracking loop to end).
    void hideWindow();
    // Puts a hidden window back on the screen (a close that was taken back).
    void showWindow();

    // The window's pointer events (unscaled window pixels; time: the event's milliseconds, for
    // double-clicks). A press goes to the modal view or the top-most mouse-enabled view under
    // it (none: the editor's backgroundPress), which then receives every move and the release
    // of the last held button; the port keeps the pointer meanwhile (Windows: mouse capture; X:
    // the implicit grab of a press). Each returns at once: the host runs between events.
    void mouseDown(DrawContext* context, Point where, int32_t buttons, uint32_t time);
    void mouseMoved(DrawContext* context, Point where, int32_t buttons);
    void mouseUp(DrawContext* context, Point where, int32_t buttons);
    // Ends a drag without a release (the window lost the pointer or goes).
    void cancelDrag();
    bool isDragging() const { return dragView != nullptr; }
    // The wheel over a window point; true when a view used it.
    bool wheelAt(DrawContext* context, Point where, int32_t buttons, float distance);

    // Called by the port's window procedure when the window is destroyed under the Frame.
    void onWindowDestroyed();

private:
    // Offers a key to the modal view, then to the views from the topmost down, until one takes
    // it (returns other than -1); -1 when none does.
    int32_t offerKey(int32_t (View::*handler)(KeyStroke&), KeyStroke& key);

    FrameOwner* editor = nullptr;
    void* parentWindow = nullptr;
    Bitmap* background = nullptr;
    int32_t count = 0;
    int32_t capacity = 0;
    View** views = nullptr;
    View* modalView = nullptr;
    bool firstDrawPending = true;
    bool open = true;
    bool dropRegistered = false;
    int32_t trackingDepth = 0;
    Scale scale;
    // The window, its default cursor and the thread's set-up; given back last at destruction.
    std::unique_ptr<FramePort, PortDeleter> windowState;

    int32_t indexOf(View* view) const;
    View* pressTarget(const Point& where);

    // The view that took the press of the drag under way, none between drags.
    View* dragView = nullptr;
    int32_t dragButton = 0;
    // The last press, for telling a double-click.
    int32_t lastPressButton = 0;
    uint32_t lastPressTime = 0;
    Point lastPressWhere;
};
