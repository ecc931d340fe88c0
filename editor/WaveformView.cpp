// WaveformView: resampling the freeze buffers and drawing the columns.
#include "editor/WaveformView.h"

#include <algorithm>
#include <new>

#include "editor/DisplayMath.h"
#include "editor/PanelPaint.h"
#include "plugin/FreezePlugin.h"
#include "gui/OffscreenContext.h"

namespace {

constexpr Color kWaiting{235, 235, 235, 0};
constexpr Color kRecording{235, 185, 185, 0};
constexpr Color kEdge = colorBlack;
constexpr Color kTrace{100, 100, 250, 0};

// Below this many samples nothing has been recorded: show one second at 44.1 kHz.
constexpr int32_t kShortestLoop = 10;
constexpr int32_t kUnrecordedLength = 44100;

// One channel's sample scaled to the view's height. Samples far beyond full scale (the buffers
// hold whatever finite input came in) draw the same clipped line, so they are limited here.
int32_t scaled(float sample, int32_t height) {
    const float limit = 4.0f;
    return displayMath::truncated(
        static_cast<double>(static_cast<float>(height) * displayMath::limited(sample, -limit, limit)));
}

// The recorder writes the buffers on the audio thread while this reads them, without a lock by
// design: a stale sample changes one column for one picture. Thread sanitizer runs are told so.
#if defined(__SANITIZE_THREAD__)
#define BRINDLE_RACY_READ __attribute__((noinline, no_sanitize_thread))
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define BRINDLE_RACY_READ __attribute__((noinline, no_sanitize_thread))
#endif
#endif
#ifndef BRINDLE_RACY_READ
#define BRINDLE_RACY_READ
#endif

BRINDLE_RACY_READ float bufferSample(const float* buffer, int64_t index) { return buffer[index]; }

}  // namespace

WaveformView::WaveformView(const Rect& area, FreezePlugin& owner, int32_t viewWidth, int32_t viewHeight,
                           int32_t viewLeft, int32_t viewTop, Bitmap* viewImage)
    : View(area), effect(owner), left(viewLeft), top(viewTop),
      // Columns 0..width are written: the width is kept below the column count.
      width(viewWidth < 0 ? 0 : (viewWidth >= columnCount ? columnCount - 1 : viewWidth)), height(viewHeight),
      image(viewImage) {}

void WaveformView::updateFromEffect() {
    int32_t length = effect.getLoopLength();
    if (length < kShortestLoop) {
        length = kUnrecordedLength;
    }
    // The engine keeps loops inside the buffers; the view does not rely on it.
    if (length > kBufferLength - 1) {
        length = kBufferLength - 1;
    }
    int32_t stride = width > 0 ? length / width : 0;
    if (stride < 1) {
        stride = 10;
    }
    const float* bufferLeft = effect.getBufferL();
    const float* bufferRight = effect.getBufferR();
    for (int32_t i = 0; i <= width; ++i) {
        const int64_t at = static_cast<int64_t>(i) * stride;
        if (bufferLeft == nullptr || bufferRight == nullptr || at >= kBufferLength) {
            columns[i] = 0;
            continue;
        }
        const int32_t a = scaled(bufferSample(bufferRight, at), height);
        const int32_t b = scaled(bufferSample(bufferLeft, at), height);
        columns[i] = (a + b) / 2;
    }
    setDirty(true);
}

WaveformView::~WaveformView() { delete context; }

void WaveformView::draw(DrawContext* windowContext) {
    if (image == nullptr || windowContext == nullptr) {
        return;
    }
    if (context == nullptr) {
        context = new (std::nothrow) OffscreenContext(windowContext, image, false);
        if (context != nullptr && !context->isValid()) {
            delete context;
            context = nullptr;
        }
        if (context == nullptr) {
            return;
        }
    }
    const bool recording = effect.isRecording();
    const bool fresh =
        !rendered || recording != drawnRecording || !std::equal(columns, columns + width + 1, drawnColumns);
    if (fresh) {
        render(recording);
    }
    if (fresh || !onlyChanges) {
        context->blitTo(windowContext, Rect{left, top, left + width, top + height}, Point{0, 0});
    }
}

void WaveformView::update(DrawContext* windowContext) {
    onlyChanges = true;
    View::update(windowContext);
    onlyChanges = false;
}

void WaveformView::render(bool recording) {
    panelPaint::fillAndOutline(context, Rect{0, 0, width - 1, height - 1}, recording ? kRecording : kWaiting,
                               kEdge);
    context->setLineColor(kTrace);
    const int32_t mid = height / 2;
    for (int32_t x = 1; x <= width - 2; ++x) {
        const int32_t half = columns[x - 1] / 2;
        context->moveTo(Point{x, mid - half - 1});
        context->lineTo(Point{x, mid + half + 1});
    }
    std::copy(columns, columns + width + 1, drawnColumns);
    drawnRecording = recording;
    rendered = true;
}
