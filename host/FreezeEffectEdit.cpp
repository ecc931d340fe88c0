// FreezeEffectEdit: creates the editor and forwards parameter changes to it.
#include "host/FreezeEffectEdit.h"

#include "editor/EditorBase.h"

bool editorCreationFailed = false;

FreezeEffectEdit::FreezeEffectEdit(audioMasterCallback callback) : FreezeEffect(callback) {
    setUniqueId(fourCharCode('B', 'R', 'L', 'P'));
    // The window editor is not part of this build yet: the record says so (no
    // effFlagsHasEditor) and the editor opcodes answer 0.
}

FreezeEffectEdit::~FreezeEffectEdit() = default;

void FreezeEffectEdit::setParameter(int32_t index, float value) {
    FreezeEffect::setParameter(index, value);
    if (editor) editor->setParameter(index, value);
}
