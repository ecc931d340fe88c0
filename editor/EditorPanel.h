// EditorPanel: a control of the editor that draws itself into an off-screen image, copies it to
// the window, and reads and writes the effect directly instead of through a control value.
#pragma once

#include <cstdint>

#include "gui/Control.h"
#include "gui/DrawContext.h"
#include "gui/Geometry.h"

class Bitmap;
class FreezePlugin;
class OffscreenContext;

// GUI thread only.
class EditorPanel : public Control {
public:
    // size: the panel's area in the editor; image: a blank picture of at least width x height,
    // not owned, which must outlive the panel.
    EditorPanel(const Rect& size, FreezePlugin& effect, int32_t width, int32_t height, int32_t left,
                int32_t top, Bitmap* image);
    ~EditorPanel() override;

    // The idle's redraw: copies to the window only the parts the draw rendered anew (every
    // other entry point copies the whole image: the window under it may have been painted).
    void update(DrawContext* context) override;

protected:
    // The off-screen context, made on the first call and kept; none when it cannot be made.
    OffscreenContext* offscreen(DrawContext* context);
    // Selects a font on the off-screen context unless it is the one selected last: building a
    // font is the dearest drawing step on some systems.
    void useFont(int32_t id, int32_t pixels, int32_t face);
    // Notes a panel-local rectangle (right and bottom inside, as outlines are) as rendered anew.
    void changed(const Rect& local);
    // Copies the panel's image to its place in the window (from the idle: only what changed
    // since the last copy) and clears the dirty flag.
    void present(DrawContext* context);
    // Whether the window point lies in a panel-local rectangle, all four edges included.
    bool inZone(const Rect& local, const Point& where) const;
    // Whether a press asks for the default value: a double-click or a click with Ctrl.
    static bool asksReset(const MouseEvent& event) {
        return event.clicks == 2 || (event.buttons & modControl) != 0;
    }

    FreezePlugin& effect;
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
    Bitmap* image;
    OffscreenContext* context = nullptr;

private:
    static constexpr int32_t kMostChanges = 24;  // beyond: their bounding box is copied
    Rect changes[kMostChanges];
    int32_t changeCount = 0;
    bool tooManyChanges = false;
    bool onlyChanges = false;

    int32_t fontId = -1;
    int32_t fontSize = -1;
    int32_t fontFace = -1;
};
