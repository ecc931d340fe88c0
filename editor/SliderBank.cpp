// SliderBank: drawing from the effect's values and the mouse tracking loop.
#include "editor/SliderBank.h"

#include "editor/DisplayMath.h"
#include "editor/PanelPaint.h"
#include "plugin/FreezePlugin.h"
#include "gui/DrawContext.h"
#include "gui/OffscreenContext.h"

namespace {

using panelPaint::fillAndOutline;

using panelPaint::kBar;
using panelPaint::kInk;
using panelPaint::kPanel;
using panelPaint::kTrough;

constexpr Color kGroup{248, 234, 206, 0};
constexpr Color kBarEdge{110, 110, 110, 0};
constexpr Color kLabel{250, 250, 250, 0};
constexpr Color kTypeBox{248, 244, 236, 0};
constexpr Color kHeading{247, 153, 57, 0};
constexpr Color kMeter{220, 220, 235, 0};
constexpr Color kMeterMidi{140, 140, 140, 0};
constexpr Color kBelowThreshold{192, 206, 246, 0};
constexpr Color kEnvelope{240, 130, 130, 0};
constexpr Color kInverseOn{240, 190, 190, 0};
constexpr Color kInverseOff{230, 230, 230, 0};

// Slider zones reach this far above and below the slider.
constexpr int32_t kZoneTop = 2;
constexpr int32_t kZoneBottom = 99;

}  // namespace

// First left 5, step 28, 7 more after the seventh slider and 45 more after the ninth.
const Rect SliderBank::sliderRects[sliderCount] = {{5, 7, 24, 94},    {33, 7, 52, 94},   {61, 7, 80, 94},
                                                   {89, 7, 108, 94},  {117, 7, 136, 94}, {145, 7, 164, 94},
                                                   {173, 7, 192, 94}, {208, 7, 227, 94}, {236, 7, 255, 94},
                                                   {309, 7, 328, 94}, {337, 7, 356, 94}};
const char* const SliderBank::sliderLabels[sliderCount] = {
    sliderParameter(0).editor.label, sliderParameter(1).editor.label, sliderParameter(2).editor.label,
    sliderParameter(3).editor.label, sliderParameter(4).editor.label, sliderParameter(5).editor.label,
    sliderParameter(6).editor.label, sliderParameter(7).editor.label, sliderParameter(8).editor.label,
    sliderParameter(9).editor.label, sliderParameter(10).editor.label};
const char* const SliderBank::typeLabels[5] = {kFilterTypeNames[0], kFilterTypeNames[1], kFilterTypeNames[2],
                                               kFilterTypeNames[3], "MIDI!"};
const char* const SliderBank::inverseLabels[2] = {"inv", "inv"};

SliderBank::SliderBank(const Rect& area, FreezePlugin& owner, int32_t panelWidth, int32_t panelHeight,
                       int32_t panelLeft, int32_t panelTop, Bitmap* panelImage)
    : EditorPanel(area, owner, panelWidth, panelHeight, panelLeft, panelTop, panelImage) {}

int32_t SliderBank::sliderNumber(int32_t slider, float value) {
    const EditorView& view = sliderParameter(slider).editor;
    return displayMath::truncated(view.numberScale * static_cast<double>(value) + view.numberOffset);
}

SliderBank::Shown SliderBank::readEffect() {
    Shown shown;
    for (int32_t i = 0; i < sliderCount; ++i) {
        const float v = effect.getProgramValue(i);
        sliderValues[i] = v;
        shown.barHeights[static_cast<size_t>(i)] = displayMath::barHeight(v, sliderTravel);
        shown.numbers[static_cast<size_t>(i)] = sliderNumber(i, v);
    }
    shown.types = {static_cast<int32_t>(effect.getPreFilterType()),
                   static_cast<int32_t>(effect.getPostFilterType())};
    inverseShown = effect.isInverse();
    shown.inverse = inverseShown;
    const float envelope = displayMath::limited(effect.getEnvelope(), 0.0f, 1.0f);
    shown.envelopeHeight = displayMath::truncated(static_cast<double>(meterTravel * envelope));
    thresholdValue = effect.getThreshold();
    // Only the drawing is limited: a threshold the host set outside 0..1 stays in the effect.
    const float shownThreshold = displayMath::limited(thresholdValue, 0.0f, 1.0f);
    shown.thresholdLine =
        meterRect.bottom - displayMath::truncated(static_cast<double>(meterTravel * shownThreshold));
    shown.midiRecord = effect.isNoteRecordStart();
    return shown;
}

