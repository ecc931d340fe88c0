// View: default behaviour of every virtual operation.
#include "gui/View.h"

#include "gui/Frame.h"

View::View(const Rect& rect) : size(rect), mouseArea(rect) {}

View::~View() = default;

void View::draw(DrawContext* /*context*/) {}

void View::drawRect(DrawContext* context, const Rect& /*updateRect*/) { draw(context); }

bool View::intersects(const Rect& updateRect) {
    return !(updateRect.right < size.left || size.right < updateRect.left || updateRect.bottom < size.top ||
             size.bottom < updateRect.top);
}

void View::mouse(DrawContext* /*context*/, Point& /*where*/) {}

void View::onMouseDown(DrawContext* context, const MouseEvent& event) {
    Point where = event.where;
    mouse(context, where);
}

void View::onMouseMoved(DrawContext* /*context*/, const MouseEvent& /*event*/) {}

void View::onMouseUp(DrawContext* /*context*/, const MouseEvent& /*event*/) {}

void View::onMouseCancelled() {}

void View::update(DrawContext* context) {
    if (isDirty()) {
        draw(context);
        setDirty(false);
    }
}

int32_t View::onKeyDown(KeyStroke& /*key*/) { return -1; }

int32_t View::onKeyUp(KeyStroke& /*key*/) { return -1; }

bool View::onDrop(void** /*items*/, int32_t /*count*/, int32_t /*type*/, Point& /*where*/) { return false; }

bool View::onWheel(DrawContext* /*context*/, const Point& /*where*/, float /*distance*/) { return false; }

bool View::onMouseWheel(DrawContext* context, const MouseEvent& event, float distance) {
    return onWheel(context, event.where, distance);
}

bool View::isDirty() { return dirty; }

void View::setDirty(bool state) { dirty = state; }

void View::setMouseEnabled(bool state) { mouseEnabled = state; }

bool View::getMouseEnabled() { return mouseEnabled; }

void View::setMouseArea(const Rect& rect) { mouseArea = rect; }

void View::getMouseArea(Rect& rect) { rect = mouseArea; }

bool View::containsPoint(const Point& where) {
    return size.left <= where.h && where.h <= size.right && size.top <= where.v && where.v <= size.bottom;
}

void View::setTransparent(bool state) { transparent = state; }

bool View::isTransparent() { return transparent; }

void View::setSize(const Rect& rect) {
    size = rect;
    setDirty(true);
}

void View::setFrame(Frame* newFrame) { frame = newFrame; }

void View::setParentView(View* parent) { parentView = parent; }

FrameOwner* View::getEditor() { return frame != nullptr ? frame->getEditor() : nullptr; }

bool View::onDetached(View* /*parent*/) { return true; }

bool View::onAttached(View* /*parent*/) { return true; }

void View::release() {
    if (referenceCount <= 0) {
        return;
    }
    if (--referenceCount == 0) {
        delete this;
    }
}

void View::addRef() { ++referenceCount; }

int32_t View::refCount() { return referenceCount; }
