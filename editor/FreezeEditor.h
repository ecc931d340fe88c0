// FreezeEditor: the plug-in's own editor: the background, the six views of the window, and the
// idle that makes the effect's live state visible.
#pragma once

#include <cstdint>

#include "editor/GuiEditor.h"
#include "gui/Control.h"

class Bitmap;
class FreezePlugin;
class MidiModePanel;
class PopupPicture;
class SliderBank;
class StepPanel;
class ValueDisplay;
class WaveformView;
class ZoomMenu;

// User-interface thread, except setParameter.
class FreezeEditor : public GuiEditor, public ControlListener {
public:
    static constexpr int32_t backgroundResource = 128;
    static constexpr int32_t helpResource = 133;

    // host: the format's side (may be null).
    FreezeEditor(FreezePlugin& plugin, EditorHost* host);
    ~FreezeEditor() override;

    // The window's size at the scale it has (open) or would open at.
    int32_t getRect(EditorRect** rect) override;
    // Builds the window and its views from the effect's current state; 0 when no window could
    // be made at all.
    int32_t open(void* parent) override;
    void close() override;
    // Resamples the waveform, marks the slider bank and step panel dirty, then redraws. A scale
    // that changed since the window opened builds it again at the new size (the host is asked
    // to resize its window).
    void idle() override;
    void setParameter(int32_t index, float value) override;
    // A right click on the product's name opens the zoom menu.
    void backgroundPress(DrawContext* context, const Point& where) override;
    ZoomMenu* getZoomMenu() const { return zoomMenu; }
    // The help picture reports its changes here; nothing to do.
    void valueChanged(DrawContext* context, Control* control) override;

    // The views while the window is open (any may be missing if it could not be made).
    WaveformView* getWaveformView() const { return waveformView; }
    SliderBank* getSliderBank() const { return sliderBank; }
    StepPanel* getStepPanel() const { return stepPanel; }
    ValueDisplay* getHelpLabel() const { return helpLabel; }
    PopupPicture* getHelpPicture() const { return helpPicture; }
    MidiModePanel* getMidiModePanel() const { return midiModePanel; }

private:
    void addViews();
    void releaseImages();
    // The background for a scale (its artwork, and the window rectangle from it).
    void useScale(Scale wanted);
    // Rebuilds the open window at the scale the sources give now, if that changed.
    void followScale();

    FreezePlugin* freezeEffect;
    // The scale of the size getRect answered before the window opened.
    Scale answeredScale;
    bool sizeAnswered = false;
    Bitmap* background = nullptr;
    WaveformView* waveformView = nullptr;
    SliderBank* sliderBank = nullptr;
    StepPanel* stepPanel = nullptr;
    ValueDisplay* helpLabel = nullptr;
    ZoomMenu* zoomMenu = nullptr;
    PopupPicture* helpPicture = nullptr;
    MidiModePanel* midiModePanel = nullptr;
    // Off-screen images of the self-drawing views, owned from open to close.
    Bitmap* waveformImage = nullptr;
    Bitmap* sliderImage = nullptr;
    Bitmap* stepImage = nullptr;
    Bitmap* midiImage = nullptr;
};
