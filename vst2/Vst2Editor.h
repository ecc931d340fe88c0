// The editor as a VST 2 host sees it: the opcodes' editor calls handed to the plug-in's own
// editor, and the editor's request for a new window size sent to the host.
#pragma once

#include <memory>

#include "editor/EditorHost.h"
#include "vst2/EditorBase.h"

class FreezeEditor;
class FreezePlugin;
class HostEffectX;

class Vst2Editor : public EditorBase, public EditorHost {
public:
    // The editor for an effect, or null when it cannot be made.
    static Vst2Editor* create(HostEffectX& owner, FreezePlugin& plugin);
    ~Vst2Editor() override;

    int32_t getRect(ERect** rect) override;
    int32_t open(void* parent) override;
    void close() override;
    void idle() override;
    void requestRefresh() override;
    int32_t keyDown(VstKeyCode& key) override;
    int32_t keyUp(VstKeyCode& key) override;
    int32_t setKnobMode(int32_t mode) override;
    bool onWheel(float distance) override;
    void setParameter(int32_t index, float value) override;
    bool setScaleFactor(float factor) override;

    bool resizeEditor(int32_t width, int32_t height) override;

    FreezeEditor& editor() { return *view; }

private:
    explicit Vst2Editor(HostEffectX& owner);

    HostEffectX& host;
    std::unique_ptr<FreezeEditor> view;
    ERect rect{0, 0, 0, 0};
};
