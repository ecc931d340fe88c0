// The effect joined to its editor: the object the entry point creates for each instance.
#pragma once

#include "vst2/FreezeEffect.h"

class FreezeEditor;
class Vst2Editor;

class FreezeEffectEdit : public FreezeEffect {
public:
    explicit FreezeEffectEdit(audioMasterCallback hostCallback);
    ~FreezeEffectEdit() override;

    // Applies the change to the engine, then tells the editor.
    void setParameter(int32_t index, float value) override;
    // Hosts that scale plug-in windows send the factor as index 'PreS', value 'AeCs' and the
    // factor in opt; 1 when the editor took it.
    intptr_t vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt) override;

    // Whether creating the editor succeeded for this instance.
    bool editorCreated() const { return editorCreatedOk; }
    // The editor, or null when it could not be made.
    FreezeEditor* freezeEditor() const;

private:
    Vst2Editor* vstEditor = nullptr;
    bool editorCreatedOk = true;
};

// Set when an instance failed to create its editor; never cleared (process-wide).
extern bool editorCreationFailed;
