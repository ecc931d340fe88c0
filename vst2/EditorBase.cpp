// Default behaviour of every editor operation.
#include "vst2/EditorBase.h"

EditorBase::EditorBase(HostEffect* owner) : effect(owner) {}

EditorBase::~EditorBase() = default;

int32_t EditorBase::getRect(ERect** rect) {
    if (rect) *rect = nullptr;
    return 0;
}

int32_t EditorBase::open(void* parent) {
    parentWindow = parent;
    return 0;
}

void EditorBase::close() {}

void EditorBase::idle() {
    if (refreshRequested.exchange(0, std::memory_order_relaxed) != 0) {
        refresh();
    }
}

void EditorBase::refresh() {}

bool EditorBase::setScaleFactor(float) { return false; }

void EditorBase::requestRefresh() { refreshRequested.store(1, std::memory_order_relaxed); }

int32_t EditorBase::keyDown(VstKeyCode&) { return -1; }

int32_t EditorBase::keyUp(VstKeyCode&) { return -1; }

int32_t EditorBase::setKnobMode(int32_t) { return 0; }

bool EditorBase::onWheel(float) { return false; }

void EditorBase::setParameter(int32_t, float) {}
