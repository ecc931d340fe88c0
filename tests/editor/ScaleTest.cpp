// The editor at a screen's density: where the factor comes from, the window's size, the 1x
// picture in blocks at 2x, drags that mean the same at any scale, crisp text, the user's zoom.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "editor/MidiModePanel.h"
#include "editor/SliderBank.h"
#include "editor/StepPanel.h"
#include "editor/ZoomMenu.h"
#include "editor/ZoomSetting.h"
#include "gui/Scale.h"
#include "gui/x11/CairoPixels.h"

namespace {

constexpr Point kSliders{15, 10};
constexpr Point kSteps{15, 135};
constexpr Point kMidi{15, 240};

struct Screen {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<Color> pixels;
    Color at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

int32_t luminance(Color c) { return (299 * c.red + 587 * c.green + 114 * c.blue) / 1000; }

// The boxes text is drawn in (unscaled): text is rendered at each size, not enlarged.
std::vector<Rect> textBoxes() {
    std::vector<Rect> boxes;
    for (const Rect& slider : SliderBank::sliderRects) {
        boxes.push_back(slider);
        boxes.push_back(Rect{slider.left - 2, slider.bottom + 5, slider.right + 3, slider.bottom + 19});
    }
    for (const Rect& box : {SliderBank::meterRect, Rect{408, 100, 449, 114}, SliderBank::inverseRect,
                            SliderBank::preTypeRect, SliderBank::postTypeRect, Rect{260, 10, 290, 25},
                            Rect{360, 10, 390, 25}}) {
        boxes.push_back(box);
    }
    std::vector<Rect> inEditor;
    for (const Rect& box : boxes) inEditor.push_back(box.offset(kSliders.h, kSliders.v));
    for (int32_t i = 0; i < StepPanel::stepCount; ++i) inEditor.push_back(StepPanel::stepRect(i).offset(kSteps.h, kSteps.v));
    inEditor.push_back(StepPanel::lengthRect.offset(kSteps.h, kSteps.v));
    for (const Rect& box : MidiModePanel::switchRects) inEditor.push_back(box.offset(kMidi.h, kMidi.v));
    inEditor.push_back(Rect{370, 210, 495, 233});  // "?"
    return inEditor;
}

bool inAny(const std::vector<Rect>& boxes, int32_t x, int32_t y) {
    for (const Rect& box : boxes) {
        if (box.left <= x && x <= box.right && box.top <= y && y <= box.bottom) return true;
    }
    return false;
}

class EditorScale : public EditorFixture {
protected:
    Screen screen() {
        Screen s;
        const Point size = headless::windowSize(frame()->getWindow());
        s.width = size.h;
        s.height = size.v;
        for (int32_t y = 0; y < size.v; ++y)
            for (int32_t x = 0; x < size.h; ++x) s.pixels.push_back(pixel(x, y));
        return s;
    }
    // Opens (again) at the host's word factor and draws.
    void openAt(float factor) {
        dispatch(effEditClose);
        tellScale(factor);
        open();
        idle();
    }
};

TEST_F(EditorScale, TheFactorComesFromTheUserThenTheHostThenTheScreen) {
    const struct {
        int32_t zoom;     // the user's choice, 0 none
        float hostWord;   // NaN: none
        double dpi;       // Xft.dpi, 0 unset
        Point size;
    } cases[] = {
        {0, NAN, 0.0, {525, 300}},   {0, NAN, 96.0, {525, 300}},   {0, NAN, 192.0, {1050, 600}},
        {0, NAN, 144.0, {788, 450}}, {0, 1.25f, 192.0, {656, 375}}, {0, 1.75f, 0.0, {919, 525}},
        {0, NAN, 100.0, {525, 300}}, {0, NAN, 118.0, {656, 375}},   {0, NAN, 110.0, {604, 345}},
        {300, 2.0f, 192.0, {1575, 900}}, {100, 2.0f, 192.0, {525, 300}}, {150, NAN, 288.0, {788, 450}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("zoom " + std::to_string(c.zoom) + " host " + std::to_string(c.hostWord) + " dpi " +
                     std::to_string(c.dpi));
        dispatch(effEditClose);
        editor()->chooseZoom(c.zoom);
        headless::setScreenDpi(c.dpi);
        EXPECT_EQ(tellScale(c.hostWord), std::isnan(c.hostWord) ? 0 : 1);
        EXPECT_EQ(editorSize(), c.size);
        open();
        EXPECT_EQ(headless::windowSize(frame()->getWindow()), c.size);
        EXPECT_EQ(editorSize(), c.size);
    }
}

TEST_F(EditorScale, AHostsFactorIsKeptInRange) {
    const struct {
        float factor;
        intptr_t answer;
        Point size;
    } cases[] = {{NAN, 0, {525, 300}},        {0.0f, 0, {525, 300}},       {-2.0f, 0, {525, 300}},
                 {INFINITY, 0, {525, 300}},   {1e30f, 1, {1575, 900}},     {0.5f, 1, {525, 300}},
                 {1.5f, 1, {788, 450}},       {2.5f, 1, {1313, 750}},      {3.0f, 1, {1575, 900}},
                 // Near an offered zoom: that zoom; between them: as given.
                 {1.04f, 1, {525, 300}},      {1.3f, 1, {656, 375}},       {1.46f, 1, {788, 450}},
                 {1.1f, 1, {578, 330}},       {1.96f, 1, {1050, 600}},     {2.9f, 1, {1523, 870}}};
    for (const auto& c : cases) {
        tellScale(NAN);
        EXPECT_EQ(tellScale(c.factor), c.answer) << c.factor;
        EXPECT_EQ(editorSize(), c.size) << c.factor;
    }
    // Other vendor-specific requests are not the scale.
    EXPECT_EQ(dispatch(effVendorSpecific, fourCharCode('P', 'r', 'e', 'S'), 0, nullptr, 2.0f), 0);
}

TEST_F(EditorScale, AtScale2EveryPixelOutsideTextIsThe1xPixelInItsBlock) {
    openAt(1.0f);
    effect->plugin().setStepValue(3, 0.8f);
    record->setParameter(record, kParamSize, 0.7f);
    idle();
    const Screen one = screen();
    openAt(2.0f);
    const Screen two = screen();
    ASSERT_EQ(two.width, 1050);
    ASSERT_EQ(two.height, 600);
    const std::vector<Rect> text = textBoxes();
    int32_t compared = 0;
    int32_t differing = 0;
    for (int32_t y = 0; y < 300; ++y) {
        for (int32_t x = 0; x < 525; ++x) {
            if (inAny(text, x, y)) continue;
            ++compared;
            const Color want = one.at(x, y);
            bool same = true;
            for (int32_t dy = 0; dy < 2; ++dy)
                for (int32_t dx = 0; dx < 2; ++dx) same = same && two.at(2 * x + dx, 2 * y + dy) == want;
            if (!same && differing++ < 5) ADD_FAILURE() << "pixel " << x << "," << y;
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(compared, 80000);
}

TEST_F(EditorScale, DragsGiveTheSameValuesAtEveryScale) {
    // Editor points (unscaled) pressed at the first device pixel of their block.
    const struct {
        const char* what;
        Point where;
        std::function<float(FreezeEffectEdit&)> read;
    } cases[] = {
        {"slider row 12", {kSliders.h + 40, kSliders.v + 12}, [](FreezeEffectEdit& e) { return e.plugin().getProgramValue(1); }},
        {"slider row 56", {kSliders.h + 40, kSliders.v + 56}, [](FreezeEffectEdit& e) { return e.plugin().getProgramValue(1); }},
        {"slider row 99", {kSliders.h + 40, kSliders.v + 99}, [](FreezeEffectEdit& e) { return e.plugin().getProgramValue(1); }},
        {"meter", {kSliders.h + 420, kSliders.v + 37}, [](FreezeEffectEdit& e) { return e.plugin().getThreshold(); }},
        {"step", {kSteps.h + StepPanel::stepRect(4).left + 9, kSteps.v + 31},
         [](FreezeEffectEdit& e) { return e.plugin().getStepValue(4); }},
        {"length", {kSteps.h + StepPanel::lengthRect.left + 9, kSteps.v + 60},
         [](FreezeEffectEdit& e) { return e.plugin().getSequenceLengthValue(); }},
    };
    std::vector<float> atOne;
    for (const float factor : {1.0f, 1.25f, 1.5f, 1.75f, 2.0f, 2.5f, 3.0f}) {
        SCOPED_TRACE("scale " + std::to_string(factor));
        openAt(factor);
        const Scale scale = Scale::fromFactor(factor);
        for (size_t i = 0; i < std::size(cases); ++i) {
            const auto& c = cases[i];
            // Dragged in from elsewhere in the zone, released on the point.
            const Point start = scale.device(Point{c.where.h, c.where.v + 3});
            const Point end = scale.device(c.where);
            press(PressScript().at(start).at(Point{scale.device(c.where.h + 1) - 1, end.v}).release());
            const float value = c.read(*effect);
            if (factor == 1.0f) {
                atOne.push_back(value);
            } else {
                EXPECT_FLOAT_EQ(value, atOne[i]) << c.what;
            }
        }
    }
}

TEST_F(EditorScale, TextAt2IsRenderedThereNotEnlarged) {
    openAt(2.0f);
    // Inside the "Threshold" label, columns 2x and 2x + 1 of one unscaled pixel differ where a
    // glyph's edge falls between them; an enlarged 1x text never has such an edge.
    const Rect label = Rect{408, 100, 449, 114}.offset(kSliders.h, kSliders.v);
    const Screen two = screen();
    int32_t insideBlocks = 0;
    for (int32_t y = 2 * label.top + 2; y < 2 * label.bottom - 2; ++y) {
        for (int32_t x = label.left + 1; x < label.right - 1; ++x) {
            insideBlocks += std::abs(luminance(two.at(2 * x, y)) - luminance(two.at(2 * x + 1, y))) > 60 ? 1 : 0;
        }
    }
    EXPECT_GT(insideBlocks, 20);
    EXPECT_TRUE(showsText(Rect{label.left * 2, label.top * 2, label.right * 2, label.bottom * 2}, "Threshold", 6,
                          18, 0, colorBlack));
}

TEST_F(EditorScale, ASizeAnsweredBeforeTheOpenThatTheWindowDoesNotHaveIsCorrected) {
    // The host asks the size, then opens the window on a screen of another density.
    const struct {
        double dpiAsked;
        double dpiOpened;
        Point answered;
        Point opened;
        bool told;
    } cases[] = {{96.0, 192.0, {525, 300}, {1050, 600}, true},
                 {144.0, 96.0, {788, 450}, {525, 300}, true},
                 {144.0, 144.0, {788, 450}, {788, 450}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpiOpened);
        dispatch(effEditClose);
        headless::setScreenDpi(c.dpiAsked);
        EXPECT_EQ(editorSize(), c.answered);
        headless::setScreenDpi(c.dpiOpened);
        const int32_t told = testHost().sizeCalls;
        open();
        EXPECT_EQ(headless::windowSize(frame()->getWindow()), c.opened);
        EXPECT_EQ(testHost().sizeCalls - told, c.told ? 1 : 0);
        if (c.told) {
            EXPECT_EQ(testHost().sizeAsked, c.opened);
        }
        idle();
        EXPECT_EQ(testHost().sizeCalls - told, c.told ? 1 : 0);  // told once
    }
    headless::setScreenDpi(0.0);
}

TEST_F(EditorScale, AChangeWhileOpenResizesTheWindowAtTheNextIdle) {
    open();
    idle();
    EXPECT_EQ(tellScale(1.5f), 1);
    EXPECT_EQ(headless::windowSize(frame()->getWindow()), (Point{525, 300}));
    idle();
    EXPECT_EQ(headless::windowSize(frame()->getWindow()), (Point{788, 450}));
    EXPECT_EQ(testHost().sizeAsked, (Point{788, 450}));
    EXPECT_EQ(frame()->viewCount(), 6);
    // Nothing changes while the sources agree with the window.
    const int32_t asked = testHost().sizeCalls;
    idle();
    tellScale(1.5f);
    idle();
    EXPECT_EQ(testHost().sizeCalls, asked);
}

TEST_F(EditorScale, TheZoomPickedInTheEditorIsKeptForEveryInstance) {
    tellScale(2.0f);
    open();
    idle();
    // A right click on the product's name at 2x opens the menu; a click on "150 %" picks it.
    const Point name{2 * 430, 2 * 280};
    press(PressScript().at(name, buttonRight).release());
    ASSERT_NE(editor()->getZoomMenu(), nullptr);
    ASSERT_TRUE(editor()->getZoomMenu()->isOpen());
    const Rect row = editor()->getZoomMenu()->rowOf(150);
    press(PressScript().at(Point{2 * (row.left + 20), 2 * (row.top + 5)}).release());
    EXPECT_FALSE(editor()->getZoomMenu()->isOpen());
    EXPECT_EQ(zoomSetting::read(), 150);
    idle();
    EXPECT_EQ(headless::windowSize(frame()->getWindow()), (Point{788, 450}));
    EXPECT_EQ(testHost().sizeAsked, (Point{788, 450}));
    // A second instance opens at the user's zoom, whatever its host says.
    FreezeEffectEdit second(testHostCallback);
    AEffect* secondRecord = second.getEffectRecord();
    secondRecord->dispatcher(secondRecord, effVendorSpecific, fourCharCode('P', 'r', 'e', 'S'),
                             fourCharCode('A', 'e', 'C', 's'), nullptr, 3.0f);
    ERect* rect = nullptr;
    secondRecord->dispatcher(secondRecord, effEditGetRect, 0, 0, &rect, 0.0f);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right, 788);
    EXPECT_EQ(rect->bottom, 450);
    // A left click elsewhere on the background opens nothing.
    press(PressScript().at(Point{300 * 3 / 2, 270 * 3 / 2}).release());
    EXPECT_FALSE(editor()->getZoomMenu()->isOpen());
}

}  // namespace

namespace {

void writePng(const Screen& s, const std::string& path) {
    cairo_surface_t* image = x11port::createImage(s.width, s.height);
    for (int32_t y = 0; y < s.height; ++y)
        for (int32_t x = 0; x < s.width; ++x) x11port::writePixel(image, x, y, s.at(x, y));
    cairo_surface_write_to_png(image, path.c_str());
    x11port::destroySurface(image);
}

TEST_F(EditorScale, APartialRepaintEqualsAFullPaintAtEveryFactor) {
    // The host repaints the window in pieces (a dialog moved over it): at factors between the
    // artwork's, each piece must show what a full paint shows, to the level. With
    // BRINDLE_EDITOR_SHOTS naming a folder, both pictures are written there as PNG files.
    const char* shots = std::getenv("BRINDLE_EDITOR_SHOTS");
    for (float factor : {1.25f, 1.5f, 1.75f, 2.5f}) {
        SCOPED_TRACE(factor);
        openAt(factor);
        const Screen full = screen();
        // Tiles of odd sizes at odd places, as exposures come.
        for (int32_t y = 0; y < full.height; y += 37)
            for (int32_t x = 0; x < full.width; x += 53)
                headless::postExpose(frame()->getWindow(), Rect{x, y, x + 53, y + 37});
        idle();
        const Screen partial = screen();
        int32_t differing = 0;
        int32_t worst = 0;
        for (size_t i = 0; i < full.pixels.size(); ++i) {
            const Color a = full.pixels[i];
            const Color b = partial.pixels[i];
            const int32_t levels = std::max({std::abs(a.red - b.red), std::abs(a.green - b.green),
                                             std::abs(a.blue - b.blue)});
            differing += levels > 0 ? 1 : 0;
            worst = std::max(worst, levels);
        }
        EXPECT_EQ(differing, 0) << "worst by " << worst << " levels";
        if (shots != nullptr) {
            const std::string name = std::string(shots) + "/editor-linux-" +
                                     std::to_string(Scale::fromFactor(factor).percent());
            writePng(full, name + "-full.png");
            writePng(partial, name + "-partial.png");
        }
    }
}

}  // namespace
