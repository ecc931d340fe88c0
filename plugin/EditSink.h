// Where the editor's edits go beyond the plug-in: to the host the plug-in is in, as gestures
// (begin, values, end), so that the host records them as automation and can undo them. Each
// format installs its own; without one the edits reach the plug-in only.
#pragma once

#include <cstdint>

// User-interface thread. `control` is a control number (engine/SettingTable.h): a parameter,
// a setting or bypass. `value` is the plug-in's own value: a parameter's 0..1, a setting's
// plain value (filter type, steps, 0 or 1).
class EditSink {
public:
    virtual void beginEdit(int32_t control) = 0;
    virtual void performEdit(int32_t control, float value) = 0;
    virtual void endEdit(int32_t control) = 0;
    // True when the host hands the value back to the plug-in on the audio thread (an LV2 port):
    // then the editor leaves a setting to that one writer instead of changing it itself.
    virtual bool hostAppliesSettings() const { return false; }

protected:
    ~EditSink() = default;
};
