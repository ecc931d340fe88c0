// The plug-in loaded through its entry point, its host callback and the read-backs.
#include "LoadedEditor.h"

#include <cstdio>

#include "Gesture.h"
#include "engine/FreezeProgram.h"
#include "tools/loader/PluginLoader.h"

std::atomic<int32_t> hostIdleCalls{0};
std::function<void()> onHostIdle;

intptr_t VSTCALL testHostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterIdle) {
        ++hostIdleCalls;
        if (onHostIdle) onHostIdle();
    }
    return 0;
}

namespace {

// Loaded once and kept: hosts keep a plug-in library loaded across instances too.
PluginEntryProc pluginEntry() {
    static PluginLoader loader;
    static PluginEntryProc entry = [] {
        if (!loader.load(BRINDLE_PLUGIN_FILE)) {
            std::fprintf(stderr, "%s\n", loader.error().c_str());
            return PluginEntryProc{nullptr};
        }
        return loader.entry();
    }();
    return entry;
}

}  // namespace

void EditorHost::SetUp() {
    PluginEntryProc entry = pluginEntry();
    ASSERT_NE(entry, nullptr) << "no entry point in " << BRINDLE_PLUGIN_FILE;
    hostIdleCalls = 0;
    releaseButtons();
    effect = entry(testHostCallback);
    ASSERT_NE(effect, nullptr);
    ASSERT_EQ(effect->flags & effFlagsHasEditor, effFlagsHasEditor);
    dispatch(effOpen);
    hostWindow();
}

void EditorHost::TearDown() {
    onHostIdle = nullptr;
    if (effect == nullptr) return;
    close();
    dispatch(effClose);
    effect = nullptr;
    pumpUntil([] { return true; });
}

HWND EditorHost::editorWindow() const {
    const std::vector<HWND> found = pluginWindowsIn(hostWindow());
    return found.size() == 1 ? found.front() : nullptr;
}

void EditorHost::openAndShow() {
    ASSERT_EQ(open(), 1);
    ASSERT_NE(editorWindow(), nullptr);
    UpdateWindow(editorWindow());
    pumpUntil([] { return true; });
    idle();
}

Bank EditorHost::bank() {
    void* data = nullptr;
    const intptr_t size = dispatch(effGetChunk, 0, 0, &data);
    Bank result;
    if (data != nullptr && size == kBankChunkSize) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        result.bytes.assign(bytes, bytes + size);
    }
    return result;
}

void EditorHost::setBank(Bank& bank) {
    dispatch(effSetChunk, 0, static_cast<intptr_t>(bank.bytes.size()), bank.bytes.data());
}

Rgb EditorHost::pixel(int32_t x, int32_t y) const {
    HWND window = editorWindow();
    HDC dc = GetDC(window);
    const COLORREF ref = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return Rgb{GetRValue(ref), GetGValue(ref), GetBValue(ref)};
}
