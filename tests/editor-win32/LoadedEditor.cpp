// The plug-in loaded through its entry point, the host's windows and the read-backs.
#include "LoadedEditor.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "Gesture.h"
#include "engine/FreezeProgram.h"
#include "tools/loader/PluginLoader.h"

std::atomic<int32_t> hostIdleCalls{0};
std::function<void()> onHostIdle;

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

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

const char* hostClass() {
    static const char* name = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "BrindleEditorHost";
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassA(&windowClass);
        return "BrindleEditorHost";
    }();
    return name;
}

BOOL CALLBACK collectPluginWindow(HWND window, LPARAM found) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::strncmp(name, "Plugin", 6) == 0) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

BOOL CALLBACK countWindow(HWND window, LPARAM count) {
    ++*reinterpret_cast<int32_t*>(count);
    EnumChildWindows(window, countWindow, count);
    return TRUE;
}

}  // namespace

HWND makeTopLevelWindow() {
    HWND window = CreateWindowExA(WS_EX_TOPMOST, hostClass(), "brindleLoop host",
                                  WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, kEditorOnScreen.x,
                                  kEditorOnScreen.y, 600, 400, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(window);
    pumpUntil([] { return true; });
    return window;
}

HWND hostWindow() {
    static HWND window = makeTopLevelWindow();
    return window;
}

std::vector<HWND> pluginWindowsIn(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, collectPluginWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

int32_t threadWindowCount() {
    int32_t count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

WindowImage capture(HWND window, int32_t width, int32_t height) {
    WindowImage image;
    image.width = width;
    image.height = height;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC windowDc = GetDC(window);
    HDC memory = CreateCompatibleDC(windowDc);
    HBITMAP section = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory != nullptr && section != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(memory, section);
        BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* words = static_cast<const uint32_t*>(bits);
        image.pixels.reserve(static_cast<size_t>(width * height));
        for (int32_t i = 0; i < width * height; ++i) {
            const uint32_t p = words[i];
            image.pixels.push_back(Rgb{uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
        }
        SelectObject(memory, previous);
    }
    if (section != nullptr) DeleteObject(section);
    if (memory != nullptr) DeleteDC(memory);
    ReleaseDC(window, windowDc);
    if (image.pixels.empty()) image.pixels.assign(static_cast<size_t>(width * height), Rgb{});
    return image;
}

bool writePpm(const WindowImage& image, const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    std::fprintf(file, "P6\n%d %d\n255\n", image.width, image.height);
    for (const Rgb& p : image.pixels) {
        const unsigned char rgb[3] = {p.r, p.g, p.b};
        std::fwrite(rgb, 1, 3, file);
    }
    return std::fclose(file) == 0;
}

namespace {

template <typename T>
T readAt(const std::vector<unsigned char>& bytes, size_t offset) {
    T value{};
    if (offset + sizeof value <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

size_t programAt(int32_t program) { return static_cast<size_t>(program) * kPresetChunkSize; }

}  // namespace

float Bank::step(int32_t i) const { return readAt<float>(bytes, kBankStepsOffset + 4 * static_cast<size_t>(i)); }

float Bank::sequenceLength(int32_t program) const {
    return readAt<float>(bytes, programAt(program) + offsetof(FreezeProgram, sequenceLengthValue));
}

int32_t Bank::preFilterType(int32_t program) const {
    return readAt<int32_t>(bytes, programAt(program) + offsetof(FreezeProgram, preFilterType));
}

int32_t Bank::postFilterType(int32_t program) const {
    return readAt<int32_t>(bytes, programAt(program) + offsetof(FreezeProgram, postFilterType));
}

bool Bank::midiFlag(int32_t i) const { return readAt<unsigned char>(bytes, kBankFlagsOffset + static_cast<size_t>(i)) != 0; }

void Bank::setStep(int32_t i, float value) {
    std::memcpy(bytes.data() + kBankStepsOffset + 4 * i, &value, sizeof value);
}

void Bank::setMidiFlag(int32_t i, bool on) { bytes[static_cast<size_t>(kBankFlagsOffset + i)] = on ? 1 : 0; }

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
