// The UI binary's entry: the editor embedded in the host's window, run by the idle interface,
// reaching the engine through instance access and telling the host every edit.
#include <cstring>
#include <new>

#include <lv2/instance-access/instance-access.h>
#include <lv2/ui/ui.h>

#include "editor/FreezeEditor.h"
#include "gui/Frame.h"
#include "lv2/Lv2Effect.h"
#include "lv2/Lv2Uris.h"
#include "lv2/UiPortMirror.h"

namespace {

struct UiInstance {
    UiInstance(Lv2Effect& engine, LV2UI_Write_Function writer, LV2UI_Controller owner)
        : editor(&engine, GuiEditor::Unregistered::tag), mirror(engine), write(writer), controller(owner) {}
    FreezeEditor editor;
    UiPortMirror mirror;
    LV2UI_Write_Function write;
    LV2UI_Controller controller;
};

const void* featureData(const LV2_Feature* const* features, const char* uri) {
    if (!features) return nullptr;
    for (const LV2_Feature* const* feature = features; *feature; ++feature)
        if (std::strcmp((*feature)->URI, uri) == 0) return (*feature)->data;
    return nullptr;
}

// Without the engine (instance access) or a parent window there is nothing to show.
LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                         const LV2_Feature* const* features) {
    auto* engine = static_cast<Lv2Effect*>(const_cast<void*>(featureData(features, LV2_INSTANCE_ACCESS_URI)));
    void* parent = const_cast<void*>(featureData(features, LV2_UI__parent));
    if (!engine || !parent || !pluginUri || std::strcmp(pluginUri, BRINDLE_LV2_URI) != 0) return nullptr;
    auto* ui = new (std::nothrow) UiInstance(*engine, write, controller);
    if (!ui) return nullptr;
    if (ui->editor.open(parent) == 0 || !ui->editor.getFrame() || !ui->editor.getFrame()->getWindow()) {
        delete ui;
        return nullptr;
    }
    ERect* rect = nullptr;
    ui->editor.getRect(&rect);
    if (const auto* resize = static_cast<const LV2UI_Resize*>(featureData(features, LV2_UI__resize)))
        if (resize->ui_resize && rect)
            resize->ui_resize(resize->handle, rect->right - rect->left, rect->bottom - rect->top);
    if (widget) *widget = ui->editor.getFrame()->getWindow();
    return ui;
}

void cleanup(LV2UI_Handle handle) { delete static_cast<UiInstance*>(handle); }

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    if (format != 0 || size != sizeof(float) || !buffer) return;
    float value;
    std::memcpy(&value, buffer, sizeof value);
    static_cast<UiInstance*>(handle)->mirror.hostValue(port, value);
}

// Edits first, so that the host has them before the next run; then the editor's own idle
// (window events, live views, redraw).
int idle(LV2UI_Handle handle) {
    auto* ui = static_cast<UiInstance*>(handle);
    ui->mirror.sync(ui->write, ui->controller);
    ui->editor.idle();
    ui->mirror.sync(ui->write, ui->controller);
    return ui->editor.getFrame() ? 0 : 1;
}

const void* extensionData(const char* uri) {
    static const LV2UI_Idle_Interface idleInterface{idle};
    if (uri && std::strcmp(uri, LV2_UI__idleInterface) == 0) return &idleInterface;
    return nullptr;
}

const LV2UI_Descriptor kDescriptor{BRINDLE_LV2_UI_URI, instantiate, cleanup, portEvent, extensionData};

}  // namespace

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}
