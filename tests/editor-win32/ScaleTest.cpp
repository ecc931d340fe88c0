// The DLL's editor at the host's scale 2 under GDI: the window's size, the 1x pixels in their
// blocks outside text, drags at scaled points giving the 1x values, and text rendered at 2x.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "EditorLayout.h"
#include "Gesture.h"
#include "LoadedEditor.h"

namespace {

using namespace layout;

constexpr int32_t kScaleCode = ('P' << 24) | ('r' << 16) | ('e' << 8) | 'S';
constexpr int32_t kScaleValue = ('A' << 24) | ('e' << 16) | ('C' << 8) | 's';

int32_t luminance(const Rgb& c) { return (299 * c.r + 587 * c.g + 114 * c.b) / 1000; }

// Where text is drawn (editor pixels, both ends inside): rendered at each size, not compared.
std::vector<RECT> textBoxes() {
    std::vector<RECT> boxes;
    auto add = [&](RECT local, POINT origin) {
        boxes.push_back(RECT{local.left + origin.x, local.top + origin.y, local.right + origin.x, local.bottom + origin.y});
    };
    for (const int32_t left : kSliderLefts) {
        add(RECT{left, kSliderTop, left + kSliderWidth, kSliderBottom}, kSliders);
        add(RECT{left - 2, kSliderBottom + 5, left + kSliderWidth + 3, kSliderBottom + 19}, kSliders);
    }
    for (const RECT& box : {kMeter, RECT{408, 100, 449, 114}, kInverse, kPreType, kPostType, RECT{260, 10, 290, 25},
                            RECT{360, 10, 390, 25}}) {
        add(box, kSliders);
    }
    for (int32_t i = 0; i < 16; ++i) boxes.push_back(RECT{stepLeft(i), kSteps.y + 5, stepLeft(i) + 18, kSteps.y + 95});
    add(kLength, kSteps);
    for (const RECT& box : kSwitches) add(box, kMidi);
    boxes.push_back(RECT{370, 210, 495, 233});
    return boxes;
}

bool inAny(const std::vector<RECT>& boxes, int32_t x, int32_t y) {
    for (const RECT& box : boxes) {
        if (box.left <= x && x <= box.right && box.top <= y && y <= box.bottom) return true;
    }
    return false;
}

class EditorScale : public EditorHost {
protected:
    void SetUp() override {
        EditorHost::SetUp();
        // Room for the 2x window in the host's.
        SetWindowPos(hostWindow(), nullptr, 0, 0, 1100, 650, SWP_NOMOVE | SWP_NOZORDER);
        pumpUntil([] { return true; });
    }
    void TearDown() override {
        EditorHost::TearDown();
        SetWindowPos(hostWindow(), nullptr, 0, 0, 600, 400, SWP_NOMOVE | SWP_NOZORDER);
        pumpUntil([] { return true; });
    }
    void openAt(float factor) {
        close();
        EXPECT_EQ(dispatch(effVendorSpecific, kScaleCode, kScaleValue, nullptr, factor), 1);
        openAndShow();
        idle();
    }
};

TEST_F(EditorScale, At2TheWindowIs1050By600AndShowsThe1xPixelsInBlocks) {
    openAt(1.0f);
    const WindowImage one = capture(editorWindow(), 525, 300);
    openAt(2.0f);
    ERect* rect = nullptr;
    dispatch(effEditGetRect, 0, 0, &rect);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 1050);
    EXPECT_EQ(rect->bottom - rect->top, 600);
    RECT client{};
    GetClientRect(editorWindow(), &client);
    EXPECT_EQ(client.right, 1050);
    EXPECT_EQ(client.bottom, 600);
    const WindowImage two = capture(editorWindow(), 1050, 600);
    const std::vector<RECT> text = textBoxes();
    int32_t differing = 0;
    for (int32_t y = 0; y < 300; ++y) {
        for (int32_t x = 0; x < 525; ++x) {
            if (inAny(text, x, y)) continue;
            for (int32_t d = 0; d < 4; ++d) {
                if (two.at(2 * x + d % 2, 2 * y + d / 2) != one.at(x, y) && differing++ < 5) {
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << two.at(2 * x + d % 2, 2 * y + d / 2)
                                  << " instead of " << one.at(x, y);
                }
            }
        }
    }
    EXPECT_EQ(differing, 0);
    // Text rendered at 2x: glyph edges fall between the two columns of one unscaled pixel.
    int32_t insideBlocks = 0;
    for (int32_t y = 2 * (kSliders.y + 100) + 2; y < 2 * (kSliders.y + 114) - 2; ++y) {
        for (int32_t x = kSliders.x + 409; x < kSliders.x + 448; ++x) {
            insideBlocks += std::abs(luminance(two.at(2 * x, y)) - luminance(two.at(2 * x + 1, y))) > 60 ? 1 : 0;
        }
    }
    EXPECT_GT(insideBlocks, 20);
}

