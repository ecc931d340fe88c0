// The editor through the gui extension, embedded in a host window as a CLAP host does it: the
// same pixels as the VST 2 binary's editor in a window beside it, the host's timer and (Linux)
// the X connection watched through the host's event loop, set_scale followed by get_size and a
// resize request, hide and show, and everything given back on destroy.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <set>
#include <thread>

#include "ClapRun.h"
#include "HostWindow.h"
#include "tools/loader/PluginLoader.h"

namespace {

#ifdef _WIN32
constexpr const char* kApi = CLAP_WINDOW_API_WIN32;
constexpr const char* kOtherApi = CLAP_WINDOW_API_X11;
#else
constexpr const char* kApi = CLAP_WINDOW_API_X11;
constexpr const char* kOtherApi = CLAP_WINDOW_API_WIN32;
#endif

VstTimeInfo timeInfo{};

intptr_t VSTCALL vstHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetTime) return reinterpret_cast<intptr_t>(&timeInfo);
    return 0;
}

clap_window_t windowOf(void* handle) {
    clap_window_t window{};
    window.api = kApi;
#ifdef _WIN32
    window.win32 = handle;
#else
    window.x11 = static_cast<unsigned long>(reinterpret_cast<uintptr_t>(handle));
#endif
    return window;
}

