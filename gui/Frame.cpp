// Frame: view list, modal view, dispatch of mouse, keys, drops and wheel, and the idle redraw.
#include "gui/Frame.h"

#include <cstdlib>
#include <new>

#include "gui/Bitmap.h"
#include "gui/KeyStroke.h"
#include "gui/DrawContext.h"
#include "gui/FrameOwner.h"
#include "gui/Port.h"

namespace {

constexpr int32_t kViewGrowth = 10;

// All four edges inside.
bool inside(const Rect& rect, const Point& where) {
    return rect.left <= where.h && where.h <= rect.right && rect.top <= where.v && where.v <= rect.bottom;
}

// A context on the Frame's window for one event; the device context is released with it.
class WindowContext {
public:
    WindowContext(Frame* frame, void* frameWindow)
        : window(frameWindow), deviceContext(port::acquireDeviceContext(frameWindow)),
          context(frame, deviceContext, frameWindow) {}
    ~WindowContext() {
        if (deviceContext != nullptr) {
            port::releaseDeviceContext(window, deviceContext);
        }
    }
    WindowContext(const WindowContext&) = delete;
    WindowContext& operator=(const WindowContext&) = delete;

    bool valid() const { return deviceContext != nullptr; }
    DrawContext* get() { return &context; }

private:
    void* window;
    void* deviceContext;
    // Destroyed before the device context is released.
    DrawContext context;
};

}  // namespace

Frame::Frame(const Rect& rect, void* parent, FrameOwner* owner, Scale frameScale)
    : View(rect), editor(owner), parentWindow(parent), scale(frameScale), windowState(port::attachFrame(this)) {
    createWindow(parent);
}

Frame::~Frame() {
    cancelDrag();
    setCursor(cursorDefault);
    enableDrop(false);
    removeAllViews(true);
    if (background != nullptr) {
        background->release();
        background = nullptr;
    }
    // The thread's set-up is given back, then the window destroyed.
    windowState.reset();
}

void* Frame::getWindow() const { return windowState != nullptr ? port::windowHandle(*windowState) : nullptr; }

bool Frame::createWindow(void* parent) {
    if (parent == nullptr) {
        return false;
    }
    if (!port::createWindow(*windowState, parent, scale.device(size))) {
        return false;
    }
    enableDrop(true);
    return true;
}

bool Frame::enableDrop(bool state) {
    if (!dropRegistered && !state) {
        return true;
    }
    if (getWindow() == nullptr) {
        return false;
    }
    if (state == dropRegistered) {
        return true;  // a window holds one target: a second registration would be refused
    }
    if (!port::setDropTarget(*windowState, this, state)) {
        return false;
    }
    dropRegistered = state;
    return true;
}

void Frame::onWindowDestroyed() {
    cancelDrag();
    // The window still exists while its destruction is reported: the last moment its drop
    // target can be revoked (and released) before the registration dies with the window.
    enableDrop(false);
    open = false;
    parentWindow = nullptr;
}

FrameOwner* Frame::getEditor() { return editor; }

void Frame::draw(DrawContext* context) {
    firstDrawPending = false;
    if (background != nullptr) {
        background->draw(context, Rect{0, 0, background->getWidth(), background->getHeight()}, Point{0, 0});
    }
    for (int32_t i = 0; i < count; ++i) {
        views[i]->draw(context);
    }
    if (modalView != nullptr) {
        modalView->draw(context);
    }
}

void Frame::drawRect(DrawContext* context, const Rect& updateRect) {
    firstDrawPending = false;
    if (background != nullptr) {
        background->draw(context, updateRect, Point{updateRect.left, updateRect.top});
    }
    for (int32_t i = 0; i < count; ++i) {
        if (views[i]->intersects(updateRect)) {
            views[i]->drawRect(context, updateRect);
        }
    }
    if (modalView != nullptr && modalView->intersects(updateRect)) {
        modalView->draw(context);
    }
}

void Frame::mouse(DrawContext* context, Point& where) {
    ++trackingDepth;
    if (modalView != nullptr) {
        // While a modal view is up, clicks outside it reach nobody.
        if (modalView->containsPoint(where)) {
            modalView->mouse(context, where);
        }
    } else {
        bool taken = false;
        for (int32_t i = count - 1; i >= 0 && !taken; --i) {
            View* view = views[i];
            if (view->getMouseEnabled() && view->containsPoint(where)) {
                view->mouse(context, where);
                taken = true;
            }
        }
        if (!taken && editor != nullptr) {
            editor->backgroundPress(context, where);
        }
    }
    --trackingDepth;
}

