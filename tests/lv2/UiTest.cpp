// The UI binary as an LV2 host runs it: embedded in the host's X window, sized by ui:resize,
// driven by idle, and every edit made in the editor written to the host's port once, while
// changes the host made are not sent back; scaled by the host's ui:scaleFactor, at
// instantiation and through the options interface.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <stdlib.h>

#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include <X11/Xlib.h>
#include <lv2/atom/atom.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>

#include "Lv2TestHost.h"
#include "editor/ZoomSetting.h"
#include "engine/ParameterTable.h"
#include "gui/Scale.h"
#include "lv2/Lv2Effect.h"
#include "lv2/Lv2Uris.h"

namespace {

struct HostSide {
    std::vector<std::pair<uint32_t, float>> writes;
    int width = 0, height = 0;
    int resizes = 0;
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
    ++host->resizes;
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
        {[](Lv2Effect& e) { e.plugin().setProgramValue(kParameterTable[kParamSize].slot, 0.6f); }, sizePort, 0.6f},
        {[](Lv2Effect& e) { e.plugin().setThreshold(0.4f); }, thresholdPort, 0.4f},
        {[](Lv2Effect& e) { e.plugin().cycleFilterType(1); }, kPortFirstExtra + 0, 1.0f},
        {[](Lv2Effect& e) { e.plugin().cycleFilterType(2); }, kPortFirstExtra + 1, 1.0f},
        {[](Lv2Effect& e) { e.plugin().setSequenceLength(0.25f); }, kPortFirstExtra + 2, 4.0f},
        {[](Lv2Effect& e) { e.plugin().toggleMidiNoteControl(); }, kPortFirstExtra + 3, 1.0f},
        {[](Lv2Effect& e) { e.plugin().toggleNoteRecordStart(); }, kPortFirstExtra + 4, 1.0f},
        {[](Lv2Effect& e) { e.plugin().toggleRepeatTillNoteOff(); }, kPortFirstExtra + 5, 1.0f},
        {[](Lv2Effect& e) { e.plugin().toggleInverse(); }, kPortFirstExtra + 6, 1.0f},
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
    EXPECT_EQ(effect.plugin().getParameter(kParamKnak), knak);

