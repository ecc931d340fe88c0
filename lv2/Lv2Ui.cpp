// The UI binary's entry: the editor embedded in the host's window, run by the idle interface,
// reaching the plug-in through instance access and telling the host every edit as it happens:
// the port written at every step, inside the host's ui:touch grab when it offers one. The host's
// ui:scaleFactor (an option at instantiation, or later through the options interface) is the
// editor's host scale, as effVendorSpecific 'PreS' is for VST 2.
#include <cstring>
#include <new>

#include <lv2/atom/atom.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include "editor/FreezeEditor.h"
#include "gui/Frame.h"
#include "lv2/Lv2Effect.h"
#include "lv2/Lv2Uris.h"
#include "lv2/UiPortMirror.h"

namespace {

// The port a control is, or kNumPorts for none.
uint32_t portOfControl(int32_t control) {
    if (control == kBypassControl) return kPortEnabled;
    if (control >= 0 && control < kBypassControl) return kPortFirstParameter + static_cast<uint32_t>(control);
    return kNumPorts;
}

struct UiInstance final : EditSink, EditorHost {
    UiInstance(Lv2Effect& engine, LV2UI_Write_Function writer, LV2UI_Controller owner)
        : effect(engine), editor(engine.plugin(), this), mirror(engine), write(writer), controller(owner) {}
    ~UiInstance() {
        if (effect.plugin().getEditSink() == this) effect.plugin().setEditSink(nullptr);
    }

    void beginEdit(int32_t control) override { grab(control, true); }
    void performEdit(int32_t control, float value) override {
        const uint32_t port = portOfControl(control);
        if (port == kNumPorts || !write) return;
        // The enabled port says the opposite of bypass.
        const float written = port == kPortEnabled ? (value > 0.5f ? 0.0f : 1.0f) : value;
        mirror.written(port, written);
        write(controller, port, sizeof written, 0, &written);
    }
    void endEdit(int32_t control) override { grab(control, false); }
    // The DSP takes a setting from its port on the audio thread; the UI does not change it too.
    bool hostAppliesSettings() const override { return true; }
    bool resizeEditor(int32_t, int32_t) override { return true; }  // told at the next idle

    void grab(int32_t control, bool on) {
        const uint32_t port = portOfControl(control);
        if (port != kNumPorts && touch && touch->touch) touch->touch(touch->handle, port, on);
    }

