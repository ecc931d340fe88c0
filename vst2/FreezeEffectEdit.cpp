// FreezeEffectEdit: creates the editor and forwards parameter changes to it.
#include "vst2/FreezeEffectEdit.h"

#include <new>

#include "editor/FreezeEditor.h"
#include "vst2/Vst2Editor.h"

bool editorCreationFailed = false;

FreezeEffectEdit::FreezeEffectEdit(audioMasterCallback callback) : FreezeEffect(callback) {
    vstEditor = Vst2Editor::create(*this, neutral);
    if (vstEditor == nullptr) {
        editorCreatedOk = false;
        editorCreationFailed = true;
        return;
    }
    // Owned by the effect from here on; the has-editor flag is set.
    setEditor(vstEditor);
    neutral.setEditSink(this);
}

FreezeEffectEdit::~FreezeEffectEdit() { neutral.setEditSink(nullptr); }

void FreezeEffectEdit::beginEdit(int32_t control) {
    if (isParameter(control)) hostBeginEdit(control);
}

void FreezeEffectEdit::performEdit(int32_t control, float value) {
    if (isParameter(control)) callHost(audioMasterAutomate, control, 0, nullptr, value);
}

void FreezeEffectEdit::endEdit(int32_t control) {
    if (isParameter(control)) hostEndEdit(control);
}

FreezeEditor* FreezeEffectEdit::freezeEditor() const { return vstEditor ? &vstEditor->editor() : nullptr; }

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
