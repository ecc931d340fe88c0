// MidiModePanel: drawing the switches from the effect and flipping them on a click.
#include "editor/MidiModePanel.h"

#include "editor/PanelPaint.h"
#include "plugin/FreezePlugin.h"
#include "gui/DrawContext.h"
#include "gui/OffscreenContext.h"

namespace {

constexpr Color kPanel{250, 250, 250, 0};
constexpr Color kOn{247, 153, 57, 0};
constexpr Color kOff{200, 200, 200, 0};
using panelPaint::kInk;

}  // namespace

const Rect MidiModePanel::switchRects[switchCount] = {{5, 5, 110, 20}, {115, 5, 225, 20}, {5, 25, 110, 40}};
const char* const MidiModePanel::switchLabels[switchCount][2] = {
    {"MidiNote-Control OFF", "MidiNote-Control ON"},
    {"Note->RecordStart OFF", "Note->RecordStart ON"},
    {"Repeat till NoteOff", "Repeat till NoteOff"}};

MidiModePanel::MidiModePanel(const Rect& area, FreezePlugin& owner, int32_t panelWidth, int32_t panelHeight,
                             int32_t panelLeft, int32_t panelTop, Bitmap* panelImage)
    : EditorPanel(area, owner, panelWidth, panelHeight, panelLeft, panelTop, panelImage) {}

bool MidiModePanel::isOn(int32_t which) const {
    switch (which) {
    case 0: return effect.isMidiNoteControl();
    case 1: return effect.isNoteRecordStart();
    default: return effect.isRepeatTillNoteOff();
    }
}

void MidiModePanel::toggle(int32_t which) {
    static constexpr Setting kSettings[switchCount] = {Setting::midiNoteControl, Setting::noteRecordStart,
                                                       Setting::repeatTillNoteOff};
    effect.editOnce(controlOfSetting(kSettings[which]), isOn(which) ? 0.0f : 1.0f);
}

void MidiModePanel::draw(DrawContext* windowContext) {
    if (offscreen(windowContext) == nullptr) {
        return;
    }
    panelPaint::fillAndOutline(context, Rect{0, 0, width - 1, height - 1}, kPanel, kInk);
    changed(Rect{0, 0, width - 1, height - 1});
    for (int32_t i = 0; i < switchCount; ++i) {
        const bool on = isOn(i);
        drawnOn[i] = on;
        context->setFillColor(on ? kOn : kOff);
        context->setLineColor(kInk);
        context->strokeRect(switchRects[i]);
        context->fillRect(switchRects[i]);
        context->setTextColor(kInk);
        context->setFont(6, 9, 0);
        context->drawText(switchLabels[i][on ? 1 : 0], switchRects[i], false);
    }
    present(windowContext);
}

void MidiModePanel::followEffect() {
    for (int32_t i = 0; i < switchCount; ++i) {
        if (isOn(i) != drawnOn[i]) {
            setDirty(true);
            return;
        }
    }
}

void MidiModePanel::onMouseDown(DrawContext* windowContext, const MouseEvent& event) {
    flipped = false;
    touch(windowContext, event.where);
}

void MidiModePanel::onMouseMoved(DrawContext* windowContext, const MouseEvent& event) {
    touch(windowContext, event.where);
}

void MidiModePanel::touch(DrawContext* windowContext, const Point& where) {
    if (flipped) {
        return;
    }
    for (int32_t i = 0; i < switchCount; ++i) {
        if (inZone(switchRects[i], where)) {
            toggle(i);
            flipped = true;
            draw(windowContext);
            return;
        }
    }
}
