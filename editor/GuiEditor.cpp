// GuiEditor: rectangle, idle, idle pump, key, wheel and knob-mode forwarding.
#include "editor/GuiEditor.h"

#include <cmath>

#include "editor/ZoomSetting.h"
#include "gui/Frame.h"
#include "gui/Port.h"
#include "gui/PaintPump.h"

namespace {

int32_t recordedKnobMode = 0;

constexpr uint32_t kIdleInterval = 100;  // ms between idle runs of the pump
constexpr uint32_t kPumpSleep = 4;       // ms the pump sleeps when it is early
constexpr uint32_t kEarlyMargin = 50;    // ms early at which the pump still runs the idle

// Whether tick a comes before tick b. The tick count wraps every 49.7 days; the difference,
// read as signed, keeps the order across the wrap (a plain unsigned comparison would stop the
// pump for the whole next 49.7 days).
bool before(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) < 0; }

}  // namespace

GuiEditor::GuiEditor(EditorHost* owner) : host(owner), nextIdleTime(pumpTickCount()) {}

GuiEditor::~GuiEditor() = default;

int32_t GuiEditor::getRect(EditorRect** rect) {
    if (rect == nullptr) {
        return 0;
    }
    *rect = &editorRect;
    return 1;
}

int32_t GuiEditor::open(void* parent) {
    requestRefresh();
    parentWindow = parent;
    return 0;
}

void GuiEditor::idle() {
    // The host may call idle from inside its idle callback that the pump made.
    if (inHostIdle) {
        return;
    }
    if (refreshRequested.exchange(0, std::memory_order_relaxed) != 0) {
        refresh();
    }
    if (frame != nullptr) {
        frame->idleRedraw();
    }
}

int32_t GuiEditor::keyDown(KeyStroke& key) { return frame != nullptr ? frame->onKeyDown(key) : -1; }

int32_t GuiEditor::keyUp(KeyStroke& key) { return frame != nullptr ? frame->onKeyUp(key) : -1; }

int32_t GuiEditor::setKnobMode(int32_t mode) {
    recordedKnobMode = mode;
    return 1;
}

int32_t GuiEditor::knobMode() { return recordedKnobMode; }

bool GuiEditor::onWheel(float distance) {
    return frame != nullptr && frame->onWheel(nullptr, Point{0, 0}, distance);
}

void GuiEditor::setParameter(int32_t, float) { requestRefresh(); }

void GuiEditor::redraw() {
    if (frame != nullptr) {
        frame->redrawView(nullptr);
    }
}

bool GuiEditor::setScaleFactor(float factor) {
    if (!std::isfinite(factor) || !(factor > 0.0f)) {
        hostFactor = 0.0f;
        return false;
    }
    hostFactor = factor;
    return true;
}

void GuiEditor::chooseZoom(int32_t percent) {
    userZoom = percent;
    zoomSetting::write(percent);
}

void GuiEditor::readUserZoom() {
    // A choice this instance made stays when the file cannot be had.
    const int32_t saved = zoomSetting::read();
    if (saved != 0) {
        userZoom = saved;
    }
}

Scale GuiEditor::wantedScale(void* parent) {
    if (userZoom != 0) {
        return Scale::fromPercent(userZoom);
    }
    if (hostFactor > 0.0f) {
        return Scale::fromFactor(hostFactor);
    }
    if (!screenScaleKnown) {
        screenFactor = port::screenScale(parent);
        screenScaleKnown = parent != nullptr;
    }
    return Scale::fromFactor(screenFactor);
}

void GuiEditor::pumpIdle() {
    uint32_t now = pumpTickCount();
    if (before(now, nextIdleTime)) {
        pumpSleep(kPumpSleep);
        now += kPumpSleep;
        if (before(now, nextIdleTime - kEarlyMargin)) {
            return;
        }
    }
    inPump = true;
    idle();
    inPump = false;
    dispatchPendingPaint();
    nextIdleTime = now + kIdleInterval;
    inHostIdle = true;
    if (host != nullptr) {
        host->idleHost();
    }
    inHostIdle = false;
}