void SliderBank::draw(DrawContext* windowContext) {
    if (offscreen(windowContext) == nullptr) {
        return;
    }
    const Shown shown = readEffect();
    if (!rendered) {
        drawStatic();
    }
    for (int32_t i = 0; i < sliderCount; ++i) {
        const auto at = static_cast<size_t>(i);
        if (!rendered || shown.barHeights[at] != drawn.barHeights[at] ||
            shown.numbers[at] != drawn.numbers[at]) {
            drawSlider(i, shown);
        }
    }
    for (int32_t which = 0; which < 2; ++which) {
        if (!rendered || shown.types[static_cast<size_t>(which)] != drawn.types[static_cast<size_t>(which)]) {
            drawTypeBox(which, shown);
        }
    }
    if (!rendered || !shown.sameMeter(drawn)) {
        drawMeter(shown);
    }
    if (!rendered || shown.inverse != drawn.inverse) {
        drawInverse(shown);
    }
    drawn = shown;
    rendered = true;
    present(windowContext);
}

void SliderBank::drawStatic() {
    changed(Rect{0, 0, width - 1, height - 1});
    fillAndOutline(context, Rect{0, 0, width - 1, height - 1}, kPanel, kInk);
    fillAndOutline(context, preGroupRect, kGroup, kInk);
    fillAndOutline(context, postGroupRect, kGroup, kInk);
    // The headings' opaque boxes take the group colour, the fill colour now.
    useFont(3, 10, faceBold);
    context->setTextColor(kHeading);
    context->drawText("PRE", Rect{260, 10, 290, 25}, true);
    context->drawText("POST", Rect{360, 10, 390, 25}, true);
    useFont(6, 9, 0);
    context->setTextColor(kInk);
    for (int32_t i = 0; i < sliderCount; ++i) {
        const Rect& slider = sliderRects[i];
        const Rect label{slider.left - 2, slider.bottom + 5, slider.right + 3, slider.bottom + 19};
        fillAndOutline(context, label, kLabel, kInk);
        context->drawText(sliderLabels[i], label, true);
    }
    const Rect label{408, 100, 449, 114};
    fillAndOutline(context, label, kLabel, kInk);
    context->drawText(meterLabel, label, false);
}

void SliderBank::drawSlider(int32_t i, const Shown& shown) {
    const Rect& slider = sliderRects[i];
    changed(slider);
    useFont(6, 9, 0);
    context->setTextColor(kInk);
    context->setFillColor(kTrough);
    context->fillRect(slider);
    const int32_t barHeight = shown.barHeights[static_cast<size_t>(i)];
    fillAndOutline(context, Rect{slider.left, slider.bottom - barHeight, slider.right, slider.bottom}, kBar,
                   kBarEdge);
    context->setLineColor(kInk);
    context->strokeRect(slider);
    context->drawText(displayMath::NumberText(shown.numbers[static_cast<size_t>(i)]).text, slider, false);
}

void SliderBank::drawTypeBox(int32_t which, const Shown& shown) {
    const Rect& box = which == 0 ? preTypeRect : postTypeRect;
    changed(box);
    useFont(3, 9, 0);
    context->setTextColor(kInk);
    fillAndOutline(context, box, kTypeBox, kInk);
    context->drawText(typeLabels[shown.types[static_cast<size_t>(which)]], box, true);
}

void SliderBank::drawMeter(const Shown& shown) {
    changed(meterRect);
    fillAndOutline(context, meterRect, shown.midiRecord ? kMeterMidi : kMeter, kInk);
    if (!shown.midiRecord) {
        context->setFillColor(kBelowThreshold);
        context->fillRect(Rect{meterRect.left, shown.thresholdLine, meterRect.right, meterRect.bottom});
        context->setFillColor(kEnvelope);
        context->fillRect(
            Rect{meterRect.left, meterRect.bottom - shown.envelopeHeight, meterRect.right, meterRect.bottom});
        context->setLineColor(kInk);
        context->moveTo(Point{meterRect.left, shown.thresholdLine});
        context->lineTo(Point{meterRect.right, shown.thresholdLine});
    } else {
        useFont(6, 9, 0);
        context->setTextColor(kLabel);
        context->drawText(typeLabels[4], meterRect, false);
    }
}

void SliderBank::drawInverse(const Shown& shown) {
    changed(inverseRect);
    useFont(6, 9, 0);
    context->setTextColor(kInk);
    fillAndOutline(context, inverseRect, shown.inverse ? kInverseOn : kInverseOff, kInk);
    context->drawText(inverseLabels[shown.inverse ? 1 : 0], inverseRect, true);
}

int32_t SliderBank::sliderAt(const Point& where) const {
    for (int32_t i = 0; i < sliderCount; ++i) {
        if (inZone(Rect{sliderRects[i].left, kZoneTop, sliderRects[i].right, kZoneBottom}, where)) {
            return i;
        }
    }
    return -1;
}