View* Frame::pressTarget(const Point& where) {
    if (modalView != nullptr) {
        // While a modal view is up, clicks outside it reach nobody.
        return modalView->containsPoint(where) ? modalView : nullptr;
    }
    for (int32_t i = count - 1; i >= 0; --i) {
        if (views[i]->getMouseEnabled() && views[i]->containsPoint(where)) {
            return views[i];
        }
    }
    return nullptr;
}

void Frame::mouseDown(DrawContext* context, Point where, int32_t buttons, uint32_t time) {
    if (!open) {
        return;
    }
    const int32_t button = buttons & (buttonLeft | buttonMiddle | buttonRight);
    if (dragView != nullptr) {
        if ((button & ~dragButton) != 0) {
            return;  // another button while the drag's own is held belongs to that drag
        }
        cancelDrag();  // the drag's own button again: its release never came to us
    }
    const int32_t slop = 4;
    const bool second = button == lastPressButton && time - lastPressTime <= port::doubleClickTime() &&
                        std::abs(where.h - lastPressWhere.h) <= slop && std::abs(where.v - lastPressWhere.v) <= slop;
    // A third press starts counting again, as window systems do.
    lastPressButton = second ? 0 : button;
    lastPressTime = time;
    lastPressWhere = where;
    const MouseEvent event{where, buttons, second ? 2 : 1};
    ++trackingDepth;
    View* target = pressTarget(where);
    if (target != nullptr) {
        dragView = target;
        dragButton = button;
        target->onMouseDown(context, event);
    } else if (modalView == nullptr && editor != nullptr) {
        editor->backgroundPress(context, where);
    }
    --trackingDepth;
}

void Frame::mouseMoved(DrawContext* context, Point where, int32_t buttons) {
    if (dragView == nullptr) {
        return;
    }
    ++trackingDepth;
    dragView->onMouseMoved(context, MouseEvent{where, buttons, 1});
    --trackingDepth;
}

void Frame::mouseUp(DrawContext* context, Point where, int32_t buttons) {
    if (dragView == nullptr || (buttons & (buttonLeft | buttonMiddle | buttonRight)) != 0) {
        return;  // the drag lasts while any button is held
    }
    View* view = dragView;
    dragView = nullptr;
    ++trackingDepth;
    view->onMouseUp(context, MouseEvent{where, buttons, 1});
    --trackingDepth;
}

void Frame::cancelDrag() {
    View* view = dragView;
    dragView = nullptr;
    if (view != nullptr) {
        view->onMouseCancelled();
    }
}

bool Frame::wheelAt(DrawContext* context, Point where, int32_t buttons, float distance) {
    if (!open || modalView != nullptr) {
        return false;
    }
    for (int32_t i = count - 1; i >= 0; --i) {
        if (views[i]->getMouseEnabled() && views[i]->containsPoint(where)) {
            return views[i]->onMouseWheel(context, MouseEvent{where, buttons, 1}, distance);
        }
    }
    return false;
}

void Frame::showWindow() {
    if (windowState != nullptr) {
        port::showWindow(*windowState);
    }
    dirty = true;
}

void Frame::hideWindow() {
    if (windowState != nullptr) {
        port::hideWindow(*windowState);
    }
}

int32_t Frame::onKeyDown(KeyStroke& key) { return offerKey(&View::onKeyDown, key); }

int32_t Frame::onKeyUp(KeyStroke& key) { return offerKey(&View::onKeyUp, key); }

int32_t Frame::offerKey(int32_t (View::*handler)(KeyStroke&), KeyStroke& key) {
    if (modalView != nullptr) {
        const int32_t result = (modalView->*handler)(key);
        if (result != -1) {
            return result;
        }
    }
    for (int32_t i = count - 1; i >= 0; --i) {
        const int32_t result = (views[i]->*handler)(key);
        if (result != -1) {
            return result;
        }
    }
    return -1;
}

bool Frame::onDrop(void** items, int32_t itemCount, int32_t type, Point& where) {
    if (modalView != nullptr) {
        return false;
    }
    for (int32_t i = count - 1; i >= 0; --i) {
        View* view = views[i];
        if (view->getMouseEnabled() && inside(view->getSize(), where) &&
            view->onDrop(items, itemCount, type, where)) {
            return true;
        }
    }
    return false;
}

