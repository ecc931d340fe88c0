// Helpers of the editor tests.
#include "EditorTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gui/DrawContext.h"
#include "gui/x11/CairoPixels.h"

TestHost& testHost() {
    static TestHost host;
    return host;
}

intptr_t testHostCallback(AEffect*, int32_t opcode, int32_t index, intptr_t value, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterSizeWindow) {
        testHost().sizeAsked = Point{index, static_cast<int32_t>(value)};
        ++testHost().sizeCalls;
        return 1;
    }
    if (opcode == audioMasterIdle) {
        ++testHost().idleCalls;
        if (testHost().onIdle) testHost().onIdle();
    }
    return 0;
}

PressScript& PressScript::at(Point where, int32_t buttons) {
    const Point screen{where.h + EditorFixture::kScreen.h, where.v + EditorFixture::kScreen.v};
    samples.push_back({screen, buttons});
    return *this;
}

PressScript& PressScript::release() {
    const Point last = samples.empty() ? EditorFixture::kScreen : samples.back().screen;
    samples.push_back({last, 0});
    return *this;
}

void EditorFixture::SetUp() {
    // The user's zoom choice lives in a folder of this test's own, empty at the start.
    // Removed when the test program ends: one per test program would pile up in /tmp.
    static char folder[] = "/tmp/brindle-editor-tests-XXXXXX";
    static const std::string settings = [] {
        if (mkdtemp(folder) == nullptr) return std::string("/tmp");
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        return std::string(folder);
    }();
    setenv("XDG_CONFIG_HOME", settings.c_str(), 1);
    std::remove((settings + "/brindleLoop/settings.txt").c_str());
    headless::setScreenDpi(0.0);
    headless::enable();
    headless::useRealClock();
    headless::setPointer(kScreen, 0);
    testHost() = TestHost{};
    hostWindow = headless::createHostWindow(kScreen.h, kScreen.v, 600, 400);
    effect = new FreezeEffectEdit(testHostCallback);
    record = effect->getEffectRecord();
}

void EditorFixture::TearDown() {
    if (record != nullptr) {
        dispatch(effEditClose);
        dispatch(effClose);
    }
    headless::destroyHostWindow(hostWindow);
    headless::useRealClock();
    testHost() = TestHost{};
}

Color EditorFixture::pixel(int32_t x, int32_t y) const { return headless::pixel(frame()->getWindow(), x, y); }

namespace {

int32_t luminance(Color c) { return (299 * c.red + 587 * c.green + 114 * c.blue) / 1000; }

}  // namespace

bool EditorFixture::showsText(const Rect& box, const char* text, int32_t fontId, int32_t size, int32_t face,
                              Color color) const {
    cairo_surface_t* surface = x11port::createImage(box.width(), box.height());
    cairo_t* cairo = x11port::createCairo(surface);
    for (int32_t y = 0; y < box.height(); ++y) {
        for (int32_t x = 0; x < box.width(); ++x) {
            x11port::writePixel(surface, x, y, pixel(box.left + x, box.top + y));
        }
    }
    int32_t changed = 0;
    {
        DrawContext context(nullptr, cairo, nullptr);
        context.setFont(fontId, size, face);
        context.setTextColor(color);
        context.drawText(text, Rect{0, 0, box.width(), box.height()}, false, alignCenter);
    }
    cairo_surface_flush(surface);
    for (int32_t y = 0; y < box.height(); ++y) {
        for (int32_t x = 0; x < box.width(); ++x) {
            const Color before = pixel(box.left + x, box.top + y);
            const Color after = x11port::readPixel(surface, x, y);
            changed += std::abs(luminance(before) - luminance(after)) > 90 ? 1 : 0;
        }
    }
    x11port::destroyCairo(cairo);
    x11port::destroySurface(surface);
    return changed == 0;
}

void EditorFixture::press(const PressScript& script) {
    ASSERT_FALSE(script.samples.empty());
    // The press, a move for each later sample while held, the release at the first without a
    // button; the editor's next idle takes them all.
    void* window = frame()->getWindow();
    auto local = [](Point screen) { return Point{screen.h - kScreen.h, screen.v - kScreen.v}; };
    const headless::PointerState first = script.samples.front();
    headless::postButtonPress(window, local(first.screen), first.buttons);
    for (size_t i = 1; i < script.samples.size(); ++i) {
        const headless::PointerState& sample = script.samples[i];
        if ((sample.buttons & (buttonLeft | buttonMiddle | buttonRight)) == 0) {
            headless::postButtonRelease(window, local(sample.screen), sample.buttons);
            break;
        }
        headless::postMotion(window, local(sample.screen), sample.buttons);
    }
    frame()->idleRedraw();
    headless::setPointer(script.samples.back().screen, 0);
}
