// ZoomMenu: the entries that fit the screen, drawing and picking a zoom.
#include "editor/ZoomMenu.h"

#include <cstdio>

#include "editor/GuiEditor.h"
#include "editor/PanelPaint.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/Port.h"
#include "gui/Scale.h"

namespace {

constexpr Color kMenu{250, 250, 250, 0};
constexpr Color kChosen{247, 153, 57, 0};
constexpr Color kWarning{200, 40, 40, 0};
constexpr Rect kWholeWindow{0, 0, 525, 300};
constexpr int32_t kLeft = 405;
constexpr int32_t kRight = 505;
constexpr int32_t kBottom = 272;
constexpr int32_t kHeading = 16;
constexpr int32_t kRowHeight = 18;

}  // namespace

ZoomMenu::ZoomMenu(Frame* owner, GuiEditor& menuEditor) : Control(kWholeWindow, nullptr, 0), editor(menuEditor) {
    setFrame(owner);
    setDirty(false);
}

bool ZoomMenu::open(DrawContext* context) {
    if (shown || frame == nullptr || frame->setModalView(this) == 0) {
        return false;
    }
    // A window larger than the screen leaves the way back off the screen: only zooms that fit.
    const Point area = port::workArea(frame->getParentWindow());
    count = 0;
    entries[count++] = kAutomatic;
    for (const int32_t percent : zoomSetting::kChoices) {
        const Scale scale = Scale::fromPercent(percent);
        const bool fits = area.h <= 0 || area.v <= 0 ||
                          (scale.device(kWholeWindow.right) <= area.h && scale.device(kWholeWindow.bottom) <= area.v);
        if (fits || percent == Scale::kMinPercent) {
            entries[count++] = percent;
        }
    }
    shown = true;
    draw(context);
    return true;
}

int32_t ZoomMenu::rowCount() const { return count + (editor.zoomSaveFailed() ? 1 : 0); }

Rect ZoomMenu::box() const { return Rect{kLeft, kBottom - kHeading - kRowHeight * rowCount(), kRight, kBottom}; }

Rect ZoomMenu::row(int32_t i) const {
    if (i < 0 || i >= rowCount()) {
        return Rect{};
    }
    const int32_t top = box().top + kHeading + kRowHeight * i;
    return Rect{kLeft, top, kRight, top + kRowHeight};
}

Rect ZoomMenu::rowOf(int32_t percent) const {
    for (int32_t i = 0; i < count; ++i) {
        if (entries[i] == percent) {
            return row(i);
        }
    }
    return Rect{};
}

void ZoomMenu::draw(DrawContext* context) {
    if (shown) {
        const Rect outline = box();
        panelPaint::fillAndOutline(context, outline, kMenu, panelPaint::kInk);
        context->setFont(3, 11, faceBold);
        context->setTextColor(panelPaint::kInk);
        context->drawText("Zoom", Rect{outline.left, outline.top + 1, outline.right, outline.top + kHeading}, false);
        context->setFont(3, 11, 0);
        const int32_t current = editor.getUserZoom();
        for (int32_t i = 0; i < count; ++i) {
            const Rect line = row(i);
            const bool chosen = entries[i] == current;
            panelPaint::fillAndOutline(context, Rect{line.left + 4, line.top, line.right - 4, line.bottom - 2},
                                       chosen ? kChosen : kMenu, chosen ? panelPaint::kInk : kMenu);
            char text[16];
            if (entries[i] == kAutomatic) {
                std::snprintf(text, sizeof text, "Automatic");
            } else {
                std::snprintf(text, sizeof text, "%d %%", static_cast<int>(entries[i]));
            }
            context->drawText(text, line, false);
        }
        if (editor.zoomSaveFailed()) {
            context->setTextColor(kWarning);
            context->drawText("not saved!", row(count), false);
        }
    }
    setDirty(false);
}

void ZoomMenu::mouse(DrawContext* context, Point& where) {
    if (!shown || frame == nullptr || (context->mouseButtons() & (buttonLeft | buttonRight)) == 0) {
        return;
    }
    int32_t picked = -1;
    for (int32_t i = 0; i < count; ++i) {
        const Rect line = row(i);
        if (line.left <= where.h && where.h < line.right && line.top <= where.v && where.v < line.bottom) {
            picked = i;
        }
    }
    // Chosen after the search: a save that fails adds a row, which moves the others.
    if (picked >= 0) {
        editor.chooseZoom(entries[picked]);
    }
    shown = false;
    frame->setModalView(nullptr);
    frame->draw(context);
}