bool Frame::onWheel(DrawContext* context, const Point& /*where*/, float distance) {
    View* view = viewUnderMouse();
    if (view == nullptr) {
        return false;
    }
    Point location;
    if (context != nullptr) {
        mouseLocation(location);
        return view->onWheel(context, location, distance);
    }
    WindowContext temporary(this, getWindow());
    mouseLocation(location);
    return view->onWheel(temporary.get(), location, distance);
}

View* Frame::viewUnderMouse() {
    Point location;
    mouseLocation(location);
    for (int32_t i = count - 1; i >= 0; --i) {
        if (inside(views[i]->getSize(), location)) {
            return views[i];
        }
    }
    return nullptr;
}

bool Frame::mouseLocation(Point& where) {
    where = port::cursorPosition();
    void* window = getWindow();
    if (window != nullptr) {
        const Point origin = port::windowPosition(window);
        where = scale.unscaled(Point{where.h - origin.h, where.v - origin.v});
    }
    return true;
}

void Frame::update(DrawContext* context) {
    if (!open) {
        return;
    }
    if (modalView != nullptr) {
        modalView->update(context);
        return;
    }
    if (dirty) {
        draw(context);
        dirty = false;
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        views[i]->update(context);
    }
}

bool Frame::anythingDirty() {
    if (modalView != nullptr || dirty) {
        return true;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (views[i]->isDirty()) {
            return true;
        }
    }
    return false;
}

void Frame::idleRedraw() {
    void* window = getWindow();
    if (window != nullptr && open) {
        port::pumpEvents(window);
    }
    if (!open || firstDrawPending || !anythingDirty()) {
        return;
    }
    WindowContext context(this, window);
    if (context.valid()) {
        update(context.get());
    }
}

void Frame::redrawView(View* view) {
    const int32_t index = view != nullptr ? indexOf(view) : -1;
    WindowContext context(this, getWindow());
    if (!context.valid()) {
        return;
    }
    if (index >= 0) {
        view->draw(context.get());
    } else {
        draw(context.get());
    }
}

bool Frame::addView(View* view) {
    if (view == nullptr) {
        return false;
    }
    if (count == capacity) {
        const int32_t newCapacity = capacity + kViewGrowth;
        auto* grown = static_cast<View**>(
            std::realloc(static_cast<void*>(views), sizeof(View*) * static_cast<size_t>(newCapacity)));
        if (grown == nullptr) {
            return false;
        }
        views = grown;
        capacity = newCapacity;
    }
    views[count++] = view;
    view->setFrame(this);
    view->onAttached(this);
    return true;
}

bool Frame::removeView(View* view, bool release) {
    const int32_t index = indexOf(view);
    if (index < 0) {
        return true;
    }
    if (view == dragView) {
        cancelDrag();
    }
    for (int32_t i = index; i + 1 < count; ++i) {
        views[i] = views[i + 1];
    }
    --count;
    view->onDetached(this);
    if (release) {
        view->release();
    }
    return true;
}

bool Frame::removeAllViews(bool release) {
    cancelDrag();
    for (int32_t i = 0; i < count; ++i) {
        views[i]->onDetached(this);
        if (release) {
            views[i]->release();
        }
    }
    std::free(static_cast<void*>(views));
    views = nullptr;
    count = 0;
    capacity = 0;
    return true;
}

bool Frame::hasView(View* view) { return indexOf(view) >= 0; }

int32_t Frame::viewCount() { return count; }

View* Frame::viewAt(int32_t index) { return (index >= 0 && index < count) ? views[index] : nullptr; }

int32_t Frame::indexOf(View* view) const {
    for (int32_t i = 0; i < count; ++i) {
        if (views[i] == view) {
            return i;
        }
    }
    return -1;
}

int32_t Frame::setModalView(View* view) {
    if (view != nullptr && modalView != nullptr) {
        return 0;
    }
    if (modalView != nullptr) {
        if (modalView == dragView) {
            cancelDrag();
        }
        modalView->onDetached(this);
    }
    modalView = view;
    if (modalView != nullptr) {
        modalView->onAttached(this);
    }
    return 1;
}

void Frame::setCursor(int32_t kind) { port::setCursor(*windowState, kind); }

void Frame::setBackground(Bitmap* bitmap) {
    if (bitmap != nullptr) {
        bitmap->addRef();
    }
    if (background != nullptr) {
        background->release();
    }
    background = bitmap;
}
