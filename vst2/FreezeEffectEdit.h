// The effect joined to its editor: the object the entry point creates for each instance.
#pragma once

#include "vst2/FreezeEffect.h"

class FreezeEditor;
class Vst2Editor;

// The editor's edits of the twelve parameters reach the host as VST 2 gestures: begin edit,
// automate with each new value (which the plug-in has taken already), end edit. The settings
// only the editor makes have no VST 2 parameter; they change the plug-in alone.
class FreezeEffectEdit : public FreezeEffect, private EditSink {
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
    void beginEdit(int32_t control) override;
    void performEdit(int32_t control, float value) override;
    void endEdit(int32_t control) override;

    Vst2Editor* vstEditor = nullptr;
    bool editorCreatedOk = true;
};

// Set when an instance failed to create its editor; never cleared (process-wide).
extern bool editorCreationFailed;
