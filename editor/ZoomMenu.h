// ZoomMenu: the editor's zooms offered over the window (a right click on the product's name opens
// it); the user's pick is kept for every instance and applied at the next idle.
#pragma once

#include <cstdint>

#include "editor/ZoomSetting.h"
#include "gui/Control.h"

class GuiEditor;

// GUI thread only. Not one of the Frame's views: while open it is the Frame's modal view over the
// whole window, where a click on a zoom picks it and any click closes the menu. It offers
// "Automatic" (the host's and the screen's factor) and the zooms whose window fits the work area
// of the screen (100 % always), and says so when the last pick could not be saved.
class ZoomMenu : public Control {
public:
    // The entry of "Automatic".
    static constexpr int32_t kAutomatic = 0;

    ZoomMenu(Frame* frame, GuiEditor& editor);

    // Shows the menu; false when the Frame shows another modal view.
    bool open(DrawContext* context);
    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point& where) override;

    bool isOpen() const { return shown; }
    // The entries while open: kAutomatic, then the zooms offered in percent.
    int32_t entryCount() const { return count; }
    int32_t entry(int32_t i) const { return i >= 0 && i < count ? entries[i] : -1; }
    // The editor rectangle of the menu's box and of the row of entry i (none: an empty rect).
    Rect box() const;
    Rect row(int32_t i) const;
    // The row offering a zoom (kAutomatic for that entry); an empty rect when it is not offered.
    Rect rowOf(int32_t percent) const;

private:
    // The rows under the entries: the notice that a pick was not saved.
    int32_t rowCount() const;

    GuiEditor& editor;
    bool shown = false;
    int32_t entries[zoomSetting::kChoiceCount + 1] = {};
    int32_t count = 0;
};