TEST_F(EditorScale, DragsAtScaledPointsGiveThe1xValues) {
    openAt(2.0f);
    const struct {
        int32_t slider;
        std::vector<int32_t> rows;
        float expected;
    } cases[] = {{0, {99}, 0.0f}, {4, {2, 56}, 43.0f / 87.0f}, {7, {99, 56, 12}, 1.0f}, {10, {13}, 86.0f / 87.0f}};
    for (const auto& c : cases) {
        setParameter(parameterOf(c.slider), 0.77f);
        Gesture gesture;
        // The second device pixel of each block: still the same unscaled pixel.
        gesture.press(POINT{2 * sliderX(c.slider) + 1, 2 * (kSliders.y + c.rows.front()) + 1});
        for (size_t i = 1; i < c.rows.size(); ++i)
            gesture.moveTo(POINT{2 * sliderX(c.slider), 2 * (kSliders.y + c.rows[i])});
        ASSERT_TRUE(gesture.play()) << "slider " << c.slider;
        EXPECT_FLOAT_EQ(parameter(parameterOf(c.slider)), c.expected) << "slider " << c.slider;
    }
}

TEST_F(EditorScale, APartialRepaintEqualsAFullPaintAtEveryFactor) {
    // Pieces of the window invalidated and painted by WM_PAINT show what a full paint shows.
    for (float factor : {1.25f, 1.5f, 1.75f}) {
        SCOPED_TRACE(factor);
        openAt(factor);
        ERect* rect = nullptr;
        dispatch(effEditGetRect, 0, 0, &rect);
        ASSERT_NE(rect, nullptr);
        const int32_t width = rect->right - rect->left;
        const int32_t height = rect->bottom - rect->top;
        const WindowImage full = capture(editorWindow(), width, height);
        for (int32_t y = 0; y < height; y += 37) {
            for (int32_t x = 0; x < width; x += 53) {
                const RECT piece{x, y, x + 53, y + 37};
                InvalidateRect(editorWindow(), &piece, FALSE);
                UpdateWindow(editorWindow());
            }
        }
        pumpUntil([] { return true; });
        const WindowImage partial = capture(editorWindow(), width, height);
        int32_t differing = 0;
        int32_t worst = 0;
        for (size_t i = 0; i < full.pixels.size(); ++i) {
            const Rgb& a = full.pixels[i];
            const Rgb& b = partial.pixels[i];
            const int32_t levels = std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
            differing += levels > 0 ? 1 : 0;
            worst = std::max(worst, levels);
        }
        EXPECT_EQ(differing, 0) << "worst by " << worst << " levels";
    }
}

// The window at the scale BRINDLE_EDITOR_SCALE, written to BRINDLE_EDITOR_PPM (screenshots).
TEST_F(EditorScale, WindowAtAScaleOnRequest) {
    const char* path = std::getenv("BRINDLE_EDITOR_PPM");
    const char* factor = std::getenv("BRINDLE_EDITOR_SCALE");
    if (path == nullptr || factor == nullptr) GTEST_SKIP() << "BRINDLE_EDITOR_PPM and BRINDLE_EDITOR_SCALE are not set";
    openAt(static_cast<float>(std::atof(factor)));
    ERect* rect = nullptr;
    dispatch(effEditGetRect, 0, 0, &rect);
    ASSERT_NE(rect, nullptr);
    ASSERT_TRUE(writePpm(capture(editorWindow(), rect->right - rect->left, rect->bottom - rect->top), path)) << path;
}

}  // namespace
