// The UI binary as an LV2 host runs it: embedded in the host's X window, sized by ui:resize,
// driven by idle, and every edit made in the editor written to the host's port once, while
// changes the host made are not sent back.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <X11/Xlib.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/ui/ui.h>

#include "Lv2TestHost.h"
#include "engine/ParameterTable.h"
#include "lv2/Lv2Effect.h"
#include "lv2/Lv2Uris.h"

namespace {

struct HostSide {
    std::vector<std::pair<uint32_t, float>> writes;
    int width = 0, height = 0;
};

void writePort(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t format,
               const void* buffer) {
    if (format == 0 && size == sizeof(float))
        static_cast<HostSide*>(controller)->writes.emplace_back(port, *static_cast<const float*>(buffer));
}

int resizeTo(LV2UI_Feature_Handle handle, int width, int height) {
    auto* host = static_cast<HostSide*>(handle);
    host->width = width;
    host->height = height;
    return 0;
}

TEST(Lv2Ui, EmbedsSizesAndWritesEveryEditToTheHost) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) GTEST_SKIP() << "no X display";
    const Window parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 600, 400, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);

    void* library =
        dlopen((std::string(BRINDLE_LV2_BUNDLE) + "/" BRINDLE_LV2_UI_BINARY).c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto descriptorOf =
        reinterpret_cast<const LV2UI_Descriptor* (*)(uint32_t)>(dlsym(library, "lv2ui_descriptor"));
    ASSERT_NE(descriptorOf, nullptr);
    const LV2UI_Descriptor* descriptor = descriptorOf(0);
    ASSERT_NE(descriptor, nullptr);
    EXPECT_STREQ(descriptor->URI, BRINDLE_LV2_UI_URI);
    EXPECT_EQ(descriptorOf(1), nullptr);

    Lv2Run run(44100.0);
    auto& effect = *static_cast<Lv2Effect*>(run.handle());
    HostSide host;
    LV2UI_Resize resize{&host, resizeTo};
    LV2_Feature parentFeature{LV2_UI__parent, reinterpret_cast<void*>(parent)};
    LV2_Feature instanceFeature{LV2_INSTANCE_ACCESS_URI, run.handle()};
    LV2_Feature resizeFeature{LV2_UI__resize, &resize};
    const LV2_Feature* all[] = {&parentFeature, &instanceFeature, &resizeFeature, nullptr};
    const LV2_Feature* noInstance[] = {&parentFeature, &resizeFeature, nullptr};
    const LV2_Feature* noParent[] = {&instanceFeature, nullptr};
    LV2UI_Widget widget = nullptr;
    // Instance access and a parent are required.
    EXPECT_EQ(descriptor->instantiate(descriptor, BRINDLE_LV2_URI, "", writePort, &host, &widget, noInstance),
              nullptr);
    EXPECT_EQ(descriptor->instantiate(descriptor, BRINDLE_LV2_URI, "", writePort, &host, &widget, noParent),
              nullptr);
    LV2UI_Handle ui =
        descriptor->instantiate(descriptor, BRINDLE_LV2_URI, "", writePort, &host, &widget, all);
    ASSERT_NE(ui, nullptr);
    EXPECT_EQ(host.width, 525);
    EXPECT_EQ(host.height, 300);
    Window root = 0, windowParent = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display, static_cast<Window>(reinterpret_cast<uintptr_t>(widget)), &root, &windowParent,
               &children, &count);
    if (children) XFree(children);
    EXPECT_EQ(windowParent, parent);

    const auto* idle =
        static_cast<const LV2UI_Idle_Interface*>(descriptor->extension_data(LV2_UI__idleInterface));
    ASSERT_NE(idle, nullptr);
    EXPECT_EQ(idle->idle(ui), 0);
    EXPECT_TRUE(host.writes.empty());

    // Edits as the editor's views make them, each reported once with its port.
    const uint32_t sizePort = kPortFirstParameter + kParamSize;
    const uint32_t thresholdPort = kPortFirstParameter + kParamThreshold;
    struct Edit {
        void (*make)(Lv2Effect&);
        uint32_t port;
        float value;
    };
    const Edit edits[] = {
        {[](Lv2Effect& e) { e.setProgramValue(kParameterTable[kParamSize].slot, 0.6f); }, sizePort, 0.6f},
        {[](Lv2Effect& e) { e.setThreshold(0.4f); }, thresholdPort, 0.4f},
        {[](Lv2Effect& e) { e.cycleFilterType(1); }, kPortFirstExtra + 0, 1.0f},
        {[](Lv2Effect& e) { e.cycleFilterType(2); }, kPortFirstExtra + 1, 1.0f},
        {[](Lv2Effect& e) { e.setSequenceLength(0.25f); }, kPortFirstExtra + 2, 4.0f},
        {[](Lv2Effect& e) { e.toggleMidiNoteControl(); }, kPortFirstExtra + 3, 1.0f},
        {[](Lv2Effect& e) { e.toggleNoteRecordStart(); }, kPortFirstExtra + 4, 1.0f},
        {[](Lv2Effect& e) { e.toggleRepeatTillNoteOff(); }, kPortFirstExtra + 5, 1.0f},
        {[](Lv2Effect& e) { e.toggleInverse(); }, kPortFirstExtra + 6, 1.0f},
    };
    for (const Edit& edit : edits) {
        host.writes.clear();
        edit.make(effect);
        idle->idle(ui);
        ASSERT_EQ(host.writes.size(), 1u) << edit.port;
        EXPECT_EQ(host.writes[0].first, edit.port);
        EXPECT_EQ(host.writes[0].second, edit.value);
        idle->idle(ui);
        EXPECT_EQ(host.writes.size(), 1u) << "written once";
    }
    // The host's own change (its port event, then the run that applies it) is not echoed.
    host.writes.clear();
    const float knak = 0.7f;
    descriptor->port_event(ui, kPortFirstParameter + kParamKnak, sizeof knak, 0, &knak);
    run.setControl(kPortFirstParameter + kParamKnak, knak);
    std::vector<float> silence(32);
    run.runBlock(silence.data(), silence.data(), silence.data(), silence.data(), 32);
    idle->idle(ui);
    EXPECT_TRUE(host.writes.empty());
    EXPECT_EQ(effect.getParameter(kParamKnak), knak);

    descriptor->cleanup(ui);
    // The effect runs on without its UI.
    run.runBlock(silence.data(), silence.data(), silence.data(), silence.data(), 32);
    // The library stays mapped (Lv2Bundle keeps it so for every test).
    dlclose(library);
    XDestroyWindow(display, parent);
    XCloseDisplay(display);
}

}  // namespace
