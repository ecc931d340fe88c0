// ZoomMenu: opening, drawing and picking a zoom.
#include "editor/ZoomMenu.h"

#include <cstdio>

#include "editor/GuiEditor.h"
#include "editor/PanelPaint.h"
#include "editor/ZoomSetting.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"

namespace {

constexpr Color kMenu{250, 250, 250, 0};
constexpr Color kChosen{247, 153, 57, 0};
constexpr Rect kWholeWindow{0, 0, 525, 300};

}  // namespace

ZoomMenu::ZoomMenu(Frame* owner, GuiEditor& menuEditor) : Control(kWholeWindow, nullptr, 0), editor(menuEditor) {
    setFrame(owner);
    setDirty(false);
}

bool ZoomMenu::open(DrawContext* context) {
    if (shown || frame == nullptr || frame->setModalView(this) == 0) {
        return false;
    }
    shown = true;
    draw(context);
    return true;
}

void ZoomMenu::draw(DrawContext* context) {
    if (shown) {
        panelPaint::fillAndOutline(context, box, kMenu, panelPaint::kInk);
        context->setFont(3, 11, faceBold);
        context->setTextColor(panelPaint::kInk);
        context->drawText("Zoom", Rect{box.left, box.top + 1, box.right, box.top + 16}, false);
        context->setFont(3, 11, 0);
        const int32_t current = editor.getScale().percent();
        for (int32_t i = 0; i < zoomSetting::kChoiceCount; ++i) {
            const Rect line = row(i);
            const bool chosen = zoomSetting::kChoices[i] == current;
            panelPaint::fillAndOutline(context, Rect{line.left + 4, line.top, line.right - 4, line.bottom - 2},
                                       chosen ? kChosen : kMenu, chosen ? panelPaint::kInk : kMenu);
            char text[16];
            std::snprintf(text, sizeof text, "%d %%", static_cast<int>(zoomSetting::kChoices[i]));
            context->drawText(text, line, false);
        }
    }
    setDirty(false);
}

void ZoomMenu::mouse(DrawContext* context, Point& where) {
    if (!shown || frame == nullptr || (context->mouseButtons() & (buttonLeft | buttonRight)) == 0) {
        return;
    }
    for (int32_t i = 0; i < zoomSetting::kChoiceCount; ++i) {
        const Rect line = row(i);
        if (line.left <= where.h && where.h < line.right && line.top <= where.v && where.v < line.bottom) {
            editor.chooseZoom(zoomSetting::kChoices[i]);
        }
    }
    shown = false;
    frame->setModalView(nullptr);
    frame->draw(context);
}
