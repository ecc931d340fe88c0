// View: a rectangle of the editor surface with a dirty flag, a mouse flag and a reference count.
#pragma once

#include <cstdint>

#include "gui/Geometry.h"
#include "gui/MouseEvent.h"

class DrawContext;
class Frame;
class FrameOwner;
struct KeyStroke;

// Item types of onDrop.
constexpr int32_t dropFiles = 0;  // items are file-path strings
constexpr int32_t dropData = 1;   // one raw data block

// GUI thread only. Starts with one reference; the Frame takes it over on addView.
// Redraw is pull-based: changes only mark views dirty, update draws what is dirty.
class View {
public:
    explicit View(const Rect& size);
    View(const View&) = delete;
    View& operator=(const View&) = delete;
    virtual ~View();

    virtual void draw(DrawContext* context);
    virtual void drawRect(DrawContext* context, const Rect& updateRect);
    // Touching edges count as overlap.
    virtual bool intersects(const Rect& updateRect);
    virtual void mouse(DrawContext* context, Point& where);
    // A drag in the window's own events, each returning at once: the press (by default handed
    // to mouse), then every move while a button is held and the release, which reach the view
    // that took the press wherever the pointer is; a drag the window loses (the view or the
    // window goes first) is cancelled instead of released.
    virtual void onMouseDown(DrawContext* context, const MouseEvent& event);
    virtual void onMouseMoved(DrawContext* context, const MouseEvent& event);
    virtual void onMouseUp(DrawContext* context, const MouseEvent& event);
    virtual void onMouseCancelled();
    // Draws and clears the flag when dirty.
    virtual void update(DrawContext* context);
    // -1: not handled.
    virtual int32_t onKeyDown(KeyStroke& key);
    virtual int32_t onKeyUp(KeyStroke& key);
    virtual bool onDrop(void** items, int32_t count, int32_t type, Point& where);
    // distance is passed through unchanged from the host.
    virtual bool onWheel(DrawContext* context, const Point& where, float distance);
    // The wheel turned over the view with buttons and modifiers known (by default onWheel);
    // true when the view used it, else it goes on to the host's window.
    virtual bool onMouseWheel(DrawContext* context, const MouseEvent& event, float distance);
    virtual bool isDirty();
    virtual void setDirty(bool state = true);
    virtual void setMouseEnabled(bool state = true);
    virtual bool getMouseEnabled();
    virtual void setMouseArea(const Rect& rect);
    virtual void getMouseArea(Rect& rect);
    // All four edges of the size are inside.
    virtual bool containsPoint(const Point& where);
    virtual void setTransparent(bool state);
    virtual bool isTransparent();
    // Replaces the size and marks the view dirty.
    virtual void setSize(const Rect& rect);
    virtual void setFrame(Frame* newFrame);
    virtual void setParentView(View* parent);
    // The Frame's editor, or none without a Frame.
    virtual FrameOwner* getEditor();
    virtual bool onDetached(View* parent);
    virtual bool onAttached(View* parent);
    // Drops one reference and destroys the view at zero; does nothing at zero or below.
    virtual void release();
    virtual void addRef();
    virtual int32_t refCount();

    const Rect& getSize() const { return size; }
    Frame* getFrame() const { return frame; }
    View* getParentView() const { return parentView; }

protected:
    int32_t referenceCount = 1;
    Rect size;
    Rect mouseArea;
    Frame* frame = nullptr;
    View* parentView = nullptr;
    bool dirty = false;
    bool mouseEnabled = true;
    bool transparent = false;
};
