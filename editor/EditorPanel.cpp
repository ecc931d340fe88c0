// EditorPanel: the off-screen image and the copy to the window.
#include "editor/EditorPanel.h"

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

void EditorPanel::present(DrawContext* destination) {
    context->blitTo(destination, Rect{left, top, left + width, top + height}, Point{0, 0});
    setDirty(false);
}

bool EditorPanel::inZone(const Rect& local, const Point& where) const {
    return left + local.left <= where.h && where.h <= left + local.right && top + local.top <= where.v &&
           where.v <= top + local.bottom;
}