    descriptor->cleanup(ui);
    // The effect runs on without its UI.
    run.runBlock(silence.data(), silence.data(), silence.data(), silence.data(), 32);
    // The library stays mapped (Lv2Bundle keeps it so for every test).
    dlclose(library);
    XDestroyWindow(display, parent);
    XCloseDisplay(display);
}

// ---- ui:scaleFactor ----

// The editor's size in unscaled pixels (its background).
constexpr int kUnscaledWidth = 525;
constexpr int kUnscaledHeight = 300;

// One ui:scaleFactor option as a host may send it, right or wrong.
struct FactorCase {
    const char* name;
    const char* type;                 // the value's type URI
    std::vector<unsigned char> bytes;  // the value (size: its length; none: a null pointer)
    bool accepted;                    // the editor takes it as the host's scale
    float factor = 0.0f;              // the factor taken (accepted only)
    LV2_Options_Context context = LV2_OPTIONS_INSTANCE;
};

template <typename T>
std::vector<unsigned char> bytesOf(T value) {
    std::vector<unsigned char> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

FactorCase floatCase(const char* name, float value, bool accepted) {
    return {name, LV2_ATOM__Float, bytesOf(value), accepted, value};
}

std::vector<FactorCase> factorCases() {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<FactorCase> list = {
        floatCase("1", 1.0f, true),
        floatCase("1.25", 1.25f, true),
        floatCase("1.5", 1.5f, true),
        floatCase("1.75", 1.75f, true),
        floatCase("2", 2.0f, true),
        floatCase("2.5", 2.5f, true),
        floatCase("3", 3.0f, true),
        floatCase("1.005", 1.005f, true),
        floatCase("4/3", 4.0f / 3.0f, true),
        floatCase("0.5 (below 1: drawn at 1)", 0.5f, true),
        floatCase("0.01", 0.01f, true),
        floatCase("smallest subnormal", std::numeric_limits<float>::denorm_min(), true),
        floatCase("3.5 (above 3: drawn at 3)", 3.5f, true),
        floatCase("100", 100.0f, true),
        floatCase("largest float", FLT_MAX, true),
        floatCase("NaN", nan, false),
        floatCase("-NaN", -nan, false),
        floatCase("0", 0.0f, false),
        floatCase("-0", -0.0f, false),
        floatCase("-1", -1.0f, false),
        floatCase("-2", -2.0f, false),
        floatCase("-smallest normal", -FLT_MIN, false),
        floatCase("infinity", inf, false),
        floatCase("-infinity", -inf, false),
        {"atom:Int 2", LV2_ATOM__Int, bytesOf(int32_t{2}), false},
        {"atom:Long 2", LV2_ATOM__Long, bytesOf(int64_t{2}), false},
        {"atom:Double 2", LV2_ATOM__Double, bytesOf(2.0), false},
        {"float 2 typed atom:Int", LV2_ATOM__Int, bytesOf(2.0f), false},
        {"atom:Float of 8 bytes", LV2_ATOM__Float, bytesOf(2.0), false},
        {"atom:Float of 2 bytes", LV2_ATOM__Float, {0, 0x40}, false},
        {"atom:Float without a value", LV2_ATOM__Float, {}, false},
    };
    FactorCase port = floatCase("2 for a port, not the instance", 2.0f, false);
    port.context = LV2_OPTIONS_PORT;
    list.push_back(port);
    return list;
}

LV2_Options_Option optionOf(const FactorCase& c) {
    return {c.context,
            0,
            UridMap::shared().map(LV2_UI__scaleFactor),
            static_cast<uint32_t>(c.bytes.size()),
            UridMap::shared().map(c.type),
            c.bytes.empty() ? nullptr : c.bytes.data()};
}

struct Size {
    int width, height;
    bool operator==(const Size& other) const { return width == other.width && height == other.height; }
};
std::ostream& operator<<(std::ostream& out, const Size& size) { return out << size.width << " x " << size.height; }

Size sizeAt(Scale scale) { return {scale.device(kUnscaledWidth), scale.device(kUnscaledHeight)}; }

// The UI binary embedded in a window of ours, with the features a full host gives, and the
// options given at instantiation.
class ScaledUi {
public:
    ScaledUi(Display* display, const std::vector<LV2_Options_Option>& options) : xDisplay(display), run(44100.0) {
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1600, 1000, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
        library = dlopen((std::string(BRINDLE_LV2_BUNDLE) + "/" BRINDLE_LV2_UI_BINARY).c_str(),
                         RTLD_NOW | RTLD_LOCAL);
        if (!library) return;
        auto descriptorOf =
            reinterpret_cast<const LV2UI_Descriptor* (*)(uint32_t)>(dlsym(library, "lv2ui_descriptor"));
        descriptor = descriptorOf ? descriptorOf(0) : nullptr;
        if (!descriptor || !run.ok()) return;
        optionList = options;
        optionList.push_back(LV2_Options_Option{LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr});
        resize = LV2UI_Resize{&host, resizeTo};
        features = {{LV2_UI__parent, reinterpret_cast<void*>(parent)},
                    {LV2_INSTANCE_ACCESS_URI, run.handle()},
                    {LV2_UI__resize, &resize},
                    {LV2_URID__map, UridMap::shared().mapFeature()},
                    {LV2_OPTIONS__options, optionList.data()}};
        for (const LV2_Feature& feature : features) featureList.push_back(&feature);
        featureList.push_back(nullptr);
        LV2UI_Widget widget = nullptr;
        ui = descriptor->instantiate(descriptor, BRINDLE_LV2_URI, "", writePort, &host, &widget,
                                     featureList.data());
        idleInterface =
            static_cast<const LV2UI_Idle_Interface*>(descriptor->extension_data(LV2_UI__idleInterface));
        optionsInterface =
            static_cast<const LV2_Options_Interface*>(descriptor->extension_data(LV2_OPTIONS__interface));
    }
    ~ScaledUi() {
        if (ui) descriptor->cleanup(ui);
        if (library) dlclose(library);
        XDestroyWindow(xDisplay, parent);
        XSync(xDisplay, False);
    }
    bool ok() const { return ui && idleInterface && optionsInterface; }

    uint32_t set(const LV2_Options_Option& option) {
        const LV2_Options_Option list[] = {option, {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
        return optionsInterface->set(ui, list);
    }
    void idle() { idleInterface->idle(ui); }
    // What the host was told last.
    Size told() const { return {host.width, host.height}; }
    int resizes() const { return host.resizes; }
    // The editor's window in the host's window: its only child, at the size told.
    Size window() const {
        Window root = 0, windowParent = 0, *children = nullptr;
        unsigned count = 0;
        XQueryTree(xDisplay, parent, &root, &windowParent, &children, &count);
        Size size{-1, -1};
        if (count == 1) {
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(xDisplay, children[0], &attributes))
                size = {attributes.width, attributes.height};
        }
        if (children) XFree(children);
        return size;
    }
    float reportedFactor() {
        LV2_Options_Option query[] = {
            {LV2_OPTIONS_INSTANCE, 0, UridMap::shared().map(LV2_UI__scaleFactor), 0, 0, nullptr},
            {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
        if (optionsInterface->get(ui, query) != LV2_OPTIONS_SUCCESS || query[0].size != sizeof(float) ||
            query[0].type != UridMap::shared().map(LV2_ATOM__Float) || !query[0].value)
            return -1.0f;
        float factor;
        std::memcpy(&factor, query[0].value, sizeof factor);
        return factor;
    }

private:
    Display* xDisplay;
    Window parent = 0;
    Lv2Run run;
    HostSide host;
    LV2UI_Resize resize{};
    void* library = nullptr;
    const LV2UI_Descriptor* descriptor = nullptr;
    std::vector<LV2_Options_Option> optionList;
    std::vector<LV2_Feature> features;
    std::vector<const LV2_Feature*> featureList;
    LV2UI_Handle ui = nullptr;
    const LV2UI_Idle_Interface* idleInterface = nullptr;
    const LV2_Options_Interface* optionsInterface = nullptr;
};

// No zoom a user chose (the editor's own settings file) takes part, unless a test makes one.
// One connection for the whole suite: with none left open an X server may reset, and refuse
// connections for a moment.
class Lv2UiScale : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* name = getenv("DISPLAY");
        // A server that has just reset after its last client left may refuse for a moment.
        for (int attempt = 0; name && name[0] && !display && attempt < 30; ++attempt) {
            if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
            display = XOpenDisplay(nullptr);
        }
    }
    static void TearDownTestSuite() {
        if (display) XCloseDisplay(display);
        display = nullptr;
    }
    void SetUp() override {
        const char* old = getenv("XDG_CONFIG_HOME");
        hadSettings = old != nullptr;
        if (old) oldSettings = old;
        setenv("XDG_CONFIG_HOME", "/nonexistent-brindle-settings", 1);
        if (!display) GTEST_SKIP() << "no X display";
        // Without any option the editor takes the screen's scale (Xvfb: 96 dpi, 1).
        ScaledUi plain(display, {});
        ASSERT_TRUE(plain.ok());
        screenSize = plain.told();
    }
    void TearDown() override {
        if (hadSettings) setenv("XDG_CONFIG_HOME", oldSettings.c_str(), 1);
        else unsetenv("XDG_CONFIG_HOME");
    }
    static Display* display;
    Size screenSize{0, 0};
    bool hadSettings = false;
    std::string oldSettings;
};

Display* Lv2UiScale::display = nullptr;

TEST_F(Lv2UiScale, TheHostsFactorAtInstantiationSizesTheFirstResizeAndTheWindow) {
    EXPECT_EQ(screenSize, sizeAt(Scale()));
    int checked = 0;
    for (const FactorCase& c : factorCases()) {
        ScaledUi ui(display, {optionOf(c)});
        ASSERT_TRUE(ui.ok()) << c.name;
        const Size expected = c.accepted ? sizeAt(Scale::fromFactor(c.factor)) : screenSize;
        EXPECT_EQ(ui.told(), expected) << c.name;
        EXPECT_EQ(ui.resizes(), 1) << c.name << ": told once, at once";
        EXPECT_EQ(ui.window(), expected) << c.name;
        ui.idle();
        EXPECT_EQ(ui.resizes(), 1) << c.name << ": the idle keeps the size";
        EXPECT_EQ(ui.window(), expected) << c.name;
        ++checked;
    }
    std::printf("  %d ui:scaleFactor options given at instantiation\n", checked);

    // Several options: an unknown key is passed over, and a refused factor after a taken one
    // leaves the one taken.
    const FactorCase two = floatCase("2", 2.0f, true), nan = floatCase("NaN", NAN, false);
    LV2_Options_Option other = optionOf(two);
    other.key = UridMap::shared().map(LV2_UI__updateRate);
    ScaledUi several(display, {other, optionOf(two), optionOf(nan)});
    ASSERT_TRUE(several.ok());
    EXPECT_EQ(several.told(), sizeAt(Scale::fromFactor(2.0f)));
    EXPECT_EQ(several.reportedFactor(), 2.0f);
}

TEST_F(Lv2UiScale, TheOptionsInterfaceRescalesAndResizesTheHost) {
    const FactorCase start = floatCase("1.5", 1.5f, true);
    ScaledUi ui(display, {optionOf(start)});
    ASSERT_TRUE(ui.ok());
    const Size before = sizeAt(Scale::fromFactor(1.5f));
    EXPECT_EQ(ui.told(), before);
    EXPECT_EQ(ui.reportedFactor(), 1.5f);
    int checked = 0;
    for (const FactorCase& c : factorCases()) {
        // Each from a factor the host set before (2.25: no row's size).
        const FactorCase previous = floatCase("2.25", 2.25f, true);
        ASSERT_EQ(ui.set(optionOf(previous)), static_cast<uint32_t>(LV2_OPTIONS_SUCCESS));
        ui.idle();
        const Size earlier = sizeAt(Scale::fromFactor(2.25f));
        ASSERT_EQ(ui.told(), earlier);
        const int resizes = ui.resizes();

        const uint32_t status = ui.set(optionOf(c));
        const uint32_t refusal = c.context != LV2_OPTIONS_INSTANCE ? LV2_OPTIONS_ERR_BAD_SUBJECT
                                                                   : LV2_OPTIONS_ERR_BAD_VALUE;
        EXPECT_EQ(status, c.accepted ? static_cast<uint32_t>(LV2_OPTIONS_SUCCESS) : refusal) << c.name;
        ui.idle();
        const Size expected = c.accepted ? sizeAt(Scale::fromFactor(c.factor)) : earlier;
        EXPECT_EQ(ui.told(), expected) << c.name;
        EXPECT_EQ(ui.window(), expected) << c.name;
        EXPECT_EQ(ui.resizes(), resizes + (expected == earlier ? 0 : 1)) << c.name;
        EXPECT_EQ(ui.reportedFactor(), Scale::fromFactor(c.accepted ? c.factor : 2.25f).factor()) << c.name;
        ui.idle();
        EXPECT_EQ(ui.resizes(), resizes + (expected == earlier ? 0 : 1)) << c.name << ": told once";
        ++checked;
    }
    std::printf("  %d ui:scaleFactor options set through the options interface\n", checked);

    // An option the UI does not know is refused by its key; a null list is nothing to do.
    LV2_Options_Option other = optionOf(start);
    other.key = UridMap::shared().map(LV2_UI__updateRate);
    EXPECT_EQ(ui.set(other), static_cast<uint32_t>(LV2_OPTIONS_ERR_BAD_KEY));
}

TEST_F(Lv2UiScale, TheUsersZoomWinsOverTheHostsFactor) {
    char folder[] = "/tmp/brindle-lv2-zoom-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    setenv("XDG_CONFIG_HOME", folder, 1);
    ASSERT_TRUE(zoomSetting::write(150));
    {
        const FactorCase two = floatCase("2", 2.0f, true), three = floatCase("3", 3.0f, true);
        ScaledUi ui(display, {optionOf(two)});
        ASSERT_TRUE(ui.ok());
        EXPECT_EQ(ui.told(), sizeAt(Scale::fromPercent(150)));
        EXPECT_EQ(ui.window(), sizeAt(Scale::fromPercent(150)));
        EXPECT_EQ(ui.set(optionOf(three)), static_cast<uint32_t>(LV2_OPTIONS_SUCCESS));
        ui.idle();
        EXPECT_EQ(ui.told(), sizeAt(Scale::fromPercent(150)));
        EXPECT_EQ(ui.resizes(), 1);
        EXPECT_EQ(ui.reportedFactor(), 1.5f);
    }
    std::filesystem::remove_all(folder);
}

TEST(Lv2UiTurtle, DeclaresTheScaleFactorOptionAndTheOptionsInterface) {
    Lv2Bundle& bundle = Lv2Bundle::shared();
    LilvNode* ui = bundle.uri(BRINDLE_LV2_UI_URI);
    lilv_world_load_resource(bundle.world(), ui);
    EXPECT_TRUE(lilv_world_ask(bundle.world(), ui, bundle.uri(LV2_OPTIONS__supportedOption),
                               bundle.uri(LV2_UI__scaleFactor)));
    EXPECT_TRUE(lilv_world_ask(bundle.world(), ui, bundle.uri(LV2_CORE__extensionData),
                               bundle.uri(LV2_OPTIONS__interface)));
    EXPECT_TRUE(lilv_world_ask(bundle.world(), ui, bundle.uri(LV2_CORE__extensionData),
                               bundle.uri(LV2_UI__idleInterface)));
    EXPECT_TRUE(lilv_world_ask(bundle.world(), ui, bundle.uri(LV2_CORE__optionalFeature),
                               bundle.uri(LV2_OPTIONS__options)));
}


}  // namespace