void SliderBank::onMouseDown(DrawContext* windowContext, const MouseEvent& event) {
    endDrag();
    dragState.active = true;
    dragState.fine.start();
    if (asksReset(event)) {
        const int32_t slider = sliderAt(event.where);
        const int32_t parameter =
            slider >= 0 ? parameterOfSlot(slider) : (inZone(meterRect, event.where) ? kParamThreshold : -1);
        if (parameter >= 0) {
            effect.editOnce(parameter, FreezePlugin::defaultOf(parameter));
            draw(windowContext);
            dragState.over = true;
            return;
        }
    }
    dragTo(windowContext, event);
}

void SliderBank::onMouseMoved(DrawContext* windowContext, const MouseEvent& event) {
    if (dragState.active && !dragState.over) {
        dragTo(windowContext, event);
    }
}

void SliderBank::onMouseUp(DrawContext*, const MouseEvent&) { endDrag(); }

void SliderBank::onMouseCancelled() { endDrag(); }

void SliderBank::endDrag() {
    if (dragState.sliderEdit >= 0) {
        effect.endEdit(dragState.sliderEdit);
    }
    if (dragState.thresholdEdit) {
        effect.endEdit(kParamThreshold);
    }
    dragState = Drag();
}

void SliderBank::dragTo(DrawContext* windowContext, const MouseEvent& event) {
    Drag& drag = dragState;
    const Point& where = event.where;
    const bool shift = (event.buttons & modShift) != 0;
    const int32_t slider = sliderAt(where);
    if (slider >= 0) {
        const float positional = displayMath::limited(
            static_cast<float>(top + kZoneBottom - where.v) / static_cast<float>(sliderTravel), 0.0f, 1.0f);
        drag.sliderValue =
            drag.fine.follow(positional, effect.getProgramValue(slider), where.v, sliderTravel, shift, slider);
        drag.slider = slider;
    }
    if (drag.slider >= 0) {
        // Sent on every event, also outside the zones: the value of the last slider touched.
        const int32_t parameter = parameterOfSlot(drag.slider);
        if (drag.sliderEdit != parameter) {
            if (drag.sliderEdit >= 0) {
                effect.endEdit(drag.sliderEdit);
            }
            effect.beginEdit(parameter);
            drag.sliderEdit = parameter;
        }
        effect.edit(parameter, drag.sliderValue);
    }
    if (inZone(meterRect, where)) {
        const float positional =
            static_cast<float>(top + meterRect.bottom - where.v) / static_cast<float>(meterTravel);
        const float threshold =
            drag.fine.follow(positional, effect.getThreshold(), where.v, meterTravel, shift, sliderCount);
        if (!drag.thresholdEdit) {
            effect.beginEdit(kParamThreshold);
            drag.thresholdEdit = true;
        }
        effect.edit(kParamThreshold, threshold);
    }
    if (inZone(inverseRect, where) && !drag.inverseDone) {
        effect.editOnce(controlOfSetting(Setting::inverse), effect.isInverse() ? 0.0f : 1.0f);
        drag.inverseDone = true;
    }
    const bool onPre = inZone(preTypeRect, where);
    if (onPre || inZone(postTypeRect, where)) {
        const FilterType current = onPre ? effect.getPreFilterType() : effect.getPostFilterType();
        effect.editOnce(controlOfSetting(onPre ? Setting::preFilterType : Setting::postFilterType),
                        static_cast<float>(nextFilterType(static_cast<int32_t>(current))));
        drag.over = true;
    }
    draw(windowContext);
}

bool SliderBank::onMouseWheel(DrawContext* windowContext, const MouseEvent& event, float distance) {
    const float fine = (event.buttons & modShift) != 0 ? 0.1f : 1.0f;
    const int32_t slider = sliderAt(event.where);
    int32_t parameter = -1;
    float unit = 0.0f;
    if (slider >= 0) {
        parameter = parameterOfSlot(slider);
        const double scale = sliderParameter(slider).editor.numberScale;
        unit = scale > 0.0 ? static_cast<float>(1.0 / scale) : 0.01f;
    } else if (inZone(meterRect, event.where)) {
        parameter = kParamThreshold;
        unit = 1.0f / static_cast<float>(meterTravel);
    }
    if (parameter < 0 || !(distance == distance)) {
        return false;
    }
    const float now = displayMath::limited(effect.getParameter(parameter), 0.0f, 1.0f);
    effect.editOnce(parameter, displayMath::limited(now + distance * unit * fine, 0.0f, 1.0f));
    draw(windowContext);
    return true;
}
