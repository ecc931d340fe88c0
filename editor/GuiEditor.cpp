// GuiEditor: rectangle, idle, key, wheel and knob-mode forwarding.
#include "editor/GuiEditor.h"

#include <cmath>

#include "editor/ZoomSetting.h"
#include "gui/Frame.h"
#include "gui/Port.h"

namespace {

int32_t recordedKnobMode = 0;

}  // namespace

GuiEditor::GuiEditor(EditorHost* owner) : host(owner) {}

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

bool GuiEditor::chooseZoom(int32_t percent) {
    userZoom = percent;
    saveFailed = !zoomSetting::write(percent);
    return !saveFailed;
}

void GuiEditor::readUserZoom() {
    // A choice this instance made stays when the file cannot be had (or was not saved).
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
        return Scale::fromPercent(zoomSetting::snapped(Scale::fromFactor(hostFactor).percent()));
    }
    if (!screenScaleKnown) {
        screenFactor = port::screenScale(parent);
        screenScaleKnown = parent != nullptr;
    }
    return Scale::fromPercent(zoomSetting::snapped(Scale::fromFactor(screenFactor).percent()));
}
