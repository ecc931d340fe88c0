// Vst2Editor: each call handed on, the rectangle and keys converted.
#include "vst2/Vst2Editor.h"

#include <new>

#include "editor/FreezeEditor.h"
#include "vst2/HostEffectX.h"

namespace {
KeyStroke keyOf(const VstKeyCode& key) { return KeyStroke{key.character, key.virt, key.modifier}; }
}  // namespace

Vst2Editor::Vst2Editor(HostEffectX& owner) : EditorBase(&owner), host(owner) {}

Vst2Editor* Vst2Editor::create(HostEffectX& owner, FreezePlugin& plugin) {
    std::unique_ptr<Vst2Editor> adapter(new (std::nothrow) Vst2Editor(owner));
    if (!adapter) return nullptr;
    adapter->view.reset(new (std::nothrow) FreezeEditor(plugin, adapter.get()));
    return adapter->view ? adapter.release() : nullptr;
}

Vst2Editor::~Vst2Editor() = default;

int32_t Vst2Editor::getRect(ERect** answer) {
    if (!answer) return 0;
    EditorRect* size = nullptr;
    if (view->getRect(&size) == 0 || !size) {
        *answer = nullptr;
        return 0;
    }
    rect = ERect{size->top, size->left, size->bottom, size->right};
    *answer = &rect;
    return 1;
}

int32_t Vst2Editor::open(void* parent) {
    parentWindow = parent;
    return view->open(parent);
}

void Vst2Editor::close() { view->close(); }

void Vst2Editor::idle() { view->idle(); }

void Vst2Editor::requestRefresh() { view->requestRefresh(); }

int32_t Vst2Editor::keyDown(VstKeyCode& key) {
    KeyStroke code = keyOf(key);
    return view->keyDown(code);
}

int32_t Vst2Editor::keyUp(VstKeyCode& key) {
    KeyStroke code = keyOf(key);
    return view->keyUp(code);
}

int32_t Vst2Editor::setKnobMode(int32_t mode) { return view->setKnobMode(mode); }

bool Vst2Editor::onWheel(float distance) { return view->onWheel(distance); }

void Vst2Editor::setParameter(int32_t index, float value) { view->setParameter(index, value); }

bool Vst2Editor::setScaleFactor(float factor) { return view->setScaleFactor(factor); }

bool Vst2Editor::resizeEditor(int32_t width, int32_t height) { return host.hostSizeWindow(width, height); }

