// FreezeEffectEdit: creates the editor and forwards parameter changes to it.
#include "plugin/FreezeEffectEdit.h"

#include <new>

#include "editor/FreezeEditor.h"

bool editorCreationFailed = false;

FreezeEffectEdit::FreezeEffectEdit(audioMasterCallback callback) : FreezeEffect(callback) {
    setUniqueId(fourCharCode('B', 'R', 'L', 'P'));
    // The editor registers itself (and the has-editor flag) while it is built.
    editor = new (std::nothrow) FreezeEditor(this);
    if (editor == nullptr) {
        editorCreatedOk = false;
        editorCreationFailed = true;
    }
}

FreezeEffectEdit::~FreezeEffectEdit() = default;

void FreezeEffectEdit::setParameter(int32_t index, float value) {
    FreezeEffect::setParameter(index, value);
    if (editor) editor->setParameter(index, value);
}

intptr_t FreezeEffectEdit::vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt) {
    if (index == fourCharCode('P', 'r', 'e', 'S') && value == fourCharCode('A', 'e', 'C', 's')) {
        return editor != nullptr && editor->setScaleFactor(opt) ? 1 : 0;
    }
    return FreezeEffect::vendorSpecific(index, value, ptr, opt);
}