    Lv2Effect& effect;
    FreezeEditor editor;
    UiPortMirror mirror;
    LV2UI_Write_Function write;
    LV2UI_Controller controller;
    const LV2UI_Resize* resize = nullptr;
    const LV2UI_Touch* touch = nullptr;
    // Mapped with the host's URID map; 0 without one (then no option is understood).
    LV2_URID scaleFactorKey = 0;
    LV2_URID floatType = 0;
    float hostFactor = 0.0f;  // the host's last accepted ui:scaleFactor; 0: none
    float reportedFactor = 1.0f;  // what the options interface's get answers
    int reportedWidth = 0, reportedHeight = 0;  // the size last given to ui:resize
};

const void* featureData(const LV2_Feature* const* features, const char* uri) {
    if (!features) return nullptr;
    for (const LV2_Feature* const* feature = features; *feature; ++feature)
        if (std::strcmp((*feature)->URI, uri) == 0) return (*feature)->data;
    return nullptr;
}

// The host's ui:scaleFactor as the editor takes it (its own rule: finite and above 0; the user's
// zoom still wins). A refused value leaves the host's earlier word in force.
LV2_Options_Status takeScaleFactor(UiInstance& ui, const LV2_Options_Option& option) {
    if (option.context != LV2_OPTIONS_INSTANCE) return LV2_OPTIONS_ERR_BAD_SUBJECT;
    if (ui.scaleFactorKey == 0 || option.key != ui.scaleFactorKey) return LV2_OPTIONS_ERR_BAD_KEY;
    if (option.type != ui.floatType || option.size != sizeof(float) || !option.value)
        return LV2_OPTIONS_ERR_BAD_VALUE;
    float factor;
    std::memcpy(&factor, option.value, sizeof factor);
    if (ui.editor.setScaleFactor(factor)) {
        ui.hostFactor = factor;
        return LV2_OPTIONS_SUCCESS;
    }
    if (ui.hostFactor > 0.0f) ui.editor.setScaleFactor(ui.hostFactor);
    return LV2_OPTIONS_ERR_BAD_VALUE;
}

// Tells the host the editor's size when it differs from what it was last told (at
// instantiation, and after the editor followed a new scale: the host's or the user's zoom).
void reportSize(UiInstance& ui) {
    EditorRect* rect = nullptr;
    ui.editor.getRect(&rect);
    if (!rect) return;
    const int width = rect->right - rect->left, height = rect->bottom - rect->top;
    ui.reportedFactor = ui.editor.getScale().factor();
    if (width == ui.reportedWidth && height == ui.reportedHeight) return;
    ui.reportedWidth = width;
    ui.reportedHeight = height;
    if (ui.resize && ui.resize->ui_resize) ui.resize->ui_resize(ui.resize->handle, width, height);
}

// Without the engine (instance access) or a parent window there is nothing to show.
LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                         const LV2_Feature* const* features) {
    void* instance = const_cast<void*>(featureData(features, LV2_INSTANCE_ACCESS_URI));
    void* parent = const_cast<void*>(featureData(features, LV2_UI__parent));
    if (!instance || !parent || !pluginUri || std::strcmp(pluginUri, BRINDLE_LV2_URI) != 0) return nullptr;
    // An instance of another build (a DSP binary of another version beside this UI) is not read.
    if (!Lv2Effect::isThisBuild(instance)) return nullptr;
    auto* engine = static_cast<Lv2Effect*>(instance);
    UiInstance* ui = nullptr;
    try {
        ui = new UiInstance(*engine, write, controller);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    ui->resize = static_cast<const LV2UI_Resize*>(featureData(features, LV2_UI__resize));
    ui->touch = static_cast<const LV2UI_Touch*>(featureData(features, LV2_UI__touch));
    engine->plugin().setEditSink(ui);
    if (const auto* map = static_cast<const LV2_URID_Map*>(featureData(features, LV2_URID__map))) {
        if (map->map) {
            ui->scaleFactorKey = map->map(map->handle, LV2_UI__scaleFactor);
            ui->floatType = map->map(map->handle, LV2_ATOM__Float);
        }
    }
    // The scale first, so that the window opens at it and the first ui:resize is its size.
    if (const auto* options = static_cast<const LV2_Options_Option*>(featureData(features, LV2_OPTIONS__options)))
        for (const LV2_Options_Option* option = options; option->key != 0; ++option)
            if (option->key == ui->scaleFactorKey) takeScaleFactor(*ui, *option);
    if (ui->editor.open(parent) == 0 || !ui->editor.getFrame() || !ui->editor.getFrame()->getWindow()) {
        delete ui;
        return nullptr;
    }
    reportSize(*ui);
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
    reportSize(*ui);
    return ui->editor.getFrame() ? 0 : 1;
}

// The options interface: ui:scaleFactor only. A new factor is drawn from the next idle on, which
// then tells the host the new size through ui:resize.
uint32_t getOptions(LV2_Handle handle, LV2_Options_Option* options) {
    if (!handle || !options) return LV2_OPTIONS_SUCCESS;
    auto* ui = static_cast<UiInstance*>(handle);
    uint32_t status = LV2_OPTIONS_SUCCESS;
    for (LV2_Options_Option* option = options; option->key != 0; ++option) {
        if (option->context != LV2_OPTIONS_INSTANCE) {
            status |= LV2_OPTIONS_ERR_BAD_SUBJECT;
        } else if (ui->scaleFactorKey == 0 || option->key != ui->scaleFactorKey) {
            status |= LV2_OPTIONS_ERR_BAD_KEY;
        } else {
            option->size = sizeof ui->reportedFactor;
            option->type = ui->floatType;
            option->value = &ui->reportedFactor;
        }
    }
    return status;
}

uint32_t setOptions(LV2_Handle handle, const LV2_Options_Option* options) {
    if (!handle || !options) return LV2_OPTIONS_SUCCESS;
    auto* ui = static_cast<UiInstance*>(handle);
    uint32_t status = LV2_OPTIONS_SUCCESS;
    for (const LV2_Options_Option* option = options; option->key != 0; ++option)
        status |= takeScaleFactor(*ui, *option);
    return status;
}

const void* extensionData(const char* uri) {
    static const LV2UI_Idle_Interface idleInterface{idle};
    static const LV2_Options_Interface optionsInterface{getOptions, setOptions};
    if (uri && std::strcmp(uri, LV2_UI__idleInterface) == 0) return &idleInterface;
    if (uri && std::strcmp(uri, LV2_OPTIONS__interface) == 0) return &optionsInterface;
    return nullptr;
}

const LV2UI_Descriptor kDescriptor{BRINDLE_LV2_UI_URI, instantiate, cleanup, portEvent, extensionData};

}  // namespace

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}
