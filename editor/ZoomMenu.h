// ZoomMenu: the editor's zooms offered over the window (a right click on the product's name opens
// it); the user's pick is kept for every instance and applied at the next idle.
#pragma once

#include <cstdint>

#include "gui/Control.h"

class GuiEditor;

// GUI thread only. Not one of the Frame's views: while open it is the Frame's modal view over the
// whole window, where a click on a zoom picks it and any click closes the menu.
class ZoomMenu : public Control {
public:
    ZoomMenu(Frame* frame, GuiEditor& editor);

    // Shows the menu; false when the Frame shows another modal view.
    bool open(DrawContext* context);
    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point& where) override;

    bool isOpen() const { return shown; }
    // The editor rectangle of the menu's box and of its row for zoom choice i.
    static constexpr Rect box{405, 166, 505, 272};
    static Rect row(int32_t i) { return Rect{box.left, box.top + 16 + 18 * i, box.right, box.top + 34 + 18 * i}; }

private:
    GuiEditor& editor;
    bool shown = false;
};