TEST(ClapEditor, DrawsTheVst2EditorsPixelsInsideTheHostsLoop) {
    if (!windowsAvailable()) GTEST_SKIP() << "needs an X display";
    ClapInstance clap(builtLibrary());
    ASSERT_TRUE(clap.ok());
    const clap_plugin_t* plugin = clap.get();
    const auto* gui = clap.extension<clap_plugin_gui_t>(CLAP_EXT_GUI);
    const auto* timers = clap.extension<clap_plugin_timer_support_t>(CLAP_EXT_TIMER_SUPPORT);
    const auto* fds = clap.extension<clap_plugin_posix_fd_support_t>(CLAP_EXT_POSIX_FD_SUPPORT);
    ASSERT_TRUE(gui && timers && fds);
    EXPECT_TRUE(gui->is_api_supported(plugin, kApi, false));
    EXPECT_FALSE(gui->is_api_supported(plugin, kApi, true));
    EXPECT_FALSE(gui->is_api_supported(plugin, kOtherApi, false));
    const char* api = nullptr;
    bool floating = true;
    ASSERT_TRUE(gui->get_preferred_api(plugin, &api, &floating));
    EXPECT_STREQ(api, kApi);
    EXPECT_FALSE(floating);
    uint32_t width = 0, height = 0;
    EXPECT_FALSE(gui->get_size(plugin, &width, &height));  // before create
    ASSERT_TRUE(gui->create(plugin, kApi, false));
    EXPECT_FALSE(gui->create(plugin, kApi, false));  // one at a time
    ASSERT_EQ(clap.record.timers.size(), 1u);
    EXPECT_GE(clap.record.timerPeriod, 16u);
    EXPECT_LE(clap.record.timerPeriod, 33u);
    ASSERT_TRUE(gui->get_size(plugin, &width, &height));
    EXPECT_FALSE(gui->can_resize(plugin));

    PluginLoader loader;
    ASSERT_TRUE(loader.load(BRINDLE_PLUGIN_FILE)) << loader.error();
    AEffect* effect = loader.entry()(vstHost);
    ASSERT_NE(effect, nullptr);
    auto dispatch = [&](int32_t opcode, void* ptr = nullptr) {
        return effect->dispatcher(effect, opcode, 0, 0, ptr, 0.0f);
    };
    ERect* rect = nullptr;
    dispatch(effEditGetRect, &rect);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(width, static_cast<uint32_t>(rect->right - rect->left));
    EXPECT_EQ(height, static_cast<uint32_t>(rect->bottom - rect->top));

    const auto w = static_cast<int32_t>(width), h = static_cast<int32_t>(height);
    void* vstWindow = makeHostWindow(10, 10, w, h);
    void* clapWindow = makeHostWindow(10, h + 30, w, h);
    ASSERT_EQ(dispatch(effEditOpen, vstWindow), 1);
    const clap_window_t parent = windowOf(clapWindow);
    ASSERT_TRUE(gui->set_parent(plugin, &parent));
    ASSERT_TRUE(gui->show(plugin));
#ifndef _WIN32
    // The toolkit's X connection is watched by the host's loop from the first window on.
    ASSERT_EQ(clap.record.fds.size(), 1u);
    EXPECT_GE(clap.record.fds[0], 0);
#endif
    // A busy machine's X server may be slow to expose the windows: the host's loop turns until
    // both show their artwork (many colours), for a few seconds at most.
    auto painted = [&](void* window) {
        const std::vector<uint32_t> pixels = hostWindowPixels(window, w, h);
        return std::set<uint32_t>(pixels.begin(), pixels.end()).size() > 12;
    };
    auto settle = [&] {
        for (int round = 0; round < 250; ++round) {
            dispatch(effEditIdle);
            for (clap_id timer : clap.record.timers) timers->on_timer(plugin, timer);
            for (int fd : clap.record.fds) fds->on_fd(plugin, fd, CLAP_POSIX_FD_READ);
            pumpHostEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (round >= 11 && painted(vstWindow) && painted(clapWindow)) break;
        }
    };
    settle();
    const std::vector<uint32_t> vstPixels = hostWindowPixels(vstWindow, w, h);
    const std::vector<uint32_t> clapPixels = hostWindowPixels(clapWindow, w, h);
    ASSERT_EQ(vstPixels.size(), static_cast<size_t>(w * h));
    ASSERT_EQ(clapPixels.size(), vstPixels.size());
    size_t differing = 0;
    std::set<uint32_t> colours;
    for (size_t i = 0; i < vstPixels.size(); ++i) {
        differing += vstPixels[i] != clapPixels[i];
        colours.insert(clapPixels[i]);
    }
    EXPECT_EQ(differing, 0u);
    // The artwork, not an empty window: many colours.
    EXPECT_GT(colours.size(), 12u);
    std::printf("  editor %ux%u: %zu pixels compared with the VST 2 editor's, %zu differ\n", width, height,
                vstPixels.size(), differing);

    // A host scale: get_size follows, and the open window asks the host for the new size.
    ASSERT_TRUE(gui->set_scale(plugin, 2.0));
    uint32_t scaledWidth = 0, scaledHeight = 0;
    ASSERT_TRUE(gui->get_size(plugin, &scaledWidth, &scaledHeight));
    EXPECT_EQ(scaledWidth, 2 * width);
    EXPECT_EQ(scaledHeight, 2 * height);
    settle();
    EXPECT_GE(clap.record.resizeRequests, 1);
    EXPECT_EQ(clap.record.requestedWidth, scaledWidth);
    EXPECT_EQ(clap.record.requestedHeight, scaledHeight);
    EXPECT_FALSE(gui->set_scale(plugin, 0.0));
    EXPECT_FALSE(gui->set_scale(plugin, -1.0));
    ASSERT_TRUE(gui->set_scale(plugin, 1.0));

    // Hidden, the window goes and the connection is no longer watched; shown, both come back.
    EXPECT_TRUE(gui->hide(plugin));
    EXPECT_TRUE(clap.record.fds.empty());
    EXPECT_TRUE(gui->show(plugin));
    settle();
#ifndef _WIN32
    EXPECT_EQ(clap.record.fds.size(), 1u);
#endif
    gui->destroy(plugin);
    EXPECT_TRUE(clap.record.fds.empty());
    EXPECT_TRUE(clap.record.timers.empty());
    // A new editor on the same instance, and an instance destroyed with its editor still open.
    ASSERT_TRUE(gui->create(plugin, kApi, false));
    ASSERT_TRUE(gui->set_parent(plugin, &parent));
    settle();
    gui->destroy(plugin);
    {
        ClapInstance other(builtLibrary());
        ASSERT_TRUE(gui->create(other.get(), kApi, false));
        ASSERT_TRUE(gui->set_parent(other.get(), &parent));
    }

    dispatch(effEditClose);
    dispatch(effClose);
    destroyHostWindow(vstWindow);
    destroyHostWindow(clapWindow);
}

}  // namespace
