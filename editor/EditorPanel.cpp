// EditorPanel: the off-screen image and the copy to the window.
#include "editor/EditorPanel.h"

#include <algorithm>
#include <new>

#include "gui/Bitmap.h"
#include "gui/Frame.h"
#include "gui/OffscreenContext.h"

EditorPanel::EditorPanel(const Rect& area, FreezePlugin& owner, int32_t panelWidth, int32_t panelHeight,
                         int32_t panelLeft, int32_t panelTop, Bitmap* panelImage)
    : Control(area, nullptr, 0), effect(owner), left(panelLeft), top(panelTop), width(panelWidth),
      height(panelHeight), image(panelImage) {}

EditorPanel::~EditorPanel() { delete context; }

OffscreenContext* EditorPanel::offscreen(DrawContext* parent) {
    if (context == nullptr && image != nullptr && parent != nullptr) {
        context = new (std::nothrow) OffscreenContext(parent, image, false);
        fontId = fontSize = fontFace = -1;  // a new context has no font of ours yet
        if (context != nullptr && !context->isValid()) {
            delete context;
            context = nullptr;
        }
    }
    return context;
}

void EditorPanel::useFont(int32_t id, int32_t pixels, int32_t face) {
    if (id != fontId || pixels != fontSize || face != fontFace) {
        context->setFont(id, pixels, face);
        fontId = id;
        fontSize = pixels;
        fontFace = face;
    }
}

void EditorPanel::update(DrawContext* destination) {
    onlyChanges = true;
    Control::update(destination);
    onlyChanges = false;
}

void EditorPanel::changed(const Rect& local) {
    const Rect area{local.left, local.top, local.right + 1, local.bottom + 1};
    if (changeCount < kMostChanges) {
        changes[changeCount++] = area;
        return;
    }
    tooManyChanges = true;
    Rect& box = changes[0];
    box = Rect{std::min(box.left, area.left), std::min(box.top, area.top), std::max(box.right, area.right),
               std::max(box.bottom, area.bottom)};
}

void EditorPanel::present(DrawContext* destination) {
    if (!onlyChanges) {
        context->blitTo(destination, Rect{left, top, left + width, top + height}, Point{0, 0});
    } else if (tooManyChanges) {
        // One copy of everything that changed: the bounding box of all the parts.
        Rect box = changes[0];
        for (int32_t i = 1; i < changeCount; ++i) {
            box = Rect{std::min(box.left, changes[i].left), std::min(box.top, changes[i].top),
                       std::max(box.right, changes[i].right), std::max(box.bottom, changes[i].bottom)};
        }
        changes[0] = box;
        changeCount = 1;
    }
    if (onlyChanges) {
        for (int32_t i = 0; i < changeCount; ++i) {
            const Rect area{std::max(changes[i].left, 0), std::max(changes[i].top, 0),
                            std::min(changes[i].right, width), std::min(changes[i].bottom, height)};
            if (area.right > area.left && area.bottom > area.top) {
                context->blitTo(destination, area.offset(left, top), Point{area.left, area.top});
            }
        }
    }
    changeCount = 0;
    tooManyChanges = false;
    setDirty(false);
}

bool EditorPanel::inZone(const Rect& local, const Point& where) const {
    return left + local.left <= where.h && where.h <= left + local.right && top + local.top <= where.v &&
           where.v <= top + local.bottom;
}

