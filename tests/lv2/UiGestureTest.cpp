// The UI tells the host of every edit as it happens: the port written at every step, inside the
// host's ui:touch grab; a setting is left to the audio thread, which takes it from the port (one
// writer). And a UI of this build refuses an instance it did not come with.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include <X11/Xlib.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/ui/ui.h>

#include "Lv2TestHost.h"
#include "lv2/Lv2Effect.h"
#include "lv2/Lv2Uris.h"

namespace {

// What the host saw, in order: ('t', port, 1/0) for touch, ('w', port, value) for a write.
using Call = std::tuple<char, uint32_t, float>;

void writePort(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    if (format == 0 && size == sizeof(float))
        static_cast<std::vector<Call>*>(controller)->emplace_back('w', port, *static_cast<const float*>(buffer));
}

void touchPort(LV2UI_Feature_Handle handle, uint32_t port, bool grabbed) {
    static_cast<std::vector<Call>*>(handle)->emplace_back('t', port, grabbed ? 1.0f : 0.0f);
}

class Lv2UiGesture : public ::testing::Test {
protected:
    void SetUp() override {
        display = XOpenDisplay(nullptr);
        if (!display) GTEST_SKIP() << "no X display";
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 600, 400, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
        library = dlopen((std::string(BRINDLE_LV2_BUNDLE) + "/" BRINDLE_LV2_UI_BINARY).c_str(), RTLD_NOW);
        ASSERT_NE(library, nullptr) << dlerror();
        descriptor = reinterpret_cast<const LV2UI_Descriptor* (*)(uint32_t)>(dlsym(library, "lv2ui_descriptor"))(0);
    }
    void TearDown() override {
        if (library) dlclose(library);
        if (display) {
            XDestroyWindow(display, parent);
            XCloseDisplay(display);
        }
    }
    LV2UI_Handle open(void* instance, bool withTouch) {
        LV2_Feature parentFeature{LV2_UI__parent, reinterpret_cast<void*>(parent)};
        LV2_Feature instanceFeature{LV2_INSTANCE_ACCESS_URI, instance};
        LV2_Feature touchFeature{LV2_UI__touch, &touch};
        const LV2_Feature* features[] = {&parentFeature, &instanceFeature, withTouch ? &touchFeature : nullptr,
                                         nullptr};
        LV2UI_Widget widget = nullptr;
        return descriptor->instantiate(descriptor, BRINDLE_LV2_URI, "", writePort, &calls, &widget, features);
    }

    Display* display = nullptr;
    Window parent = 0;
    void* library = nullptr;
    const LV2UI_Descriptor* descriptor = nullptr;
    std::vector<Call> calls;
    LV2UI_Touch touch{&calls, touchPort};
};

TEST_F(Lv2UiGesture, EveryStepOfAnEditIsWrittenInsideTheTouch) {
    Lv2Run run(44100.0);
    auto& effect = *static_cast<Lv2Effect*>(run.handle());
    for (const bool withTouch : {true, false}) {
        LV2UI_Handle ui = open(run.handle(), withTouch);
        ASSERT_NE(ui, nullptr);
        const uint32_t size = kPortFirstParameter + kParamSize;
        const uint32_t inverse = kPortFirstExtra + static_cast<uint32_t>(Setting::inverse);
        calls.clear();
        FreezePlugin& plugin = effect.plugin();
        plugin.beginEdit(kParamSize);
        for (const float v : {0.3f, 0.35f, 0.5f}) plugin.edit(kParamSize, v);
        plugin.endEdit(kParamSize);
        plugin.editOnce(controlOfSetting(Setting::inverse), 1.0f);
        plugin.editOnce(kBypassControl, 1.0f);
        std::vector<Call> expected = {{'t', size, 1.0f},    {'w', size, 0.3f},    {'w', size, 0.35f},
                                      {'w', size, 0.5f},    {'t', size, 0.0f},    {'t', inverse, 1.0f},
                                      {'w', inverse, 1.0f}, {'t', inverse, 0.0f}, {'t', kPortEnabled, 1.0f},
                                      {'w', kPortEnabled, 0.0f}, {'t', kPortEnabled, 0.0f}};
        if (!withTouch)
            expected.erase(std::remove_if(expected.begin(), expected.end(),
                                          [](const Call& c) { return std::get<0>(c) == 't'; }),
                           expected.end());
        EXPECT_EQ(calls, expected);
        // The parameter is the plug-in's at once; the switch waits for the port's run.
        EXPECT_EQ(plugin.getParameter(kParamSize), 0.5f);
        EXPECT_FALSE(plugin.isInverse());
        run.setControl(inverse, 1.0f);
        std::vector<float> silence(16);
        run.runBlock(silence.data(), silence.data(), silence.data(), silence.data(), 16);
        EXPECT_TRUE(plugin.isInverse());
        run.setControl(inverse, 0.0f);
        run.runBlock(silence.data(), silence.data(), silence.data(), silence.data(), 16);
        descriptor->cleanup(ui);
        EXPECT_EQ(plugin.getEditSink(), nullptr);
    }
}

TEST_F(Lv2UiGesture, AnInstanceOfAnotherBuildIsRefused) {
    std::vector<unsigned char> stranger(1 << 16, 0);
    EXPECT_EQ(open(stranger.data(), true), nullptr);
    Lv2Run run(44100.0);
    LV2UI_Handle ui = open(run.handle(), true);
    EXPECT_NE(ui, nullptr);
    if (ui) descriptor->cleanup(ui);
}

}  // namespace
