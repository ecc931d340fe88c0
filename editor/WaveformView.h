// WaveformView: an overview of the freeze buffer, one line per pixel column.
#pragma once

#include <cstdint>

#include "gui/View.h"

class Bitmap;
class FreezePlugin;
class OffscreenContext;

// GUI thread only. Takes no input.
class WaveformView : public View {
public:
    static constexpr int32_t columnCount = 1000;

    // image: a blank picture of width x height, not owned, which must outlive the view.
    WaveformView(const Rect& size, FreezePlugin& effect, int32_t width, int32_t height, int32_t left,
                 int32_t top, Bitmap* image);
    ~WaveformView() override;

    void draw(DrawContext* context) override;
    // The idle's redraw: copies the picture only when it was rendered anew.
    void update(DrawContext* context) override;
    // Resamples the freeze buffers into the columns and marks the view dirty.
    virtual void updateFromEffect();

    int32_t column(int32_t index) const { return index >= 0 && index < columnCount ? columns[index] : 0; }

private:
    void render(bool recording);

    FreezePlugin& effect;
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
    Bitmap* image;
    int32_t columns[columnCount] = {};
    // The picture as last rendered, kept so that an unchanged one is only copied again.
    OffscreenContext* context = nullptr;
    int32_t drawnColumns[columnCount] = {};
    bool drawnRecording = false;
    bool rendered = false;
    bool onlyChanges = false;
};
