// GuiEditor: an editor with a window: the rectangle answered to the host, the Frame, and key and
// wheel forwarding.
#pragma once

#include <atomic>
#include <cstdint>

#include "editor/EditorHost.h"
#include "gui/FrameOwner.h"
#include "gui/KeyStroke.h"
#include "gui/Scale.h"

class Frame;

// User-interface thread, except setParameter and requestRefresh (any thread that sets
// parameters).
class GuiEditor : public FrameOwner {
public:
    // host: the format's side of the editor; may be null (no resizing, no host idle).
    explicit GuiEditor(EditorHost* host);
    GuiEditor(const GuiEditor&) = delete;
    GuiEditor& operator=(const GuiEditor&) = delete;
    virtual ~GuiEditor();

    // Stores a pointer to the editor rectangle through rect; answers 1, or 0 when there is none.
    virtual int32_t getRect(EditorRect** rect);
    virtual int32_t open(void* parent);
    virtual void close() {}
    virtual void idle();
    virtual void refresh() {}
    // -1: key not used.
    int32_t keyDown(KeyStroke& key);
    int32_t keyUp(KeyStroke& key);
    int32_t setKnobMode(int32_t mode);
    bool onWheel(float distance);
    // A parameter changed in the plug-in; the editor shows it at its next idle.
    virtual void setParameter(int32_t index, float value);
    void requestRefresh() { refreshRequested.store(1, std::memory_order_relaxed); }
    bool isRefreshRequested() const { return refreshRequested.load(std::memory_order_relaxed) != 0; }

    // Draws every view now.
    virtual void redraw();
    bool isClosing() const override { return closePending; }
    void screenChanged() override { screenScaleKnown = false; }

    // The host's word on the scale (effVendorSpecific 'PreS' 'AeCs', or the LV2 UI's scale
    // factor): used unless the user chose a zoom. Not finite or not above 0: forgotten, false.
    bool setScaleFactor(float factor);
    // The user's zoom in percent (one of zoomSetting::kChoices, 0 for none: the host's and the
    // screen's factor): kept for every instance and used from the next idle on; false when it
    // could not be saved for them (this instance uses it all the same).
    bool chooseZoom(int32_t percent);
    int32_t getUserZoom() const { return userZoom; }
    bool zoomSaveFailed() const { return saveFailed; }
    // The scale the window is drawn at (while open; otherwise the one it would open at).
    Scale getScale() const { return scale; }

    Frame* getFrame() const { return frame; }
    // The knob mode the last host asked for (process-wide, read by nobody else).
    static int32_t knobMode();

protected:
    EditorHost* host;
    void* parentWindow = nullptr;
    // Set by host threads, cleared at idle on the user-interface thread.
    std::atomic<int32_t> refreshRequested{0};
    EditorRect editorRect{0, 0, 0, 0};
    Frame* frame = nullptr;
    // The host closed the window while a view handled an event (from a gesture it was told
    // of): the views are still on the stack, so the window goes at the next idle, open or
    // destruction.
    bool closePending = false;
    // Whether a window is open, for setParameter on host threads.
    std::atomic<bool> windowOpen{false};

    // The scale the sources give now, in order: the user's zoom, the host's word, the screen of
    // parent (read again only when it may have changed).
    Scale wantedScale(void* parent);
    // Reads the user's saved zoom (at each open: another instance may have chosen one).
    void readUserZoom();

    Scale scale;
    float hostFactor = 0.0f;  // 0: the host said nothing
    int32_t userZoom = 0;     // 0: no choice
    bool saveFailed = false;  // the last choice could not be written
    float screenFactor = 1.0f;
    bool screenScaleKnown = false;
};
